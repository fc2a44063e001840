#include "ui/controls.h"

namespace ui {

namespace {

// WideCharToMultiByte once for the size and once for the bytes; empty when
// it fails.
std::string Convert(std::wstring_view text, UINT codePage, DWORD flags, BOOL* usedDefault) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedDefault);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), n, nullptr, usedDefault);
  return out;
}

}  // namespace

std::string Narrow(std::wstring_view text, UINT codePage) { return Convert(text, codePage, 0, nullptr); }

std::optional<std::string> ToAnsiExact(std::wstring_view text) {
  const UINT codePage = GetACP();
  BOOL usedDefault = FALSE;
  // UTF-8 holds every character; it takes neither the no-best-fit flag nor a
  // used-default flag, only the refusal of unpaired surrogates.
  const std::string out = codePage == CP_UTF8 ? Convert(text, codePage, WC_ERR_INVALID_CHARS, nullptr)
                                              : Convert(text, codePage, WC_NO_BEST_FIT_CHARS, &usedDefault);
  if (usedDefault || (out.empty() && !text.empty())) return std::nullopt;
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::wstring Control::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Control::SetText(std::wstring_view text) const {
  const std::wstring copy(text);
  SetWindowTextW(hwnd_, copy.c_str());
}

void Control::SetFocus() const {
  // Through the dialog manager, so default buttons and edit selection follow.
  SendMessageW(GetAncestor(hwnd_, GA_ROOT), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hwnd_), TRUE);
}

void Control::SetTabStop(bool on) const {
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  style = on ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
  SetWindowLongW(hwnd_, GWL_STYLE, style);
}

}  // namespace ui
