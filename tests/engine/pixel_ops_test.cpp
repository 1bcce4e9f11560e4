// Blending and grayscale conversion, one pixel at a time and at the edges of a buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "engine_helpers.h"
#include "varnowel/pixel_ops.h"

namespace varnowel::test {
namespace {

// The operations work on byte buffers; these run them on one pixel.
Pixel Blended(Pixel canvas, Pixel layer, std::int32_t transparency) {
  std::uint8_t canvasBytes[3] = {canvas.blue, canvas.green, canvas.red};
  const std::uint8_t layerBytes[3] = {layer.blue, layer.green, layer.red};
  BlendLayer(canvasBytes, layerBytes, 1, 1, transparency);
  return {canvasBytes[0], canvasBytes[1], canvasBytes[2]};
}

Pixel Grayed(Pixel pixel) {
  std::uint8_t bytes[3] = {pixel.blue, pixel.green, pixel.red};
  GrayscaleLayer(bytes, 1, 1);
  return {bytes[0], bytes[1], bytes[2]};
}

struct BlendCase {
  const char* name;
  Pixel canvas;
  Pixel layer;
  std::int32_t transparency;
  Pixel expected;
};

void PrintTo(const BlendCase& c, std::ostream* out) { *out << c.name; }

class BlendCases : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendCases, OnePixel) {
  const BlendCase& c = GetParam();
  EXPECT_EQ(Blended(c.canvas, c.layer, c.transparency), c.expected);
}

// Pixel is {blue, green, red}.
INSTANTIATE_TEST_SUITE_P(
    Transparency, BlendCases,
    ::testing::Values(
        BlendCase{"OpaqueReplaces", {10, 20, 30}, {200, 100, 50}, 0, {200, 100, 50}},
        BlendCase{"FullyTransparentKeepsCanvas", {10, 20, 30}, {200, 100, 50}, 100, {10, 20, 30}},
        // 255 x 50 / 100 = 127.5, truncated toward zero.
        BlendCase{"HalfOfBlackOnWhite", {255, 255, 255}, {0, 0, 0}, 50, {127, 127, 127}},
        // -255 x 50 / 100 = -127.5 truncates to -127: 255 - 127.
        BlendCase{"HalfOfNearWhiteOnBlack", {0, 0, 0}, {255, 255, 0}, 50, {128, 128, 0}},
        BlendCase{"ThirtyPercentUp", {200, 200, 200}, {100, 100, 100}, 30, {130, 130, 130}},
        BlendCase{"ThirtyThreePercentDown", {100, 100, 100}, {200, 200, 200}, 33, {167, 167, 167}},
        BlendCase{"ChannelsIndependent", {0, 100, 200}, {200, 100, 0}, 25, {150, 100, 50}},
        BlendCase{"WhiteIsSeeThroughWhenOpaque", {1, 2, 3}, {255, 255, 255}, 0, {1, 2, 3}},
        BlendCase{"WhiteIsSeeThroughAtHalf", {1, 2, 3}, {255, 255, 255}, 50, {1, 2, 3}},
        BlendCase{"NearWhiteIsBlended", {0, 0, 0}, {255, 255, 254}, 0, {255, 255, 254}},
        // Beyond 0..100 the transparency is clamped, never wrapped into other colours.
        BlendCase{"AboveHundredActsAsHundred", {40, 50, 60}, {200, 100, 0}, 150, {40, 50, 60}},
        BlendCase{"BlackOnWhiteAt150", {255, 255, 255}, {0, 0, 0}, 150, {255, 255, 255}},
        BlendCase{"TwoHundredActsAsHundred", {0, 0, 0}, {100, 100, 100}, 200, {0, 0, 0}},
        BlendCase{"NegativeActsAsZero", {40, 50, 60}, {200, 100, 0}, -5, {200, 100, 0}},
        BlendCase{"IntMaxActsAsHundred", {40, 50, 60}, {200, 100, 0}, INT_MAX, {40, 50, 60}},
        BlendCase{"IntMinActsAsZero", {40, 50, 60}, {200, 100, 0}, INT_MIN, {200, 100, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// Within 0..100 every result lies between the layer byte and the canvas byte.
TEST(Blend, StaysBetweenLayerAndCanvasForEveryTransparency) {
  const std::uint8_t values[] = {0, 1, 99, 127, 128, 200, 254, 255};
  for (std::int32_t t = 0; t <= 100; ++t) {
    for (std::uint8_t v : values) {
      for (std::uint8_t l : values) {
        const Pixel canvas = Blended({v, v, v}, {l, l, 0}, t);  // the layer is never pure white
        EXPECT_GE(canvas.blue, std::min(l, v)) << "T=" << t << " V=" << int(v) << " L=" << int(l);
        EXPECT_LE(canvas.blue, std::max(l, v)) << "T=" << t << " V=" << int(v) << " L=" << int(l);
      }
    }
  }
}

struct GrayCase {
  Pixel input;
  std::uint8_t gray;
};

class GrayCases : public ::testing::TestWithParam<GrayCase> {};

TEST_P(GrayCases, TruncatedMean) {
  const std::uint8_t g = GetParam().gray;
  EXPECT_EQ(Grayed(GetParam().input), (Pixel{g, g, g}));
}

INSTANTIATE_TEST_SUITE_P(Grayscale, GrayCases,
                         ::testing::Values(GrayCase{{10, 20, 31}, 20},    // 61 / 3 = 20.33
                                           GrayCase{{0, 0, 2}, 0},
                                           GrayCase{{0, 0, 0}, 0},
                                           GrayCase{{255, 255, 254}, 254},  // stays not white
                                           GrayCase{{254, 255, 255}, 254},
                                           GrayCase{{255, 255, 255}, 255},  // stays see-through
                                           GrayCase{{0, 128, 255}, 127}));

// Rows of 3 x width bytes with no fill: the operations must stop at the last pixel's bytes.
TEST(PixelBuffers, LastPixelOfLastRowTouchesNothingBeyond) {
  constexpr std::int32_t width = 3, height = 2;
  constexpr std::size_t bytes = 3 * width * height;
  std::vector<std::uint8_t> layer(bytes + 4, 0x55);
  std::vector<std::uint8_t> canvas(bytes + 4, 0xFF);
  layer[bytes - 3] = 10;
  layer[bytes - 2] = 20;
  layer[bytes - 1] = 31;
  GrayscaleLayer(layer.data(), width, height);
  BlendLayer(canvas.data(), layer.data(), width, height, 0);
  const std::vector<std::uint8_t> guard(4, 0x55);
  EXPECT_EQ(std::vector<std::uint8_t>(layer.begin() + bytes, layer.end()), guard);
  EXPECT_EQ(std::vector<std::uint8_t>(canvas.begin() + bytes, canvas.end()),
            std::vector<std::uint8_t>(4, 0xFF));
  EXPECT_EQ(layer[bytes - 1], 20);
  EXPECT_EQ(canvas[bytes - 1], 20);
  EXPECT_EQ(canvas[0], 0x55);
}

TEST(PixelBuffers, EmptySizesTouchNothing) {
  const std::int32_t sizes[][2] = {{0, 1}, {1, 0}, {-1, 1}, {1, -1}};
  for (const auto& size : sizes) {
    std::vector<std::uint8_t> layer(6, 0x10);
    std::vector<std::uint8_t> canvas(6, 0xFF);
    GrayscaleLayer(layer.data(), size[0], size[1]);
    BlendLayer(canvas.data(), layer.data(), size[0], size[1], 0);
    EXPECT_EQ(layer, std::vector<std::uint8_t>(6, 0x10)) << size[0] << "x" << size[1];
    EXPECT_EQ(canvas, std::vector<std::uint8_t>(6, 0xFF)) << size[0] << "x" << size[1];
  }
}

}  // namespace
}  // namespace varnowel::test
