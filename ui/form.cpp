#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "resources/resource_ids.h"
#include "ui/accessible.h"

namespace ui {
namespace {

constexpr wchar_t kFormClass[] = L"QuadsumForm";

// A tooltip shows only after the pointer has rested on its control for half
// a second, so the tooltips can wait this long after the window is shown,
// until start-up is over.
constexpr UINT kTooltipDelayMs = 100;
constexpr UINT_PTR kTooltipTimer = 1;

// Functions that older Windows lacks are looked up at run time, so the
// program still starts there (at the system DPI).
template <class F>
F UserFunction(const char* name) {
  return ModuleFunction<F>(GetModuleHandleW(L"user32.dll"), name);
}

int SystemDpi() { return GetDeviceCaps(ScopedGetDC(nullptr), LOGPIXELSY); }

int WindowDpi(HWND hwnd) {
  static const auto getDpiForWindow = UserFunction<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = (getDpiForWindow && hwnd) ? getDpiForWindow(hwnd) : 0;
  return dpi ? static_cast<int>(dpi) : SystemDpi();
}

SIZE OuterSize(const WindowLayout& w, int dpi) {
  RECT r{0, 0, MulDiv(w.width, dpi, Form::kTwipsPerInch), MulDiv(w.height, dpi, Form::kTwipsPerInch)};
  if (w.outerSize) return {r.right, r.bottom};
  static const auto adjustForDpi =
      UserFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (adjustForDpi) {
    adjustForDpi(&r, w.style, FALSE, w.exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&r, w.style, FALSE, w.exStyle);
  }
  return {r.right - r.left, r.bottom - r.top};
}

const wchar_t* ClassOf(Kind kind) {
  switch (kind) {
    case Kind::TextBox: return WC_EDITW;
    case Kind::Button: return WC_BUTTONW;
    default: return WC_STATICW;
  }
}

DWORD StyleOf(const ControlRow& c) {
  const DWORD style = WS_CHILD | WS_VISIBLE | c.style;
  switch (c.kind) {
    case Kind::Label: return style | SS_LEFTNOWORDWRAP;  // a caption one pixel too wide clips, never wraps away
    case Kind::TextBox: return style | ES_AUTOHSCROLL;
    case Kind::Button: return style;
    case Kind::Picture: return style | SS_ICON | SS_NOTIFY | SS_CENTERIMAGE;
  }
  return style;
}

IconPtr LoadProgramIcon(int size) {
  return IconPtr(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUADSUM),
                                               IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

bool IsForm(HWND hwnd) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return lstrcmpW(name, kFormClass) == 0;
}

// Keyboard navigation for the form that owns the message; true when consumed.
bool PreTranslate(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  return root && IsForm(root) && IsDialogMessageW(root, &msg);
}

FontPtr CreateFontPt(const wchar_t* face, int centiPoints, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(centiPoints, dpi, 7200);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return FontPtr(CreateFontIndirectW(&lf));
}

// The system's message font, the one dialogs use when they name none: for
// the window's DPI where the system can say, else scaled from the system DPI.
FontPtr CreateDefaultFont(int dpi) {
  static const auto forDpi =
      UserFunction<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0, static_cast<UINT>(dpi))) {
    return FontPtr(CreateFontIndirectW(&ncm.lfMessageFont));
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
    return CreateFontPt(L"MS Shell Dlg", 800, dpi);
  }
  ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, dpi, SystemDpi());
  return FontPtr(CreateFontIndirectW(&ncm.lfMessageFont));
}

}  // namespace

Form::Form(const WindowLayout& window, std::span<const ControlRow> controls)
    : window_(window), rows_(controls) {}

Form::~Form() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool RegisterFormClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Form::WindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager keeps its state here
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  wc.lpszClassName = kFormClass;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    form->hwnd_ = hwnd;
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefDlgProcW(hwnd, msg, wParam, lParam);
  const LRESULT result = form->HandleMessage(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
    form->tooltip_ = nullptr;
    form->ReleaseResources();  // the window and its controls no longer use them
  }
  return result;
}

LRESULT Form::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      if (CanClose()) Unload();
      return 0;
    case WM_ENDSESSION:
      if (wParam) Unload();  // shutdown ends the program as Close does
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (const LRESULT brush = ColorControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return brush;
      }
      break;
    case WM_TIMER:
      if (wParam != kTooltipTimer) break;
      KillTimer(hwnd_, kTooltipTimer);
      CreateTooltips();
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const RECT* r = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
  }
  return Default(msg, wParam, lParam);
}

LRESULT Form::ColorControl(HDC dc, HWND control) {
  const COLORREF color = ControlBackColor(GetDlgCtrlID(control));
  if (color == CLR_INVALID) return 0;
  if (color != backColor_) {
    backBrush_.reset(CreateSolidBrush(color));
    backColor_ = color;
  }
  SetBkColor(dc, color);
  return reinterpret_cast<LRESULT>(backBrush_.get());
}

