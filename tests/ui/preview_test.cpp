// The preview command: the composed picture shows in control 1017 at its own size, and no file
// is left behind; a file C:\fwrite.bmp of the user's survives.
#include <gtest/gtest.h>

#include <filesystem>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "expected_picture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

namespace fs = std::filesystem;

fs::path TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  return folder;
}

class Preview : public testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(userFile, userBytes);
    WriteLayers(37, 23);
    tempBefore = Listing(TemporaryFolder());
    folderBefore = Listing(folder.path());
  }
  void TearDown() override {
    EXPECT_EQ(test::ReadBytes(userFile), userBytes) << "C:\\fwrite.bmp was changed";
    std::error_code ignored;
    fs::remove(userFile, ignored);
  }

  void WriteLayers(int width, int height) {
    test::WriteBytes(folder / "filename0.bmp", test::EncodeBmp(CornerPicture(width, height)));
    test::WriteBytes(folder / "filename1.bmp", test::EncodeBmp(SpeckledPicture(width, height)));
  }

  // Previews and waits until the picture control has taken the size of a width x height image.
  void ExpectPreviewOfSize(App& app, int width, int height) {
    app.Click(IDC_PREVIEW);
    const bool sized = WaitUntil([&] {
      const SIZE size = app.ClientSize(IDC_PREVIEW_PICTURE);
      return size.cx == width && size.cy == height;
    });
    const SIZE size = app.ClientSize(IDC_PREVIEW_PICTURE);
    EXPECT_TRUE(sized) << "picture control is " << size.cx << " x " << size.cy;
    EXPECT_NE(SendBounded(app.Item(IDC_PREVIEW_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    app.ExpectNoBox();
    EXPECT_EQ(Listing(TemporaryFolder()), tempBefore);
    EXPECT_EQ(Listing(folder.path()), folderBefore);
  }

  const fs::path userFile = L"C:\\fwrite.bmp";
  const std::vector<std::uint8_t> userBytes = test::EncodeBmp(CornerPicture(2, 2));
  test::TempDir folder;
  std::vector<std::wstring> tempBefore;
  std::vector<std::wstring> folderBefore;
};

TEST_F(Preview, ShowsThePictureAtItsSizeAndLeavesNoFile) {
  App app(folder.path());
  ExpectPreviewOfSize(app, 37, 23);
}

TEST_F(Preview, SecondPreviewReplacesTheFirst) {
  App app(folder.path());
  ExpectPreviewOfSize(app, 37, 23);
  WriteLayers(11, 6);
  ExpectPreviewOfSize(app, 11, 6);
}

TEST_F(Preview, KeepsTheCheckBoxesAndAComposeAfterItStillUsesThem) {
  App app(folder.path());
  app.SetChecked(IDC_GRAYSCALE_2, true);
  ExpectPreviewOfSize(app, 37, 23);
  EXPECT_TRUE(app.Checked(IDC_ENABLE_1));
  EXPECT_TRUE(app.Checked(IDC_ENABLE_2));
  EXPECT_TRUE(app.Checked(IDC_GRAYSCALE_2));

  app.Click(IDOK);

  const auto box = app.WaitForBox(L"無事終了");
  ASSERT_TRUE(box);
  app.Acknowledge(*box);
  EXPECT_EQ(test::ReadBytes(folder / "fwrite.bmp"),
            test::EncodeBmp(ExpectedComposition(
                {{CornerPicture(37, 23), 0, false}, {SpeckledPicture(37, 23), 10, true}})));
}

}  // namespace
}  // namespace varnowel::uitest
