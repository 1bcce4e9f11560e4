// The main dialog: three layer rows, compose and preview, the Help menu.
#pragma once

#include <windows.h>

// The procedure of dialog template 129. The creation parameter is the process's
// CompositeJob, which the dialog keeps in its user slot and never frees.
INT_PTR CALLBACK MainDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
