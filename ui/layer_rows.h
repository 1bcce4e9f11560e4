// The controls of the main dialog's three layer rows, by layer index (rows "1", "2", "3").
#pragma once

#include "resource_ids.h"
#include "varnowel/composite_job.h"

struct LayerRow {
  int enable;            // check box: the layer takes part
  int path;              // edit: the layer's BMP file
  int transparencyEdit;  // edit: transparency in percent, typed
  int transparencyBar;   // scroll bar: the same transparency, dragged
  int open;              // button: the file chooser
  int grayscale;         // check box: turn the layer gray first
  bool enabledAtStart;
};

inline constexpr LayerRow kLayerRows[varnowel::kLayerCount] = {
    {IDC_ENABLE_1, IDC_PATH_1, IDC_TRANSPARENCY_1, IDC_BAR_1, IDC_OPEN_1, IDC_GRAYSCALE_1, true},
    {IDC_ENABLE_2, IDC_PATH_2, IDC_TRANSPARENCY_2, IDC_BAR_2, IDC_OPEN_2, IDC_GRAYSCALE_2, true},
    {IDC_ENABLE_3, IDC_PATH_3, IDC_TRANSPARENCY_3, IDC_BAR_3, IDC_OPEN_3, IDC_GRAYSCALE_3, false},
};

// The layer whose row has `id` in the column `column`, or -1.
constexpr int LayerWith(int LayerRow::*column, int id) {
  for (int layer = 0; layer < varnowel::kLayerCount; ++layer) {
    if (kLayerRows[layer].*column == id) return layer;
  }
  return -1;
}
