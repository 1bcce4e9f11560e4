// The dialog's look: version 6 (themed) controls, and a layout at the system's DPI rather
// than a 96-DPI picture stretched by the system. VARNOWEL_TEST_DPI names the DPI that the
// Wine prefix was set to (96 when unset).
#include <gtest/gtest.h>

#include <cstdlib>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

#include <commctrl.h>

namespace varnowel::uitest {
namespace {

UINT ExpectedDpi() {
  const char* dpi = std::getenv("VARNOWEL_TEST_DPI");
  return dpi != nullptr ? UINT(std::atoi(dpi)) : 96u;
}

class Look : public testing::Test {
 protected:
  test::TempDir folder;
  App app{folder.path()};
};

TEST_F(Look, ButtonsAreVersion6Controls) {
  // Only the version 6 button answers for its ideal size.
  SIZE ideal{};
  EXPECT_TRUE(SendBounded(app.Item(IDOK), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
  EXPECT_GT(ideal.cx, 0);
}

TEST_F(Look, DialogIsLaidOutAtTheSystemDpi) {
  EXPECT_NE(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(app.dialog())),
            DPI_AWARENESS_UNAWARE);
  EXPECT_EQ(GetDpiForWindow(app.dialog()), ExpectedDpi());
  // The 8-point dialog font at that DPI, so that texts are drawn sharp at their size.
  const auto font = reinterpret_cast<HFONT>(SendBounded(app.dialog(), WM_GETFONT, 0, 0));
  LOGFONTW face{};
  ASSERT_NE(GetObjectW(font, sizeof face, &face), 0);
  EXPECT_EQ(std::abs(face.lfHeight), MulDiv(8, int(ExpectedDpi()), 72));
}

}  // namespace
}  // namespace varnowel::uitest
