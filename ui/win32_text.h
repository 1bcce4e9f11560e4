// Text at the Win32 boundary: the program's UTF-8 texts, paths in the process code page,
// UTF-16 for the wide API.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

std::wstring WideFromUtf8(std::string_view text);
std::wstring WideFromCodePage(std::string_view text);

// For the 8-bit API; a character the process code page lacks becomes its default character.
std::string CodePageFromUtf8(std::string_view text);

// `text` (UTF-8) with its first "%s" replaced by `path` (process code page), whole.
std::wstring FormatWithPath(std::string_view text, std::string_view path);

// The whole text of a window or control, in the process code page.
std::string WindowText(HWND window);
