// Broken and hostile layer files through the real dialog: each gets its message box, and after
// OK the dialog composes again as soon as the layer is mended, with nothing lost in between.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "expected_picture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

namespace fs = std::filesystem;

// The opening settings compose filename0.bmp (row 1) under filename1.bmp (row 2).
const test::Picture kBottom = CornerPicture(5, 3);
const test::Picture kTop = SpeckledPicture(5, 3);

std::vector<std::uint8_t> Layer(const test::Picture& picture, const test::BmpVariant& variant = {}) {
  return test::EncodeBmp(picture, variant);
}

// A header that claims width x height over a file of `length` bytes; what lies beyond the
// header is a hole that takes no disk space.
void Declared(const fs::path& file, std::int32_t width, std::int32_t height,
              std::uintmax_t length) {
  std::vector<std::uint8_t> bytes = test::EncodeBmp(test::Picture(0, 0));
  for (int i = 0; i < 4; ++i) {
    bytes[18 + i] = std::uint8_t(std::uint32_t(width) >> (8 * i));
    bytes[22 + i] = std::uint8_t(std::uint32_t(height) >> (8 * i));
  }
  test::WriteBytes(file, bytes);
  // Lengthened through the system rather than std::filesystem::resize_file, whose mingw-w64
  // implementation surveys every volume's free space first and brought Wine down doing so.
  const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE) << file;
  LARGE_INTEGER end;
  end.QuadPart = LONGLONG(length);
  EXPECT_TRUE(SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle)) << file;
  CloseHandle(handle);
}

constexpr const wchar_t* kUnsupported = L"現在対応していません";
constexpr const wchar_t* kSizesDiffer = L"画像の幅高さが異なるため合成できません";
constexpr const wchar_t* kTooLarge = L"画像が大きすぎるため合成できません";

struct BadInputCase {
  const char* name;
  int row;                               // 0 or 1: which of the two layers is broken
  void (*write)(const fs::path& file);   // writes the broken layer file
  const wchar_t* text;
  const wchar_t* caption;
};

void PrintTo(const BadInputCase& c, std::ostream* out) { *out << c.name; }

const std::wstring kTruncatedTop = L"filename1.bmpの読み込みに失敗しました。";

// 5 x 3 rows of 16 bytes: 48 bytes of pixels after the 54-byte header.
const BadInputCase kBadInputCases[] = {
    {"EmptyFile", 1, [](const fs::path& f) { test::WriteBytes(f, {}); }, kUnsupported,
     L"File Error"},
    {"TextFile", 1, [](const fs::path& f) { test::WriteBytes(f, {'h', 'e', 'l', 'l', 'o'}); },
     kUnsupported, L"File Error"},
    {"NotBM", 1, [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.signature = {'B', 'A'}})); },
     kUnsupported, L"File Error"},
    {"CoreHeader", 1, [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.infoSize = 12})); },
     kUnsupported, L"File Error"},
    {"ThirtyTwoBit", 1, [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.bitCount = 32})); },
     kUnsupported, L"File Error"},
    {"RunLength", 1, [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.compression = 1})); },
     kUnsupported, L"File Error"},
    {"BitFields", 1, [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.compression = 3})); },
     kUnsupported, L"File Error"},
    {"HeaderCutShort", 1,
     [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.cutBytes = 48 + 14})); },
     kUnsupported, L"File Error"},
    {"RowsStartInsideTheHeaders", 1,
     [](const fs::path& f) {
       std::vector<std::uint8_t> bytes = Layer(kTop);
       bytes[10] = 20;  // bfOffBits inside the information header
       test::WriteBytes(f, bytes);
     },
     kUnsupported, L"File Error"},
    {"OneByteShort", 1, [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.cutBytes = 1})); },
     kTruncatedTop.c_str(), L"File Error"},
    {"HeaderWithoutRows", 1,
     [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.cutBytes = 48})); },
     kTruncatedTop.c_str(), L"File Error"},
    {"ClaimsAHugePictureOverAFewBytes", 1,
     [](const fs::path& f) { Declared(f, 5, 2'000'000'000, 54 + 16); }, kSizesDiffer, L"Error"},
    {"TopDownBesideBottomUp", 1,
     [](const fs::path& f) { test::WriteBytes(f, Layer(kTop, {.topDown = true})); },
     kSizesDiffer, L"Error"},
    // Both layers claim 30000 x 50000, over the 4 GiB that a BMP file can state; the holes
    // make them as long as their rows without using the disk.
    {"TooLargeForABmpFile", 0,
     [](const fs::path& f) {
       Declared(f, 30000, 50000, 4'500'000'054);
       Declared(f.parent_path() / "filename1.bmp", 30000, 50000, 4'500'000'054);
     },
     kTooLarge, L"Error"},
};

class BadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, ShowsItsMessageThenComposesOnceMended) {
  const BadInputCase& c = GetParam();
  test::TempDir folder;
  const fs::path bottom = folder.path() / "filename0.bmp";
  const fs::path top = folder.path() / "filename1.bmp";
  test::WriteBytes(bottom, Layer(kBottom));
  test::WriteBytes(top, Layer(kTop));
  c.write(c.row == 0 ? bottom : top);
  const fs::path result = folder.path() / "fwrite.bmp";
  const std::vector<std::uint8_t> earlier = Layer(CornerPicture(2, 1));
  test::WriteBytes(result, earlier);
  const std::vector<std::wstring> filesBefore = Listing(folder.path());
  App app(folder.path());

  app.Click(IDOK);
  const auto box = app.WaitForBox(c.caption);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, c.text);
  app.Acknowledge(*box);
  app.ExpectNoBox();
  EXPECT_EQ(test::ReadBytes(result), earlier) << "the earlier result changed";
  EXPECT_EQ(Listing(folder.path()), filesBefore);

  // The user mends the layers and composes again in the same dialog.
  test::WriteBytes(bottom, Layer(kBottom));
  test::WriteBytes(top, Layer(kTop));
  app.Click(IDOK);
  const auto done = app.WaitForBox(L"無事終了");
  ASSERT_TRUE(done);
  app.Acknowledge(*done);
  EXPECT_EQ(test::ReadBytes(result),
            test::EncodeBmp(ExpectedComposition({{kBottom, 0, false}, {kTop, 10, false}})));
}

INSTANTIATE_TEST_SUITE_P(Layers, BadInput, testing::ValuesIn(kBadInputCases),
                         [](const testing::TestParamInfo<BadInputCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace varnowel::uitest
