// The preview command: the dialog's layers composed into a temporary file and shown in the
// dialog's picture control, scaled down to the free area below the rows where it is larger.
#include <algorithm>
#include <cstdint>
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

// Space in dialog units between the preview area and the compose and Cancel buttons below it.
constexpr int kGapAboveButtons = 4;

// A new, empty, uniquely named file in the user's temporary folder, or nothing.
std::optional<std::string> CreatePreviewFile() {
  char folder[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH) return std::nullopt;
  char path[MAX_PATH];
  if (GetTempFileNameA(folder, "vnw", 0, path) == 0) return std::nullopt;
  return std::string(path);
}

// A child control's rectangle in the dialog's client coordinates.
RECT ControlRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The largest size the preview may take, in pixels: from the picture control's upper-left
// corner to the right edge of the Cancel button (the dialog's right margin) and down to just
// above the compose and Cancel buttons. Taken from the laid-out template, so it follows the
// dialog font and the display's DPI.
SIZE PreviewArea(HWND dialog) {
  const RECT picture = ControlRect(dialog, IDC_PREVIEW_PICTURE);
  const RECT compose = ControlRect(dialog, IDOK);
  const RECT cancel = ControlRect(dialog, IDCANCEL);
  RECT gap{0, 0, 0, kGapAboveButtons};
  MapDialogRect(dialog, &gap);
  const LONG bottom = std::min(compose.top, cancel.top) - gap.bottom;
  return {std::max<LONG>(cancel.right - picture.left, 1), std::max<LONG>(bottom - picture.top, 1)};
}

// `size` brought within `area` keeping its aspect ratio, never enlarged; at least 1 x 1.
SIZE FittedSize(SIZE size, SIZE area) {
  if (size.cx <= area.cx && size.cy <= area.cy) return size;
  const std::int64_t w = size.cx;
  const std::int64_t h = size.cy;
  // Width-bound when w / h is wider than area.cx / area.cy; the other side rounded.
  if (w * area.cy >= h * area.cx) {
    return {area.cx, LONG(std::max<std::int64_t>((h * area.cx + w / 2) / w, 1))};
  }
  return {LONG(std::max<std::int64_t>((w * area.cy + h / 2) / h, 1)), area.cy};
}

// A new 24-bit DIB section holding `picture` scaled to `size` with the platform's halftone
// filter, which averages the source pixels under each target pixel; null on failure. The
// caller owns the result; `picture` stays the caller's.
HBITMAP ScaledPicture(HBITMAP picture, SIZE size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP scaled = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (scaled == nullptr) return nullptr;
  BITMAP source{};
  GetObjectA(picture, sizeof source, &source);
  const HDC from = CreateCompatibleDC(nullptr);
  const HDC to = CreateCompatibleDC(nullptr);
  const HGDIOBJ fromBefore = SelectObject(from, picture);
  const HGDIOBJ toBefore = SelectObject(to, scaled);
  // HALFTONE needs the brush origin set after the mode, or the pattern is misaligned.
  SetStretchBltMode(to, HALFTONE);
  SetBrushOrgEx(to, 0, 0, nullptr);
  const BOOL drawn =
      StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
  SelectObject(from, fromBefore);
  SelectObject(to, toBefore);
  DeleteDC(from);
  DeleteDC(to);
  if (drawn) return scaled;
  DeleteObject(scaled);
  return nullptr;
}

// The BMP `file` as the preview: at its own size where it fits the preview area, else scaled
// down to fit. Null when the file does not load (a picture without pixels) or cannot be scaled.
HBITMAP LoadPreviewPicture(HWND dialog, const std::string& file) {
  const auto picture = static_cast<HBITMAP>(LoadImageA(
      nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (picture == nullptr) return nullptr;
  BITMAP loaded{};
  GetObjectA(picture, sizeof loaded, &loaded);
  const SIZE own{loaded.bmWidth, loaded.bmHeight};
  const SIZE fitted = FittedSize(own, PreviewArea(dialog));
  if (fitted.cx == own.cx && fitted.cy == own.cy) return picture;
  const HBITMAP scaled = ScaledPicture(picture, fitted);
  DeleteObject(picture);
  return scaled;
}

// Shows `picture` in the picture control, which takes its size, and frees what it replaces.
// A null picture leaves the control empty.
void ShowPreviewPicture(HWND dialog, HBITMAP picture) {
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
    ShowPreviewPicture(dialog, LoadPreviewPicture(dialog, *previewFile));
  }
  DeleteFileA(previewFile->c_str());
  for (std::int32_t& grayscale : job.grayscale) grayscale = 0;
  for (std::int32_t& enabled : job.enabled) enabled = 0;
  return TRUE;
}
