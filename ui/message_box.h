// Message boxes through the wide API, from UTF-8 texts, so they read right on any code page.
#pragma once

#include <windows.h>

#include <string_view>

#include "dialog_texts.h"

// Shows `text` under `caption` (both UTF-8); a "%s" in the text becomes `path` (process code
// page), whole. Returns when the box is closed.
void ShowMessageBox(HWND owner, std::string_view text, std::string_view caption,
                    std::string_view path, UINT style);

// One of the dialog's own messages, owned by the dialog, with one OK button.
void ShowDialogMessage(HWND dialog, const DialogText& message, std::string_view path = {});
