// What a composition must give, worked out here independently of the engine.
#pragma once

#include <vector>

#include "bmp_fixture.h"

namespace varnowel::uitest {

// One row of the dialog that is on: its picture, transparency and grayscale switch.
struct LayerSetting {
  test::Picture picture;
  int transparency = 0;
  bool grayscale = false;
};

// A white canvas with the layers laid down in order, lowest first. A layer pixel that is pure
// white leaves the canvas as it is; otherwise each channel becomes L + (V - L) x T / 100
// (L layer, V canvas, truncated toward zero), after the pixel was made gray (the truncated
// mean of its channels) if asked.
test::Picture ExpectedComposition(const std::vector<LayerSetting>& layers);

// Small asymmetric pictures: odd widths, a red and a blue corner (a swap of the channels shows),
// white that must stay see-through and nearly white that must not.
test::Picture CornerPicture(int width, int height);
test::Picture SpeckledPicture(int width, int height);

}  // namespace varnowel::uitest
