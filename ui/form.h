// A top-level window run by the dialog manager (DefDlgProc), so Tab, Enter,
// Esc, access keys and default buttons behave as in any Windows dialog.
// Each window class of the program derives from Form, lays its controls out
// from one table in twips, and handles its own events.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/handles.h"

namespace ui {

enum class Kind { Label, TextBox, Button, Picture };

// A place inside a window's client area, in twips (1/1440 inch).
struct Twips {
  int left, top, width, height;
};

// One row of a window's layout table, written with designated initializers.
// Places are scaled with the window's DPI at creation and on every DPI change.
struct ControlRow {
  int id;
  Kind kind;
  const wchar_t* text = L"";
  Twips at;
  DWORD style = 0;                  // extra WS_/ES_/BS_/SS_ bits
  bool ownFont = false;             // Tahoma 8.25 pt rather than the window's default
  const wchar_t* tooltip = nullptr;
  int maxLength = 0;                // text boxes: 0 keeps the control's default
  const wchar_t* accessibleName = nullptr;  // for screen readers, where the caption says too little
};

struct WindowLayout {
  const wchar_t* caption;
  DWORD style;
  DWORD exStyle;
  int width, height;   // twips
  bool outerSize;      // true: width and height include the frame
};

class Form {
 public:
  Form(const WindowLayout& window, std::span<const ControlRow> controls);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window and its controls and runs Form_Load; hidden.
  void Load(HWND owner);
  // Shows a loaded window centred (on its owner if any, else on the screen)
  // with the focus on the first tab stop; its tooltips follow shortly.
  void Show();
  // Raises Form_Unload and, unless cancelled, destroys the window.
  void Unload();

  bool IsLoaded() const { return hwnd_ != nullptr; }
  HWND hWnd() const { return hwnd_; }
  int Dpi() const { return dpi_; }
  int Px(int twips) const { return MulDiv(twips, dpi_, kTwipsPerInch); }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  // The layout table the controls were placed from.
  std::span<const ControlRow> Rows() const { return rows_; }
  // Every control of the window, in tab order.
  std::vector<HWND> Controls() const;

  // Outer height of the window in twips; the top-left corner stays put.
  void SetOuterHeight(int twips);

  static constexpr int kTwipsPerInch = 1440;

  friend bool RegisterFormClass(HINSTANCE instance);
  friend void ShowModal(Form& form, HWND owner);

 protected:
  virtual void Form_Load() {}
  virtual void Form_Unload(bool& cancel) { (void)cancel; }
  virtual void OnCommand(int id, int code) { (void)id; (void)code; }
  // Characters typed into a text box, before the box sees them; set the
  // character to 0 to drop it.
  virtual void OnKeyPress(int id, short& keyAscii) { (void)id; (void)keyAscii; }
  // Whether a close request from the frame may unload the window now.
  virtual bool CanClose() { return true; }
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
  // Background colour of a text box or label; CLR_INVALID keeps the default.
  virtual COLORREF ControlBackColor(int id) { (void)id; return CLR_INVALID; }
  bool hasIcon_ = false;  // program icon on the frame; set before Load

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK TextBoxProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void CreateControls();
  void CreateTooltips();
  void ApplyDpi(int dpi);
  void PlaceControls();
  HFONT FontOf(const ControlRow& c) const { return (c.ownFont ? ownFont_ : defaultFont_).get(); }
  void CreateFonts();
  void ReleaseResources();
  void CenterOn(HWND other);
  LRESULT ColorControl(HDC dc, HWND control);
  void SetIcons();

  WindowLayout window_;
  std::span<const ControlRow> rows_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  int dpi_ = 96;
  FontPtr ownFont_;
  FontPtr defaultFont_;
  BrushPtr backBrush_;
  COLORREF backColor_ = CLR_INVALID;
  HWND modalOwner_ = nullptr;
  std::vector<IconPtr> icons_;
};

// Registers the window class that every Form uses; call once at start-up.
// False when it cannot be registered (GetLastError says why); a class that
// is registered already is no failure.
bool RegisterFormClass(HINSTANCE instance);

// Loads and shows a form modally over its owner: the owner takes no input
// until the form is unloaded. Returns when it is.
void ShowModal(Form& form, HWND owner);

// The program's message loop; returns the exit code of WM_QUIT.
int RunMessageLoop();

// Hands one message on as every loop of the program does: dialog navigation
// first, then translation and the window procedure.
void Deliver(MSG& msg);

}  // namespace ui
