// The preview command: the dialog's layers composed into a temporary file and shown in the
// dialog's picture control.
#include <optional>
#include <string>

#include "dialog_texts.h"
#include "layer_commands.h"
#include "layer_gathering.h"
#include "resource_ids.h"
#include "varnowel/messages.h"
#include "win32_host.h"

using varnowel::CompositeJob;

namespace {

// A new, empty, uniquely named file in the user's temporary folder, or nothing.
std::optional<std::string> CreatePreviewFile() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH) return std::nullopt;
  char path[MAX_PATH];
  if (GetTempFileNameA(folder, "vnw", 0, path) == 0) return std::nullopt;
  return std::string(path);
}

// Loads the BMP `file` into the picture control at its own size and frees what it replaces.
// A file that does not load (a picture without pixels) leaves the control empty.
void ShowPreviewPicture(HWND dialog, const std::string& file) {
  const auto picture = static_cast<HBITMAP>(
      LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  const HWND control = GetDlgItem(dialog, IDC_PREVIEW_PICTURE);
  const auto previous = reinterpret_cast<HBITMAP>(
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
  // Once given an image, the control leaves every bitmap it held to the program.
  if (previous != nullptr) DeleteObject(previous);
  // A version 6 static shows its own copy of a bitmap with alpha and hands that copy back
  // next time; the bitmap given to it is then the program's to free now.
  const auto shown =
      reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (picture != nullptr && shown != picture) DeleteObject(picture);
}

}  // namespace

INT_PTR PreviewCommand(HWND dialog, CompositeJob& job) {
  if (!GatherLayers(dialog, job, texts::kPreviewFileMissing)) return -1;
  if (!CheckLayerFormats(dialog, job)) return TRUE;
  Win32Host host;
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (varnowel::ReadLayerGeometry(job, width, height, host) == -1) return TRUE;
  const std::optional<std::string> previewFile = CreatePreviewFile();
  if (!previewFile) {
    host.ShowMessage(varnowel::MessageFor({varnowel::Fault::OutputOpenFailed, {}}));
    return TRUE;
  }
  const varnowel::Target preview{varnowel::TargetKind::Preview, *previewFile};
  if (varnowel::RunComposition(width, height, job, preview, host).ok()) {
    ShowPreviewPicture(dialog, *previewFile);
  }
  DeleteFileA(previewFile->c_str());
  for (std::int32_t& grayscale : job.grayscale) grayscale = 0;
  for (std::int32_t& enabled : job.enabled) enabled = 0;
  return TRUE;
}
