// The BMP layout: fill bytes per row, file sizes and the exact header bytes written.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "varnowel/bmp_layout.h"

namespace varnowel::bmp {
namespace {

struct RowCase {
  std::int32_t width;
  std::uint64_t fill;
  std::uint64_t stride;
};

class RowCases : public ::testing::TestWithParam<RowCase> {};

TEST_P(RowCases, FillMakesRowsAMultipleOfFour) {
  const RowCase& c = GetParam();
  EXPECT_EQ(FillCount(c.width), c.fill);
  EXPECT_EQ(RowStride(c.width), c.stride);
}

INSTANTIATE_TEST_SUITE_P(Widths, RowCases,
                         ::testing::Values(RowCase{0, 0, 0}, RowCase{1, 1, 4}, RowCase{2, 2, 8},
                                           RowCase{3, 3, 12}, RowCase{4, 0, 12},
                                           RowCase{5, 1, 16}, RowCase{12000, 0, 36000}));

TEST(FileSize, HeaderPlusStoredRows) {
  EXPECT_EQ(FileSize(1, 2), 62u);
  EXPECT_EQ(FileSize(0, 0), 54u);
  EXPECT_EQ(FileSize(7, 0), 54u);
  EXPECT_EQ(FileSize(0, 9), 54u);
  // Computed in 64 bits: 3 x 70000 x 70000 overflows 32-bit arithmetic.
  EXPECT_EQ(FileSize(70000, 70000), 54u + 210000ull * 70000ull);
}

TEST(MakeHeader, OnePixelWideTwoRowsHigh) {
  const std::array<std::uint8_t, 54> expected = {
      'B', 'M', 62, 0, 0, 0,  // bfType, bfSize
      0, 0, 0, 0,             // reserved
      54, 0, 0, 0,            // bfOffBits
      40, 0, 0, 0,            // biSize
      1, 0, 0, 0,             // biWidth
      2, 0, 0, 0,             // biHeight: positive, bottom row first
      1, 0,                   // biPlanes
      24, 0,                  // biBitCount
      0, 0, 0, 0,             // biCompression
      0, 0, 0, 0,             // biSizeImage
      0, 0, 0, 0, 0, 0, 0, 0, // pixels per metre
      0, 0, 0, 0, 0, 0, 0, 0, // colours used, important
  };
  EXPECT_EQ(MakeHeader(1, 2), expected);
}

TEST(MakeHeader, MultiByteFieldsAreLittleEndian) {
  const auto header = MakeHeader(1000, 70000);  // 0x3E8 x 0x11170
  EXPECT_EQ(ReadU32(header, kOffsetFileSize), 54u + 3000u * 70000u);
  EXPECT_EQ(header[kOffsetWidth], 0xE8);
  EXPECT_EQ(header[kOffsetWidth + 1], 0x03);
  EXPECT_EQ(header[kOffsetHeight], 0x70);
  EXPECT_EQ(header[kOffsetHeight + 1], 0x11);
  EXPECT_EQ(header[kOffsetHeight + 2], 0x01);
  EXPECT_EQ(ReadI32(header, kOffsetHeight), 70000);
}

TEST(ReadFields, SignedAndUnsigned) {
  const std::array<std::uint8_t, 6> bytes = {0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12};
  EXPECT_EQ(ReadI32(bytes, 0), -2);
  EXPECT_EQ(ReadU32(bytes, 0), 0xFFFFFFFEu);
  EXPECT_EQ(ReadU16(bytes, 4), 0x1234);
}

}  // namespace
}  // namespace varnowel::bmp
