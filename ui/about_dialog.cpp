// The About box of the Help menu's "Version" item.
#include "about_dialog.h"

#include "app_instance.h"
#include "resource_ids.h"

void ShowAboutDialog(HWND owner) {
  DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
}

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;  // the platform gives the focus to OK
    case WM_PAINT: {
      // The box draws nothing itself; its texts and button paint themselves.
      PAINTSTRUCT paint;
      BeginPaint(hDlg, &paint);
      EndPaint(hDlg, &paint);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
      EndDialog(hDlg, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}
