// The vector pixel operations against the one-pixel reference: every input they can meet, and
// whole compositions, band by band, against the reference over the whole picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine_helpers.h"
#include "native_platform.h"
#include "varnowel/composition.h"
#include "varnowel/pixel_ops.h"

namespace varnowel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Where two equally long buffers first differ, for the failure message; empty when equal.
std::string FirstDifference(const Bytes& fast, const Bytes& reference) {
  for (std::size_t i = 0; i < fast.size(); ++i) {
    if (fast[i] != reference[i])
      return "byte " + std::to_string(i) + " (pixel " + std::to_string(i / 3) + "): " +
             std::to_string(fast[i]) + ", reference " + std::to_string(reference[i]);
  }
  return {};
}

// Random bytes, with pure white pixels and bytes of 255 in non-white pixels common enough
// that every block mixes see-through and blended pixels in all its places.
Bytes RandomLayer(std::size_t pixels, std::mt19937& random) {
  Bytes bytes(3 * pixels);
  for (std::size_t i = 0; i < pixels; ++i) {
    const unsigned kind = random() % 4;
    for (std::size_t c = 0; c < 3; ++c) {
      if (kind == 0) bytes[3 * i + c] = 0xFF;
      else if (kind == 1) bytes[3 * i + c] = random() % 3 ? 0xFF : std::uint8_t(random());
      else bytes[3 * i + c] = std::uint8_t(random());
    }
  }
  return bytes;
}

Bytes RandomBytes(std::size_t count, std::mt19937& random) {
  Bytes bytes(count);
  for (auto& byte : bytes) byte = std::uint8_t(random());
  return bytes;
}

// Every (L, V) pair in every channel: pixel i holds pair i in blue, pair i + 21845 in green
// and pair i + 43690 in red (L the high byte of the pair, V the low), so no pixel is white
// and L = 255 is blended too.
TEST(BlendKernel, EveryLayerAndCanvasByteAtEveryTransparency) {
  constexpr std::size_t kPairs = 65536;
  Bytes layer(3 * kPairs), canvas(3 * kPairs);
  for (std::size_t i = 0; i < kPairs; ++i) {
    for (std::size_t c = 0; c < 3; ++c) {
      const std::size_t pair = (i + c * 21845) % kPairs;
      layer[3 * i + c] = std::uint8_t(pair >> 8);
      canvas[3 * i + c] = std::uint8_t(pair);
    }
  }
  // -1 and 101 stand for the clamped values beyond the range.
  for (std::int32_t t = -1; t <= 101; ++t) {
    Bytes fast = canvas, reference = canvas;
    BlendLayer(fast.data(), layer.data(), 256, 256, t);
    BlendLayerReference(reference.data(), layer.data(), 256, 256, t);
    ASSERT_EQ(FirstDifference(fast, reference), "") << "T=" << t;
  }
}

TEST(BlendKernel, SeeThroughPixelsMixedIntoBlocks) {
  std::mt19937 random(1);
  constexpr std::size_t kPixels = 4096;
  const Bytes layer = RandomLayer(kPixels, random);
  const Bytes canvas = RandomBytes(3 * kPixels, random);
  for (std::int32_t t = 0; t <= 100; ++t) {
    Bytes fast = canvas, reference = canvas;
    BlendLayer(fast.data(), layer.data(), 64, 64, t);
    BlendLayerReference(reference.data(), layer.data(), 64, 64, t);
    ASSERT_EQ(FirstDifference(fast, reference), "") << "T=" << t;
  }
}

// Every colour once, 65536 at a time, so every sum 0..765 meets every place in a block.
TEST(GrayscaleKernel, EveryColour) {
  constexpr std::size_t kPixels = 65536;
  Bytes colours(3 * kPixels);
  for (std::size_t red = 0; red < 256; ++red) {
    for (std::size_t i = 0; i < kPixels; ++i) {
      colours[3 * i] = std::uint8_t(i);
      colours[3 * i + 1] = std::uint8_t(i >> 8);
      colours[3 * i + 2] = std::uint8_t(red + i);  // red runs through every place too
    }
    Bytes fast = colours, reference = colours;
    GrayscaleLayer(fast.data(), 256, 256);
    GrayscaleLayerReference(reference.data(), 256, 256);
    ASSERT_EQ(FirstDifference(fast, reference), "") << "chunk " << red;
  }
}

