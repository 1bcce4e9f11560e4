// The preview fits the free area below the rows: a larger picture is scaled down keeping its
// aspect ratio, a smaller one is shown pixel for pixel; the bitmap replaced is released.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

// Four quadrants of distinct colours, none white, so each corner of the picture is known.
constexpr test::Pixel kTopLeft{0, 0, 200};
constexpr test::Pixel kTopRight{0, 180, 0};
constexpr test::Pixel kBottomLeft{190, 0, 0};
constexpr test::Pixel kBottomRight{60, 70, 80};

test::Picture Quadrants(int width, int height) {
  test::Picture picture(width, height);
  for (int row = 0; row < height; ++row) {  // row 0 is the bottom row
    const bool top = row >= height / 2;
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      picture.at(x, row) = top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
    }
  }
  return picture;
}

// The pixels of a bitmap of this process, in stored row order (row 0 at the bottom).
test::Picture PixelsOf(HBITMAP bitmap) {
  BITMAP header{};
  if (GetObjectW(bitmap, sizeof header, &header) == 0) {
    ADD_FAILURE() << "no bitmap " << bitmap;
    return {};
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = header.bmWidth;
  info.bmiHeader.biHeight = header.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const std::size_t stride = (std::size_t(header.bmWidth) * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> rows(stride * std::size_t(header.bmHeight));
  const HDC screen = GetDC(nullptr);
  const int read = GetDIBits(screen, bitmap, 0, UINT(header.bmHeight), rows.data(), &info,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(read, header.bmHeight) << "GetDIBits";
  test::Picture picture(header.bmWidth, header.bmHeight);
  for (int row = 0; row < header.bmHeight; ++row) {
    for (int x = 0; x < header.bmWidth; ++x) {
      const std::uint8_t* p = &rows[std::size_t(row) * stride + std::size_t(x) * 3];
      picture.at(x, row) = {p[0], p[1], p[2]};
    }
  }
  return picture;
}

class PreviewFit : public testing::Test {
 protected:
  void SetUp() override { app.SetChecked(IDC_ENABLE_2, false); }

  // The free area in pixels as the dialog is laid out: from the picture control's corner to
  // the right edge of Cancel (the dialog's right margin), down to 4 dialog units above the
  // compose and Cancel buttons.
  RECT AreaPixels() const {
    RECT gap{0, 0, 0, 4};
    MapDialogRect(app.dialog(), &gap);
    const RECT picture = ControlRect(IDC_PREVIEW_PICTURE);
    return {picture.left, picture.top, ControlRect(IDCANCEL).right,
            std::min(ControlRect(IDOK).top, ControlRect(IDCANCEL).top) - gap.bottom};
  }

  RECT ControlRect(int id) const {
    RECT rect{};
    GetWindowRect(app.Item(id), &rect);
    MapWindowPoints(nullptr, app.dialog(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  // Previews `layer` (row 1 alone, opaque) and returns the bitmap the control then shows.
  HBITMAP Preview(const test::Picture& layer) {
    test::WriteBytes(folder.path() / "filename0.bmp", test::EncodeBmp(layer));
    const HWND control = app.Item(IDC_PREVIEW_PICTURE);
    const LRESULT before = SendBounded(control, STM_GETIMAGE, IMAGE_BITMAP, 0);
    app.Click(IDC_PREVIEW);
    WaitUntil([&] { return SendBounded(control, STM_GETIMAGE, IMAGE_BITMAP, 0) != before; });
    app.ExpectNoBox();
    return reinterpret_cast<HBITMAP>(SendBounded(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  }

  // The control shows `bitmap` whole, inside the free area.
  void ExpectShownWithinTheArea(HBITMAP bitmap) const {
    BITMAP header{};
    ASSERT_NE(GetObjectW(bitmap, sizeof header, &header), 0);
    const RECT shown = ControlRect(IDC_PREVIEW_PICTURE);
    const RECT area = AreaPixels();
    EXPECT_EQ(app.ClientSize(IDC_PREVIEW_PICTURE).cx, header.bmWidth);
    EXPECT_EQ(app.ClientSize(IDC_PREVIEW_PICTURE).cy, header.bmHeight);
    EXPECT_EQ(shown.left, area.left);
    EXPECT_EQ(shown.top, area.top);
    EXPECT_LE(shown.right, area.right);
    EXPECT_LE(shown.bottom, area.bottom);
  }

  test::TempDir folder;
  App app{folder.path()};
};

TEST_F(PreviewFit, LargerPictureIsScaledDownToFitKeepingItsAspectRatio) {
  const RECT area = AreaPixels();
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  // Sizes that scale exactly: twice the area's width (width-bound), three times its height
  // (height-bound), and both sides too large.
  const struct {
    const char* name;
    SIZE picture;
    SIZE shown;
  } cases[] = {
      {"wide", {2 * areaWidth, 2 * (areaHeight / 3)}, {areaWidth, areaHeight / 3}},
      {"tall", {3 * (areaWidth / 4), 3 * areaHeight}, {areaWidth / 4, areaHeight}},
      {"both larger", {4 * areaWidth, 4 * (areaHeight / 2)}, {areaWidth, areaHeight / 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HBITMAP bitmap = Preview(Quadrants(c.picture.cx, c.picture.cy));
    const test::Picture shown = PixelsOf(bitmap);
    ASSERT_EQ(shown.width, c.shown.cx);
    ASSERT_EQ(shown.height, c.shown.cy);
    EXPECT_EQ(shown.at(0, shown.height - 1), kTopLeft);
    EXPECT_EQ(shown.at(shown.width - 1, shown.height - 1), kTopRight);
    EXPECT_EQ(shown.at(0, 0), kBottomLeft);
    EXPECT_EQ(shown.at(shown.width - 1, 0), kBottomRight);
    ExpectShownWithinTheArea(bitmap);
  }
}

TEST_F(PreviewFit, PictureThatFitsIsShownPixelForPixel) {
  const RECT area = AreaPixels();
  const struct {
    const char* name;
    SIZE picture;
  } cases[] = {
      {"small", {37, 23}},
      {"exactly the area", {area.right - area.left, area.bottom - area.top}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::Picture picture = Quadrants(c.picture.cx, c.picture.cy);
    picture.at(1, 1) = {1, 2, 3};
    const HBITMAP bitmap = Preview(picture);
    EXPECT_EQ(PixelsOf(bitmap), picture);
    ExpectShownWithinTheArea(bitmap);
  }
}

TEST_F(PreviewFit, NextPreviewReleasesTheBitmapItReplaces) {
  const RECT area = AreaPixels();
  const HBITMAP scaled = Preview(Quadrants(2 * (area.right - area.left), 20));
  ASSERT_EQ(GetObjectType(scaled), DWORD(OBJ_BITMAP));
  const HBITMAP small = Preview(Quadrants(9, 5));
  ASSERT_NE(small, scaled);
  EXPECT_EQ(GetObjectType(scaled), 0u) << "the replaced bitmap is still allocated";
  Preview(Quadrants(2 * (area.right - area.left), 20));
  EXPECT_EQ(GetObjectType(small), 0u) << "the replaced bitmap is still allocated";
}

}  // namespace
}  // namespace varnowel::uitest
