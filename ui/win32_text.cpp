// Text conversions at the Win32 boundary and reading a control's text without a length limit.
#include "win32_text.h"

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view text) { return ToWide(CP_UTF8, text); }

std::wstring WideFromCodePage(std::string_view text) { return ToWide(CP_ACP, text); }

std::string CodePageFromUtf8(std::string_view text) {
  const std::wstring wide = WideFromUtf8(text);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

std::wstring FormatWithPath(std::string_view text, std::string_view path) {
  const std::size_t at = text.find("%s");
  if (at == std::string_view::npos) return WideFromUtf8(text);
  return WideFromUtf8(text.substr(0, at)) + WideFromCodePage(path) +
         WideFromUtf8(text.substr(at + 2));
}

std::string WindowText(HWND window) {
  // The length may be overstated for double-byte text; the copy tells the real one.
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}
