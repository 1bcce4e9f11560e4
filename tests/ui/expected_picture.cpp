// What a composition must give, worked out here independently of the engine.
#include "expected_picture.h"

#include <cstdint>

namespace varnowel::uitest {

using test::Pixel;

namespace {

std::uint8_t Blend(int layer, int canvas, int transparency) {
  return std::uint8_t(layer + (canvas - layer) * transparency / 100);
}

Pixel Gray(Pixel p) {
  const auto mean = std::uint8_t((p.blue + p.green + p.red) / 3);
  return {mean, mean, mean};
}

}  // namespace

test::Picture ExpectedComposition(const std::vector<LayerSetting>& layers) {
  const int width = layers.empty() ? 0 : layers.front().picture.width;
  const int height = layers.empty() ? 0 : layers.front().picture.height;
  test::Picture canvas(width, height, test::kWhite);
  for (const LayerSetting& layer : layers) {
    for (int row = 0; row < height; ++row) {
      for (int x = 0; x < width; ++x) {
        Pixel l = layer.picture.at(x, row);
        if (l == test::kWhite) continue;
        if (layer.grayscale) l = Gray(l);
        Pixel& v = canvas.at(x, row);
        v = {Blend(l.blue, v.blue, layer.transparency), Blend(l.green, v.green, layer.transparency),
             Blend(l.red, v.red, layer.transparency)};
      }
    }
  }
  return canvas;
}

test::Picture CornerPicture(int width, int height) {
  test::Picture picture(width, height, test::kWhite);
  picture.at(0, 0) = test::kRed;
  picture.at(width - 1, height - 1) = test::kBlue;
  picture.at(width / 2, 0) = {10, 200, 30};
  return picture;
}

test::Picture SpeckledPicture(int width, int height) {
  test::Picture picture(width, height, test::kWhite);
  for (int row = 0; row < height; ++row) {
    for (int x = (row % 2); x < width; x += 2) {
      picture.at(x, row) = {std::uint8_t(40 * x + 7), std::uint8_t(250 - 30 * row), 99};
    }
  }
  picture.at(width - 1, 0) = {255, 255, 254};
  return picture;
}

}  // namespace varnowel::uitest
