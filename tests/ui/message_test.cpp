// Every message of the compose and preview commands, read from the box as the user sees it;
// after each, nothing is composed and an earlier result is kept. CTest runs this group under a
// Western and a Japanese locale, which give Wine programs the ANSI code pages 1252 and 932.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "expected_picture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

namespace fs = std::filesystem;

void WriteLayer(const fs::path& file, const test::Picture& picture,
                const test::BmpVariant& variant = {}) {
  test::WriteBytes(file, test::EncodeBmp(picture, variant));
}

// The two layers that the opening settings compose, in the current directory.
void BothLayers(const fs::path& folder) {
  WriteLayer(folder / "filename0.bmp", CornerPicture(5, 3));
  WriteLayer(folder / "filename1.bmp", SpeckledPicture(5, 3));
}

struct MessageCase {
  const char* name;
  void (*files)(const fs::path& folder);
  void (*settings)(const App& app);
  int command;  // IDOK (compose) or IDC_PREVIEW
  const wchar_t* text;
  const wchar_t* caption;
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

void NoSettings(const App&) {}

// A path longer than the record's 254 bytes: still named whole in its message.
const std::wstring kLongPath = std::wstring(300, L'x') + L".bmp";
const std::wstring kLongPathMissing = kLongPath + L"が見つかりません。合成を終了します。";

const MessageCase kMessageCases[] = {
    {"ComposeMissingFile", [](const fs::path& f) { WriteLayer(f / "filename0.bmp", CornerPicture(5, 3)); },
     NoSettings, IDOK, L"filename1.bmpが見つかりません。合成を終了します。", L"File Error"},
    {"ComposeMissingJapaneseName", BothLayers,
     [](const App& app) { app.SetText(IDC_PATH_2, L"見つからない画像.bmp"); }, IDOK,
     L"見つからない画像.bmpが見つかりません。合成を終了します。", L"File Error"},
    {"ComposeMissingLongPath", BothLayers,
     [](const App& app) { app.SetText(IDC_PATH_2, kLongPath); }, IDOK, kLongPathMissing.c_str(),
     L"File Error"},
    {"PreviewMissingFile", [](const fs::path&) {}, NoSettings, IDC_PREVIEW,
     L"filename0.bmpが見つかりません。プレビューを終了します。", L"File Error"},
    {"ComposeEmptyPath", BothLayers, [](const App& app) { app.SetText(IDC_PATH_1, L""); }, IDOK,
     L"が見つかりません。合成を終了します。", L"File Error"},
    {"PreviewEmptyPath", BothLayers, [](const App& app) { app.SetText(IDC_PATH_2, L""); },
     IDC_PREVIEW, L"が見つかりません。プレビューを終了します。", L"File Error"},
    {"ComposeEightBitLayer",
     [](const fs::path& f) {
       WriteLayer(f / "filename0.bmp", CornerPicture(5, 3));
       WriteLayer(f / "filename1.bmp", SpeckledPicture(5, 3), {.bitCount = 8});
     },
     NoSettings, IDOK, L"現在対応していません", L"File Error"},
    {"ComposeLayerIsAFolder",
     [](const fs::path& f) {
       WriteLayer(f / "filename0.bmp", CornerPicture(5, 3));
       fs::create_directory(f / "filename1.bmp");
     },
     NoSettings, IDOK, L"filename1.bmpが見つかりません.", L"File Open Error"},
    {"ComposeSizesDiffer",
     [](const fs::path& f) {
       WriteLayer(f / "filename0.bmp", CornerPicture(5, 3));
       WriteLayer(f / "filename1.bmp", CornerPicture(3, 5));
     },
     NoSettings, IDOK, L"画像の幅高さが異なるため合成できません", L"Error"},
    {"PreviewSizesDiffer",
     [](const fs::path& f) {
       WriteLayer(f / "filename0.bmp", CornerPicture(5, 3));
       WriteLayer(f / "filename2.bmp", CornerPicture(5, 4));
     },
     [](const App& app) {
       app.SetChecked(IDC_ENABLE_2, false);
       app.SetChecked(IDC_ENABLE_3, true);
     },
     IDC_PREVIEW, L"画像の幅高さが異なるため合成できません", L"Error"},
    {"ComposeOutputIsAFolder",
     [](const fs::path& f) {
       BothLayers(f);
       fs::create_directory(f / "fwrite.bmp");
     },
     NoSettings, IDOK, L"file open error", L"File Open Error"},
};

class Messages : public testing::TestWithParam<MessageCase> {};

TEST_P(Messages, ShowsItsTextAndCaptionAndComposesNothing) {
  const MessageCase& c = GetParam();
  test::TempDir folder;
  c.files(folder.path());
  // An earlier result, which no failed command may touch (unless the case puts a folder there).
  const fs::path result = folder.path() / "fwrite.bmp";
  const std::vector<std::uint8_t> earlier = test::EncodeBmp(CornerPicture(2, 1));
  const bool keepsEarlier = !fs::exists(result);
  if (keepsEarlier) test::WriteBytes(result, earlier);
  const std::vector<std::wstring> filesBefore = Listing(folder.path());
  App app(folder.path());
  c.settings(app);

  app.Click(c.command);

  const auto box = app.WaitForBox(c.caption);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, c.text);
  app.Acknowledge(*box);
  app.ExpectNoBox();
  EXPECT_TRUE(app.Running());
  EXPECT_EQ(Listing(folder.path()), filesBefore);
  if (keepsEarlier) {
    EXPECT_EQ(test::ReadBytes(result), earlier) << "the earlier result changed";
  }
  EXPECT_EQ(SendBounded(app.Item(IDC_PREVIEW_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, Messages, testing::ValuesIn(kMessageCases),
                         [](const testing::TestParamInfo<MessageCase>& info) {
                           return std::string(info.param.name);
                         });

// Layers whose names are Japanese compose whatever the locale's code page.
TEST(MessagesJapaneseNames, LayersCompose) {
  test::TempDir folder;
  WriteLayer(folder.path() / L"背景.bmp", CornerPicture(5, 3));
  WriteLayer(folder.path() / L"前景.bmp", SpeckledPicture(5, 3));
  App app(folder.path());
  app.SetText(IDC_PATH_1, L"背景.bmp");
  app.SetText(IDC_PATH_2, L"前景.bmp");

  app.Click(IDOK);

  const auto box = app.WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, L"無事終了") << testing::PrintToString(box->text);
  app.Acknowledge(*box);
  EXPECT_EQ(test::ReadBytes(folder.path() / "fwrite.bmp"),
            test::EncodeBmp(ExpectedComposition(
                {{CornerPicture(5, 3), 0, false}, {SpeckledPicture(5, 3), 10, false}})));
}

// The locale of the run gives Wine its system code page, 1252 or 932: what makes the two runs
// of this group differ. The program's manifest still asks for UTF-8 as its own code page.
TEST(MessagesLocale, SetsTheSystemCodePage) {
  const char* locale = std::getenv("LC_ALL");
  if (locale == nullptr) GTEST_SKIP() << "no LC_ALL: CTest sets it for this group";
  const int expected = std::string_view(locale).starts_with("ja_JP") ? 932 : 1252;
  wchar_t codePage[8] = {};
  GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, codePage, 8);
  EXPECT_EQ(std::wstring(codePage), std::to_wstring(expected)) << locale;
  EXPECT_EQ(GetACP(), UINT(CP_UTF8));
}

}  // namespace
}  // namespace varnowel::uitest
