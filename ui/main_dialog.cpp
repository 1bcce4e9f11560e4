// The main dialog's procedure: it routes each message and command to a named handler.
#include "main_dialog.h"

#include "about_dialog.h"
#include "app_instance.h"
#include "dialog_texts.h"
#include "file_chooser.h"
#include "file_drop.h"
#include "layer_commands.h"
#include "layer_rows.h"
#include "resource_ids.h"
#include "transparency_pair.h"

using varnowel::CompositeJob;
using varnowel::kLayerCount;

namespace {

CompositeJob& JobOf(HWND hDlg) {
  return *reinterpret_cast<CompositeJob*>(GetWindowLongPtrA(hDlg, DWLP_USER));
}

void InitMainDialog(HWND hDlg, LPARAM job) {
  SetWindowLongPtrA(hDlg, DWLP_USER, job);
  for (int layer = 0; layer < kLayerCount; ++layer) {
    SetDlgItemTextA(hDlg, kLayerRows[layer].path, texts::kDefaultLayerPath[layer]);
  }
  // Each text written here reaches OnTransparencyEdit at once and becomes the pair's value.
  for (int layer = 0; layer < kLayerCount; ++layer) {
    SetDlgItemTextA(hDlg, kLayerRows[layer].transparencyEdit, texts::kDefaultTransparency[layer]);
  }
  for (int layer = 0; layer < kLayerCount; ++layer) {
    CheckDlgButton(hDlg, kLayerRows[layer].enable,
                   kLayerRows[layer].enabledAtStart ? BST_CHECKED : BST_UNCHECKED);
  }
  ShowTransparencies(hDlg);
  // Shared: the icon is the module's, never destroyed.
  const HANDLE icon =
      LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_VARNOWEL), IMAGE_ICON, 0, 0, LR_SHARED);
  SendMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  DragAcceptFiles(hDlg, TRUE);
}

INT_PTR OnCommand(HWND hDlg, int command) {
  switch (command) {
    case IDOK: return ComposeCommand(hDlg, JobOf(hDlg));
    case IDCANCEL: EndDialog(hDlg, IDCANCEL); return TRUE;
    case IDM_VERSION: ShowAboutDialog(hDlg); return TRUE;
    case IDC_PREVIEW: return PreviewCommand(hDlg, JobOf(hDlg));
  }
  if (const int layer = LayerWith(&LayerRow::transparencyEdit, command); layer >= 0) {
    OnTransparencyEdit(hDlg, layer);
    return TRUE;
  }
  if (const int layer = LayerWith(&LayerRow::open, command); layer >= 0) {
    BrowseLayerFile(hDlg, layer);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      InitMainDialog(hDlg, lParam);
      return TRUE;  // the focus goes to the first tab stop, the compose button
    case WM_COMMAND:
      // The notification code is not looked at: every notification of a listed control,
      // and a menu command alike, runs its handler.
      return OnCommand(hDlg, LOWORD(wParam));
    case WM_HSCROLL:
      OnTransparencyScroll(hDlg, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_DROPFILES:
      OnFilesDropped(hDlg, reinterpret_cast<HDROP>(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}
