// The transparency pairs: typed texts move the bar, scroll codes rewrite the edit, 0..100.
#include <gtest/gtest.h>

#include <memory>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

struct Pair {
  int edit;
  int bar;
};
constexpr Pair kPairs[] = {{IDC_TRANSPARENCY_1, IDC_BAR_1},
                           {IDC_TRANSPARENCY_2, IDC_BAR_2},
                           {IDC_TRANSPARENCY_3, IDC_BAR_3}};

// One program serves the whole group: every case first types the state it starts from.
class TransparencyProgram {
 public:
  static App& Get() {
    static TransparencyProgram shared;
    return *shared.app_;
  }

 private:
  test::TempDir folder_;
  std::unique_ptr<App> app_ = std::make_unique<App>(folder_.path());
};

struct TypedCase {
  int pair;
  const wchar_t* text;
  int value;
};

void PrintTo(const TypedCase& c, std::ostream* out) {
  *out << "pair " << c.pair << " typed " << testing::PrintToString(std::wstring(c.text));
}

class TransparencyTyped : public testing::TestWithParam<TypedCase> {};

TEST_P(TransparencyTyped, MovesTheBarAndKeepsTheText) {
  App& app = TransparencyProgram::Get();
  const Pair pair = kPairs[GetParam().pair];
  app.SetText(pair.edit, L"55");
  ASSERT_EQ(app.BarPosition(pair.bar), 55);
  const int others[] = {app.BarPosition(IDC_BAR_1), app.BarPosition(IDC_BAR_2),
                        app.BarPosition(IDC_BAR_3)};

  app.SetText(pair.edit, GetParam().text);

  EXPECT_EQ(app.BarPosition(pair.bar), GetParam().value);
  EXPECT_EQ(app.Text(pair.edit), GetParam().text);
  for (int i = 0; i < 3; ++i) {
    if (kPairs[i].bar != pair.bar) {
      EXPECT_EQ(app.BarPosition(kPairs[i].bar), others[i]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, TransparencyTyped,
                         testing::Values(TypedCase{0, L"", 0}, TypedCase{1, L"abc", 0},
                                         TypedCase{2, L"  42", 42}, TypedCase{0, L"42abc", 42},
                                         TypedCase{1, L"+7", 7}, TypedCase{2, L"-5", 0},
                                         TypedCase{0, L"150", 100},
                                         TypedCase{1, L"99999999999", 100},
                                         TypedCase{2, L"100", 100}, TypedCase{0, L"0", 0}));

struct ScrollCase {
  int pair;
  const wchar_t* start;  // typed before the scroll code
  int code;
  int thumb;
  int value;
};

void PrintTo(const ScrollCase& c, std::ostream* out) {
  *out << "pair " << c.pair << " from " << testing::PrintToString(std::wstring(c.start))
       << " code " << c.code << " thumb " << c.thumb;
}

class TransparencyScrolled : public testing::TestWithParam<ScrollCase> {};

TEST_P(TransparencyScrolled, SetsTheBarAndRewritesTheEdit) {
  App& app = TransparencyProgram::Get();
  const ScrollCase& c = GetParam();
  const Pair pair = kPairs[c.pair];
  app.SetText(pair.edit, c.start);

  app.Scroll(pair.bar, c.code, c.thumb);

  EXPECT_EQ(app.BarPosition(pair.bar), c.value);
  EXPECT_EQ(app.Text(pair.edit), std::to_wstring(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TransparencyScrolled,
    testing::Values(ScrollCase{0, L"0", SB_LINELEFT, 0, 0}, ScrollCase{1, L"0", SB_PAGELEFT, 0, 0},
                    ScrollCase{2, L"100", SB_LINERIGHT, 0, 100},
                    ScrollCase{0, L"100", SB_PAGERIGHT, 0, 100},
                    ScrollCase{1, L"5", SB_PAGELEFT, 0, 0}, ScrollCase{2, L"95", SB_PAGERIGHT, 0, 100},
                    ScrollCase{0, L"85", SB_PAGERIGHT, 0, 95},
                    ScrollCase{1, L"50", SB_LINELEFT, 0, 49},
                    ScrollCase{2, L"50", SB_LINERIGHT, 0, 51},
                    ScrollCase{0, L"50", SB_THUMBTRACK, 37, 37},
                    ScrollCase{1, L"50", SB_THUMBPOSITION, 37, 37},
                    // The value, not the text, is what a scroll starts from.
                    ScrollCase{2, L"150", SB_LINELEFT, 0, 99},
                    ScrollCase{0, L"150", SB_ENDSCROLL, 0, 100},
                    ScrollCase{1, L"-5", SB_ENDSCROLL, 0, 0},
                    ScrollCase{2, L"  42", SB_LEFT, 0, 42},
                    ScrollCase{0, L"42abc", SB_RIGHT, 0, 42}));

TEST(TransparencyDrag, ThumbShowsItsPositionWhileDraggingAndAfterRelease) {
  App& app = TransparencyProgram::Get();
  app.SetText(IDC_TRANSPARENCY_2, L"10");
  for (const int code : {SB_THUMBTRACK, SB_THUMBPOSITION}) {
    app.Scroll(IDC_BAR_2, code, 37);
    EXPECT_EQ(app.Text(IDC_TRANSPARENCY_2), L"37") << "code " << code;
  }
  app.Scroll(IDC_BAR_2, SB_ENDSCROLL);
  EXPECT_EQ(app.Text(IDC_TRANSPARENCY_2), L"37");
  EXPECT_EQ(app.BarPosition(IDC_BAR_2), 37);
}

TEST(TransparencyForeign, ScrollFromAnotherWindowChangesNothing) {
  App& app = TransparencyProgram::Get();
  const wchar_t* texts[] = {L"150", L"7", L"-5"};
  for (int i = 0; i < 3; ++i) app.SetText(kPairs[i].edit, texts[i]);

  SendBounded(app.dialog(), WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
              reinterpret_cast<LPARAM>(app.Item(IDOK)));

  const int values[] = {100, 7, 0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(app.Text(kPairs[i].edit), texts[i]);
    EXPECT_EQ(app.BarPosition(kPairs[i].bar), values[i]);
  }
}

}  // namespace
}  // namespace varnowel::uitest