void Form::Load(HWND owner) {
  if (hwnd_) return;
  dpi_ = owner ? WindowDpi(owner) : SystemDpi();
  const SIZE size = OuterSize(window_, dpi_);
  CreateWindowExW(window_.exStyle, kFormClass, window_.caption, window_.style, CW_USEDEFAULT,
                  CW_USEDEFAULT, size.cx, size.cy, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  const int actual = WindowDpi(hwnd_);
  if (actual != dpi_) {
    dpi_ = actual;
    const SIZE scaled = OuterSize(window_, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, scaled.cx, scaled.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateFonts();
  CreateControls();
  SetIcons();
  Form_Load();
}

void Form::Show() {
  if (!hwnd_) return;
  CenterOn(GetWindow(hwnd_, GW_OWNER));
  ShowWindow(hwnd_, SW_SHOW);
  if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) {
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  }
  if (!tooltip_ && std::ranges::any_of(rows_, &ControlRow::tooltip)) {
    SetTimer(hwnd_, kTooltipTimer, kTooltipDelayMs, nullptr);  // once: a second call resets it
  }
}

void Form::Unload() {
  if (!hwnd_) return;
  bool cancel = false;
  Form_Unload(cancel);
  if (cancel || !hwnd_) return;
  // Give the owner its input back first, so Windows activates it rather than
  // some other program when this window goes.
  if (modalOwner_) EnableWindow(modalOwner_, TRUE);
  DestroyWindow(hwnd_);
}

std::vector<HWND> Form::Controls() const {
  std::vector<HWND> controls;
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
  return controls;
}

void Form::SetOuterHeight(int twips) {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, Px(twips),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Each control is made in its place and with its font while the window is
// hidden: moving and re-fonting them afterwards cost start-up time.
void Form::CreateControls() {
  for (const ControlRow& c : rows_) {
    HWND control = CreateWindowExW(c.kind == Kind::TextBox ? WS_EX_CLIENTEDGE : 0, ClassOf(c.kind),
                                   c.text, StyleOf(c), Px(c.at.left), Px(c.at.top), Px(c.at.width),
                                   Px(c.at.height), hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c)), FALSE);
    if (c.kind == Kind::TextBox) {
      SetWindowSubclass(control, TextBoxProc, static_cast<UINT_PTR>(c.id), reinterpret_cast<DWORD_PTR>(this));
      if (c.maxLength > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(c.maxLength), 0);
    }
    if (c.accessibleName) SetAccessibleName(control, c.accessibleName);
  }
}

void Form::CreateTooltips() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
  for (const ControlRow& c : rows_) {
    if (!c.tooltip) continue;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(c.id));
    tool.lpszText = const_cast<wchar_t*>(c.tooltip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Form::PlaceControls() {
  for (const ControlRow& c : rows_) {
    SetWindowPos(Item(c.id), nullptr, Px(c.at.left), Px(c.at.top), Px(c.at.width), Px(c.at.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(Item(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c)), TRUE);
  }
}

// The icons in use are kept until their replacements are set.
void Form::SetIcons() {
  if (!hasIcon_) return;
  std::vector<IconPtr> icons;
  icons.push_back(LoadProgramIcon(GetSystemMetrics(SM_CXICON)));
  icons.push_back(LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons[0].get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons[1].get()));
  for (const ControlRow& c : rows_) {
    if (c.kind != Kind::Picture) continue;
    icons.push_back(LoadProgramIcon(Px(c.at.width)));
    SendMessageW(Item(c.id), STM_SETICON, reinterpret_cast<WPARAM>(icons.back().get()), 0);
  }
  icons_ = std::move(icons);
}

void Form::CreateFonts() {
  ownFont_ = CreateFontPt(L"Tahoma", 825, dpi_);
  defaultFont_ = CreateDefaultFont(dpi_);
}

void Form::ReleaseResources() {
  ownFont_.reset();
  defaultFont_.reset();
  icons_.clear();
  backBrush_.reset();
  backColor_ = CLR_INVALID;
}

void Form::ApplyDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  // The fonts in use, like the icons, are kept until the controls have
  // their replacements.
  const FontPtr oldOwn = std::move(ownFont_), oldDefault = std::move(defaultFont_);
  CreateFonts();
  PlaceControls();
  SetIcons();
}

void Form::CenterOn(HWND other) {
  RECT area{};
  if (other) {
    GetWindowRect(other, &area);
  } else {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    area = mi.rcWork;
  }
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  SetWindowPos(hwnd_, nullptr, area.left + (area.right - area.left - w) / 2,
               area.top + (area.bottom - area.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Form::TextBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR self) {
  if (msg == WM_CHAR) {
    // Ctrl+A, C, V, X and Z arrive as control characters but are editing
    // commands, not typed text: they go straight to the box.
    const bool chord = (GetKeyState(VK_CONTROL) & 0x8000) &&
                       (wParam == 1 || wParam == 3 || wParam == 0x16 || wParam == 0x18 || wParam == 0x1A);
    if (!chord) {
      auto key = static_cast<short>(wParam);
      reinterpret_cast<Form*>(self)->OnKeyPress(static_cast<int>(id), key);
      if (key == 0) return 0;
      wParam = static_cast<unsigned short>(key);
    }
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, TextBoxProc, id);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void Deliver(MSG& msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int RunMessageLoop() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) Deliver(msg);
  return static_cast<int>(msg.wParam);
}

void ShowModal(Form& form, HWND owner) {
  form.Load(owner);
  if (!form.IsLoaded()) return;
  form.modalOwner_ = owner;
  if (owner) EnableWindow(owner, FALSE);
  form.Show();
  MSG msg{};
  while (form.IsLoaded()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    Deliver(msg);
  }
  if (owner) EnableWindow(owner, TRUE);
  if (form.IsLoaded()) DestroyWindow(form.hWnd());
  form.modalOwner_ = nullptr;
}

}  // namespace ui
