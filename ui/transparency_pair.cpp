// The transparency edit and scroll bar of each layer row.
#include "transparency_pair.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "layer_rows.h"
#include "win32_text.h"

namespace {

constexpr int kLeast = 0;
constexpr int kMost = 100;
constexpr int kLineStep = 1;
constexpr int kPageStep = 10;

// What each pair shows, always within kLeast..kMost.
int sliderValue[varnowel::kLayerCount];

// Leading blanks, a sign and digits, as atoi reads them; out-of-range numbers saturate and
// are then brought to the nearer bound.
int TransparencyFromText(const std::string& text) {
  return static_cast<int>(std::clamp<long>(std::strtol(text.c_str(), nullptr, 10), kLeast, kMost));
}

HWND EditOf(HWND dialog, int layer) { return GetDlgItem(dialog, kLayerRows[layer].transparencyEdit); }

HWND BarOf(HWND dialog, int layer) { return GetDlgItem(dialog, kLayerRows[layer].transparencyBar); }

int ScrolledValue(int value, int code, int thumb) {
  switch (code) {
    case SB_LINELEFT: return std::max(value - kLineStep, kLeast);
    case SB_LINERIGHT: return std::min(value + kLineStep, kMost);
    case SB_PAGELEFT: return std::max(value - kPageStep, kLeast);
    case SB_PAGERIGHT: return std::min(value + kPageStep, kMost);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return thumb;  // the bar reports positions within its own range
    default: return value;
  }
}

}  // namespace

int ReadTransparency(HWND dialog, int layer) {
  return TransparencyFromText(WindowText(EditOf(dialog, layer)));
}

void OnTransparencyEdit(HWND dialog, int layer) {
  // The edit is reached through the dialog, not a kept handle: the texts written while the
  // dialog initialises arrive here before anything else could have been kept.
  sliderValue[layer] = ReadTransparency(dialog, layer);
  SetScrollPos(BarOf(dialog, layer), SB_CTL, sliderValue[layer], TRUE);
}

void OnTransparencyScroll(HWND dialog, int code, int thumb, HWND bar) {
  for (int layer = 0; layer < varnowel::kLayerCount; ++layer) {
    if (BarOf(dialog, layer) != bar) continue;
    sliderValue[layer] = ScrolledValue(sliderValue[layer], code, thumb);
    SetScrollPos(bar, SB_CTL, sliderValue[layer], TRUE);
    // Writing the edit re-enters OnTransparencyEdit, which reads back the same value.
    SetWindowTextA(EditOf(dialog, layer), std::to_string(sliderValue[layer]).c_str());
    return;
  }
}

void ShowTransparencies(HWND dialog) {
  for (int layer = 0; layer < varnowel::kLayerCount; ++layer) {
    SetScrollRange(BarOf(dialog, layer), SB_CTL, kLeast, kMost, TRUE);
    SetScrollPos(BarOf(dialog, layer), SB_CTL, sliderValue[layer], TRUE);
  }
  for (int layer = 0; layer < varnowel::kLayerCount; ++layer) {
    SetWindowTextA(EditOf(dialog, layer), std::to_string(sliderValue[layer]).c_str());
  }
}