// Buffers of every length up to a few blocks, at every alignment, with guard bytes around
// them: the vector parts and the pixels left over meet exactly, and nothing outside changes.
TEST(PixelKernels, EveryLengthAndAlignment) {
  std::mt19937 random(2);
  constexpr std::size_t kGuard = 64;
  for (std::size_t pixels = 0; pixels <= 70; ++pixels) {
    for (std::size_t offset = 0; offset < 16; ++offset) {
      const std::size_t bytes = 3 * pixels;
      const Bytes layer = RandomLayer(pixels + kGuard, random);
      const Bytes canvas = RandomBytes(bytes + 2 * kGuard, random);
      const std::string where = std::to_string(pixels) + " pixels at +" + std::to_string(offset);

      Bytes fastLayer = layer, referenceLayer = layer;
      GrayscaleLayer(fastLayer.data() + offset, std::int32_t(pixels), 1);
      GrayscaleLayerReference(referenceLayer.data() + offset, std::int32_t(pixels), 1);
      ASSERT_EQ(FirstDifference(fastLayer, referenceLayer), "") << "gray, " << where;

      for (std::int32_t t : {0, 30, 99}) {
        Bytes fast = canvas, reference = canvas;
        BlendLayer(fast.data() + kGuard, layer.data() + offset, std::int32_t(pixels), 1, t);
        BlendLayerReference(reference.data() + kGuard, layer.data() + offset,
                            std::int32_t(pixels), 1, t);
        ASSERT_EQ(FirstDifference(fast, reference), "") << "blend at T=" << t << ", " << where;
      }
    }
  }
}

struct LayerSetting {
  std::int32_t transparency;
  bool grayscale;
};

struct CompositionCase {
  const char* name;
  std::int32_t width, height;
  std::vector<LayerSetting> layers;
};

void PrintTo(const CompositionCase& c, std::ostream* out) { *out << c.name; }

class Composition : public ::testing::TestWithParam<CompositionCase> {};

// The run reads the lowest opaque layer straight into the canvas, blends row by row where rows
// have fill bytes and whole bands where they have none: none of it may show in the result.
TEST_P(Composition, EqualsTheReferenceOverTheWholePicture) {
  const CompositionCase& c = GetParam();
  std::mt19937 random(3);
  TempDir dir;
  const std::size_t pixels = std::size_t(c.width) * std::size_t(c.height);
  Bytes expected(3 * pixels, 0xFF);
  std::vector<LayerSource> sources;
  for (std::size_t i = 0; i < c.layers.size(); ++i) {
    Bytes bytes = RandomLayer(pixels, random);
    Picture picture(c.width, c.height);
    for (std::size_t p = 0; p < pixels; ++p)
      picture.pixels[p] = {bytes[3 * p], bytes[3 * p + 1], bytes[3 * p + 2]};
    sources.push_back({WriteLayer(dir, "layer" + std::to_string(i) + ".bmp", picture),
                       c.layers[i].transparency, c.layers[i].grayscale});
    if (c.layers[i].grayscale) GrayscaleLayerReference(bytes.data(), c.width, c.height);
    BlendLayerReference(expected.data(), bytes.data(), c.width, c.height,
                        c.layers[i].transparency);
  }
  NativePlatform platform;
  ASSERT_TRUE(ComposeLayers({c.width, c.height}, sources, dir / "out.bmp", platform).ok());
  const Picture written = DecodeBmp(ReadBytes(dir / "out.bmp"));
  Bytes result;
  for (const Pixel& p : written.pixels) result.insert(result.end(), {p.blue, p.green, p.red});
  EXPECT_EQ(FirstDifference(result, expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    Bands, Composition,
    ::testing::Values(
        // Rows of 3003 bytes and a fill byte, several bands.
        CompositionCase{"LowestOpaqueAndGrayWithFill", 1001, 700, {{0, true}, {30, true}, {50, false}}},
        // Rows without fill bytes, blended a band at a time; the lowest onto the white canvas.
        CompositionCase{"LowestHalfSeeThroughNoFill", 1000, 600, {{25, false}, {0, true}, {99, false}}},
        CompositionCase{"OneNarrowOpaqueGrayLayer", 17, 3, {{0, true}}},
        CompositionCase{"LowestInvisible", 5, 2, {{100, false}, {40, false}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnowel::test
