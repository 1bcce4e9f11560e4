// The format test the front ends run on one layer file before composing.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine_helpers.h"
#include "varnowel/layer_format.h"

namespace varnowel::test {
namespace {

struct FormatCase {
  const char* name;
  std::function<std::string(const TempDir&)> make;
  Fault fault;
  std::int32_t bitCount;
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.name; }

std::function<std::string(const TempDir&)> Layer(BmpVariant variant) {
  return [=](const TempDir& dir) { return WriteLayer(dir, "layer.bmp", Picture(3, 2), variant); };
}

class Formats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Formats, FaultAndBitCount) {
  TempDir dir;
  const LayerFormat format = ReadLayerFormat(GetParam().make(dir));
  EXPECT_EQ(format.fault, GetParam().fault);
  EXPECT_EQ(format.bitCount, GetParam().bitCount);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Formats,
    ::testing::Values(
        FormatCase{"Plain", Layer({}), Fault::None, 24},
        FormatCase{"V5Header", Layer({.infoSize = 124}), Fault::None, 24},
        // Rows are the run's business; the format test reads the header alone.
        FormatCase{"RowsMissing", Layer({.cutBytes = 24}), Fault::None, 24},
        FormatCase{"EightBit", Layer({.bitCount = 8}), Fault::LayerUnsupported, 8},
        FormatCase{"ThirtyTwoBit", Layer({.bitCount = 32}), Fault::LayerUnsupported, 32},
        FormatCase{"Compressed", Layer({.compression = 1}), Fault::LayerUnsupported, 24},
        FormatCase{"TopDown", Layer({.topDown = true}), Fault::LayerUnsupported, 24},
        FormatCase{"NotBM", Layer({.signature = {'P', 'K'}}), Fault::LayerUnsupported, 24},
        FormatCase{"NoBitCountField", Layer({.cutBytes = 24 + 26}), Fault::LayerUnsupported, 0},
        FormatCase{"Missing", [](const TempDir& dir) { return dir / "missing.bmp"; },
                   Fault::LayerNotFound, 0},
        FormatCase{"Directory",
                   [](const TempDir& dir) {
                     std::filesystem::create_directory(dir / "folder.bmp");
                     return dir / "folder.bmp";
                   },
                   Fault::LayerNotFound, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnowel::test
