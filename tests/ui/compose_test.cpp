// The compose command: fwrite.bmp in the current directory holds exactly what the blend rule
// gives for the rows that are on, however the command is given.
#include <gtest/gtest.h>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "expected_picture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

enum class Trigger { ClickCompose, EnterOnFocusedButton, EnterInPathEdit };

struct ComposeCase {
  const char* name;
  bool on[3];
  bool gray[3];
  const wchar_t* typed[3];  // transparency texts; nullptr keeps the opening text
  int transparency[3];      // what the rows that are on must be composed with
  Trigger trigger;
};

void PrintTo(const ComposeCase& c, std::ostream* out) { *out << c.name; }

constexpr int kEnable[] = {IDC_ENABLE_1, IDC_ENABLE_2, IDC_ENABLE_3};
constexpr int kGray[] = {IDC_GRAYSCALE_1, IDC_GRAYSCALE_2, IDC_GRAYSCALE_3};
constexpr int kTransparency[] = {IDC_TRANSPARENCY_1, IDC_TRANSPARENCY_2, IDC_TRANSPARENCY_3};

std::vector<test::Picture> RowPictures() {
  test::Picture third(5, 3);
  third.at(1, 1) = {0, 128, 255};
  third.at(4, 2) = {90, 90, 90};
  third.at(0, 0) = {1, 2, 3};
  return {CornerPicture(5, 3), SpeckledPicture(5, 3), third};
}

class Compose : public testing::TestWithParam<ComposeCase> {};

TEST_P(Compose, WritesTheBlendOfTheRowsThatAreOn) {
  const ComposeCase& c = GetParam();
  test::TempDir folder;
  const std::vector<test::Picture> pictures = RowPictures();
  std::vector<LayerSetting> expected;
  for (int row = 0; row < 3; ++row) {
    test::WriteBytes(folder.path() / ("filename" + std::to_string(row) + ".bmp"),
                     test::EncodeBmp(pictures[row]));
    if (c.on[row]) expected.push_back({pictures[row], c.transparency[row], c.gray[row]});
  }
  App app(folder.path());
  for (int row = 0; row < 3; ++row) {
    app.SetChecked(kEnable[row], c.on[row]);
    app.SetChecked(kGray[row], c.gray[row]);
    if (c.typed[row] != nullptr) app.SetText(kTransparency[row], c.typed[row]);
  }

  switch (c.trigger) {
    case Trigger::ClickCompose: app.Click(IDOK); break;
    case Trigger::EnterOnFocusedButton: app.PressKey(app.Focus(), VK_RETURN); break;
    case Trigger::EnterInPathEdit: app.PressKey(app.Item(IDC_PATH_2), VK_RETURN); break;
  }

  const auto box = app.WaitForBox(L"無事終了");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"合成終了");
  app.Acknowledge(*box);
  app.ExpectNoBox();
  const test::Picture result = expected.empty() ? test::Picture() : ExpectedComposition(expected);
  EXPECT_EQ(test::ReadBytes(folder.path() / "fwrite.bmp"), test::EncodeBmp(result));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Compose,
    testing::Values(
        ComposeCase{"OpeningSettings", {true, true, false}, {}, {}, {0, 10, 30},
                    Trigger::ClickCompose},
        ComposeCase{"ThreeRowsMiddleGray", {true, true, true}, {false, true, false}, {},
                    {0, 10, 30}, Trigger::EnterOnFocusedButton},
        ComposeCase{"TypedTransparenciesOuterRowsGray",
                    {true, false, true},
                    {true, true, true},
                    {L"45", L"", L"100"},
                    {45, 0, 100},
                    Trigger::EnterInPathEdit},
        ComposeCase{"NoRowGivesHeadersAlone", {false, false, false}, {true, true, true}, {},
                    {}, Trigger::ClickCompose}),
    [](const testing::TestParamInfo<ComposeCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnowel::uitest
