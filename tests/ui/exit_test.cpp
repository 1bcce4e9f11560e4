// Cancel, Esc and the close box end the program, with exit status 0 whatever the way.
#include <gtest/gtest.h>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

enum class Ending { CancelButton, EscapeKey, SystemClose };

struct EndingCase {
  const char* name;
  Ending ending;
};

void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }

class Exit : public testing::TestWithParam<EndingCase> {};

TEST_P(Exit, EndsTheProcessWithStatusZero) {
  test::TempDir folder;
  App app(folder.path(), Launch::Process);
  switch (GetParam().ending) {
    case Ending::CancelButton: app.Click(IDCANCEL); break;
    case Ending::EscapeKey: app.PressKey(app.Focus(), VK_ESCAPE); break;
    case Ending::SystemClose: PostMessageW(app.dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
  }
  EXPECT_EQ(app.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(test::ReadBytes(folder.path() / "fwrite.bmp").empty()) << "nothing is composed";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Exit,
    testing::Values(EndingCase{"CancelButton", Ending::CancelButton},
                    EndingCase{"EscapeKey", Ending::EscapeKey},
                    EndingCase{"SystemClose", Ending::SystemClose}),
    [](const testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnowel::uitest
