// The main dialog as it opens: texts, check marks, transparency pairs, focus, menu and icon.
#include <gtest/gtest.h>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

class Startup : public testing::Test {
 protected:
  test::TempDir folder;
  App app{folder.path()};
};

TEST_F(Startup, RowsShowTheirDefaultTexts) {
  const struct {
    int id;
    const wchar_t* text;
  } cases[] = {
      {IDC_PATH_1, L"filename0.bmp"}, {IDC_PATH_2, L"filename1.bmp"}, {IDC_PATH_3, L"filename2.bmp"},
      {IDC_TRANSPARENCY_1, L"0"},     {IDC_TRANSPARENCY_2, L"10"},    {IDC_TRANSPARENCY_3, L"30"},
  };
  for (const auto& c : cases) EXPECT_EQ(app.Text(c.id), c.text) << "control " << c.id;
}

TEST_F(Startup, RowsOneAndTwoAreOnWithoutGrayscale) {
  const struct {
    int id;
    bool checked;
  } cases[] = {
      {IDC_ENABLE_1, true},     {IDC_ENABLE_2, true},     {IDC_ENABLE_3, false},
      {IDC_GRAYSCALE_1, false}, {IDC_GRAYSCALE_2, false}, {IDC_GRAYSCALE_3, false},
  };
  for (const auto& c : cases) EXPECT_EQ(app.Checked(c.id), c.checked) << "control " << c.id;
}

TEST_F(Startup, EachBarStandsAtItsEditsValueWithinZeroToHundred) {
  const struct {
    int bar;
    int position;
  } cases[] = {{IDC_BAR_1, 0}, {IDC_BAR_2, 10}, {IDC_BAR_3, 30}};
  for (const auto& c : cases) {
    EXPECT_EQ(app.BarPosition(c.bar), c.position) << "bar " << c.bar;
    EXPECT_EQ(app.BarRange(c.bar), std::make_pair(0, 100)) << "bar " << c.bar;
  }
}

TEST_F(Startup, ComposeButtonHasTheFocusAndThePictureIsEmpty) {
  EXPECT_EQ(app.Focus(), app.Item(IDOK));
  EXPECT_EQ(SendBounded(app.Item(IDC_PREVIEW_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

// Wine answers neither menu queries nor WM_GETICON from another process: the dialog's menu bar
// and icon are checked for presence, their contents in the program file.
class StartupResources : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program, nullptr); }
  void TearDown() override { FreeLibrary(program); }
  HMODULE program = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
};

TEST_F(Startup, DialogHasAMenuBar) { EXPECT_NE(GetMenu(app.dialog()), nullptr); }

TEST_F(StartupResources, MenuHoldsHelpWithVersionOnly) {
  const HMENU menu = LoadMenuW(program, MAKEINTRESOURCEW(IDR_MAINMENU));
  ASSERT_NE(menu, nullptr);
  wchar_t text[64] = {};
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Help");
  const HMENU help = GetSubMenu(menu, 0);
  ASSERT_NE(help, nullptr);
  ASSERT_EQ(GetMenuItemCount(help), 1);
  EXPECT_EQ(GetMenuItemID(help, 0), UINT(IDM_VERSION));
  GetMenuStringW(help, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Version");
  DestroyMenu(menu);
}

TEST_F(StartupResources, IconIsOne32By32ImageOf16Colours) {
#pragma pack(push, 2)
  struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
  };
  struct GroupIcon {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
  };
#pragma pack(pop)
  const HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(IDI_VARNOWEL), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* group = static_cast<const GroupIcon*>(LockResource(LoadResource(program, found)));
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->count, 1);
  EXPECT_EQ(group->entries[0].width, 32);
  EXPECT_EQ(group->entries[0].height, 32);
  EXPECT_EQ(group->entries[0].bitCount, 4);
}

}  // namespace
}  // namespace varnowel::uitest
