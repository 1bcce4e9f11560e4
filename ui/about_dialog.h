// The About box of the Help menu's "Version" item.
#pragma once

#include <windows.h>

// Shows the About box owned by `owner` and returns when it is closed.
void ShowAboutDialog(HWND owner);

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
