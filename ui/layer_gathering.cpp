// The steps that the compose and preview commands share before the engine runs.
#include "layer_gathering.h"

#include <cstring>
#include <string>

#include "layer_rows.h"
#include "message_box.h"
#include "transparency_pair.h"
#include "varnowel/layer_format.h"
#include "win32_text.h"

using varnowel::CompositeJob;
using varnowel::kLayerCount;
using varnowel::kTextSize;

namespace {

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Copies one row; false when its file is missing. A path is taken whole or not at all: one
// that does not fit the record is reported rather than cut into the name of another file.
bool GatherRow(HWND dialog, CompositeJob& job, int layer, const DialogText& fileMissing) {
  const LayerRow& row = kLayerRows[layer];
  if (!IsChecked(dialog, row.enable)) {
    job.enabled[layer] = 0;
    return true;
  }
  job.enabled[layer] = 1;
  const std::string path = WindowText(GetDlgItem(dialog, row.path));
  const bool fits = path.size() < std::size_t(kTextSize);
  std::memcpy(job.layerPath[layer], fits ? path.c_str() : "", fits ? path.size() + 1 : 1);
  job.transparency[layer] = ReadTransparency(dialog, layer);
  job.grayscale[layer] = IsChecked(dialog, row.grayscale) ? 1 : 0;
  if (fits && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  ShowDialogMessage(dialog, fileMissing, path);
  return false;
}

}  // namespace

bool GatherLayers(HWND dialog, CompositeJob& job, const DialogText& fileMissing) {
  for (int layer = 0; layer < kLayerCount; ++layer) {
    if (!GatherRow(dialog, job, layer, fileMissing)) return false;
  }
  return true;
}

bool CheckLayerFormats(HWND dialog, CompositeJob& job) {
  bool supported = true;
  for (int layer = 0; layer < kLayerCount; ++layer) {
    if (job.enabled[layer] != 1) {
      job.bitDepth[layer] = 24;
      continue;
    }
    // Cleared first, so that a depth left from an earlier command never passes for this file.
    job.bitDepth[layer] = 0;
    const varnowel::LayerFormat format = varnowel::ReadLayerFormat(job.layerPath[layer]);
    if (format.fault == varnowel::Fault::LayerNotFound) {
      ShowDialogMessage(dialog, texts::kLayerOpenFailed, job.layerPath[layer]);
      return false;
    }
    job.bitDepth[layer] = format.bitCount;
    // Only the bit depth is this test's business: the run refuses the other faults itself, after
    // the geometry check has told a top-down layer beside a bottom-up one that their sizes differ.
    if (format.bitCount != 24) supported = false;
  }
  if (!supported) ShowDialogMessage(dialog, texts::kLayerUnsupported);
  return supported;
}
