// The About box: Help > Version opens it over a disabled main dialog; OK, Enter, Esc and the
// close box all close it and leave the main dialog as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

constexpr const wchar_t* kAboutCaption = L"バージョン情報 Varnowel";

enum class Closing { ClickOk, EnterKey, EscapeKey, SystemClose, CloseMessage };

struct ClosingCase {
  const char* name;
  Closing closing;
};

void PrintTo(const ClosingCase& c, std::ostream* out) { *out << c.name; }

void Close(const Box& about, Closing closing) {
  const HWND ok = GetDlgItem(about.window, IDOK);
  switch (closing) {
    case Closing::ClickOk: PostMessageW(ok, BM_CLICK, 0, 0); break;
    case Closing::EnterKey: PostMessageW(ok, WM_KEYDOWN, VK_RETURN, 1); break;
    case Closing::EscapeKey: PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 1); break;
    case Closing::SystemClose: PostMessageW(about.window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case Closing::CloseMessage: PostMessageW(about.window, WM_CLOSE, 0, 0); break;
  }
}

// The texts of a window's child controls, in creation order.
std::vector<std::wstring> ChildTexts(HWND window) {
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(WindowText(child));
  }
  return texts;
}

class About : public testing::TestWithParam<ClosingCase> {};

TEST_P(About, ClosesAndLeavesTheMainDialogAsItWas) {
  test::TempDir folder;
  App app(folder.path());
  app.SetText(IDC_TRANSPARENCY_2, L"57");
  app.SetChecked(IDC_GRAYSCALE_3, true);
  const std::vector<std::wstring> before = ChildTexts(app.dialog());

  for (int opening = 0; opening < 2; ++opening) {
    app.Command(IDM_VERSION);
    const auto about = app.WaitForBox(kAboutCaption);
    ASSERT_TRUE(about) << "opening " << opening;
    EXPECT_FALSE(IsWindowEnabled(app.dialog()));
    EXPECT_EQ(GetWindow(about->window, GW_OWNER), app.dialog());

    Close(*about, GetParam().closing);

    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about->window); })) << "opening " << opening;
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.dialog()) != FALSE; }));
  }
  EXPECT_EQ(ChildTexts(app.dialog()), before);
  EXPECT_EQ(app.BarPosition(IDC_BAR_2), 57);
  EXPECT_TRUE(app.Checked(IDC_GRAYSCALE_3));
  EXPECT_TRUE(app.Running());
  app.ExpectNoBox();
}

INSTANTIATE_TEST_SUITE_P(
    Ways, About,
    testing::Values(ClosingCase{"ClickOk", Closing::ClickOk},
                    ClosingCase{"EnterKey", Closing::EnterKey},
                    ClosingCase{"EscapeKey", Closing::EscapeKey},
                    ClosingCase{"SystemClose", Closing::SystemClose},
                    ClosingCase{"CloseMessage", Closing::CloseMessage}),
    [](const testing::TestParamInfo<ClosingCase>& info) { return std::string(info.param.name); });

TEST(AboutBox, ShowsNameVersionAndOnlyOneButton) {
  test::TempDir folder;
  App app(folder.path());
  app.Command(IDM_VERSION);
  const auto about = app.WaitForBox(kAboutCaption);
  ASSERT_TRUE(about);
  const std::vector<std::wstring> texts = ChildTexts(about->window);
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"Varnowel, Version 1.2.0.1"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"ポリシー"), texts.end());
  EXPECT_EQ(WindowText(GetDlgItem(about->window, IDOK)), L"OK");
  EXPECT_EQ(GetDlgItem(about->window, IDCANCEL), nullptr);
  Close(*about, Closing::ClickOk);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about->window); }));
}

}  // namespace
}  // namespace varnowel::uitest
