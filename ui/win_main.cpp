// Start-up of the dialog program: the job record, the window class, the main dialog.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app_instance.h"
#include "dialog_texts.h"
#include "main_dialog.h"
#include "resource_ids.h"
#include "varnowel/composite_job.h"

namespace {

char windowClassName[256];

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  appInstance = instance;
  // The one record of the process; it lives until the process ends and is never freed.
  void* record = std::malloc(sizeof(varnowel::CompositeJob));
  if (record == nullptr) return 0;
  std::memset(record, 0, sizeof(varnowel::CompositeJob));

  std::snprintf(windowClassName, sizeof windowClassName, texts::kWindowClassFormat, 0);
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  // No window of this class is ever made; the dialog uses the standard dialog class. The
  // registration decides only whether the dialog is shown at all.
  windowClass.lpfnWndProc = reinterpret_cast<WNDPROC>(MainDlgProc);
  windowClass.hInstance = appInstance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = windowClassName;
  if (RegisterClassA(&windowClass) == 0) return 0;

  // The manifest asks for the version 6 controls (themed); this loads them before the dialog
  // is made of them.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc,
                  reinterpret_cast<LPARAM>(record));
  return 0;
}
