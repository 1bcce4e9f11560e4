// Files dropped from Explorer onto the main dialog fill the layer rows' path edits.
#include "file_drop.h"

#include <algorithm>
#include <climits>
#include <string>

#include "layer_rows.h"

using varnowel::kLayerCount;

namespace {

// The layer whose row spans `point` (dialog client coordinates) from the top of its highest
// control to the bottom of its lowest, across the whole dialog; -1 for none.
int LayerAt(HWND dialog, POINT point) {
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const LayerRow& row = kLayerRows[layer];
    LONG top = LONG_MAX;
    LONG bottom = LONG_MIN;
    for (const int id : {row.enable, row.path, row.transparencyEdit, row.transparencyBar,
                         row.open, row.grayscale}) {
      RECT rect{};
      GetWindowRect(GetDlgItem(dialog, id), &rect);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
      top = std::min(top, rect.top);
      bottom = std::max(bottom, rect.bottom);
    }
    if (point.y >= top && point.y < bottom) return layer;
  }
  return -1;
}

// The `index`th dropped name, whole.
std::wstring DroppedName(HDROP drop, UINT index) {
  std::wstring name(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
  name.resize(DragQueryFileW(drop, index, name.data(), static_cast<UINT>(name.size())));
  return name;
}

bool IsFolder(const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void OnFilesDropped(HWND dialog, HDROP drop) {
  POINT point{};
  DragQueryPoint(drop, &point);
  int layer = std::max(LayerAt(dialog, point), 0);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count && layer < kLayerCount; ++index) {
    const std::wstring name = DroppedName(drop, index);
    if (IsFolder(name)) continue;
    // Wide, so that a name outside the process code page shows as it is.
    SetDlgItemTextW(dialog, kLayerRows[layer].path, name.c_str());
    ++layer;
  }
  DragFinish(drop);
}
