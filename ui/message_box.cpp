// Message boxes through the wide API, from UTF-8 texts.
#include "message_box.h"

#include "win32_text.h"

void ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                    std::string_view path, UINT style) {
  MessageBoxW(owner, FormatWithPath(text, path).c_str(), WideFromUtf8(caption).c_str(), style);
}

void ShowDialogMessage(HWND dialog, const DialogText& message, std::string_view path) {
  ShowMessageBox(dialog, message.text, message.caption, path, MB_OK);
}
