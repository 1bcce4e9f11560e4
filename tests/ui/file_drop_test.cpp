// Files dropped from Explorer: they fill the path edits from the row under the drop point
// down, the first row when dropped off the rows; folders and files beyond row 3 are left out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_driver.h"
#include "bmp_fixture.h"
#include "resource_ids.h"

#include <shellapi.h>
#include <shlobj.h>

namespace varnowel::uitest {
namespace {

namespace fs = std::filesystem;

constexpr int kPath[] = {IDC_PATH_1, IDC_PATH_2, IDC_PATH_3};
constexpr int kChecks[] = {IDC_ENABLE_1,    IDC_ENABLE_2,    IDC_ENABLE_3,
                           IDC_GRAYSCALE_1, IDC_GRAYSCALE_2, IDC_GRAYSCALE_3};
const wchar_t* const kOpeningPath[] = {L"filename0.bmp", L"filename1.bmp", L"filename2.bmp"};

// Where the files are dropped: the centre of a control, or below the rows.
struct DropPlace {
  int control;  // 0: in the free area under the rows
};

struct DropCase {
  const char* name;
  DropPlace place;
  std::vector<const wchar_t*> names;  // "dir" is a folder, the others files
  const wchar_t* paths[3];            // what the path edits then hold; nullptr: unchanged
};

void PrintTo(const DropCase& c, std::ostream* out) { *out << c.name; }

// What Explorer hands over: a DROPFILES header, then the wide names, each NUL-terminated, and
// one more NUL. The receiver frees it with DragFinish.
HDROP MakeDrop(POINT point, const std::vector<std::wstring>& names) {
  std::wstring list;
  for (const std::wstring& name : names) list += name + L'\0';
  list += L'\0';
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = point;
  drop->fNC = FALSE;
  drop->fWide = TRUE;
  std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(drop + 1));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

class FileDrop : public testing::TestWithParam<DropCase> {
 protected:
  // The drop point in the dialog's client coordinates.
  POINT PointOf(DropPlace place) const {
    RECT rect{};
    if (place.control != 0) {
      GetWindowRect(app.Item(place.control), &rect);
      MapWindowPoints(nullptr, app.dialog(), reinterpret_cast<POINT*>(&rect), 2);
    } else {
      rect = {15, 150, 100, 200};  // dialog units, well below the rows
      MapDialogRect(app.dialog(), &rect);
    }
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  test::TempDir folder;
  App app{folder.path()};
};

TEST_P(FileDrop, FillsThePathEditsFromTheRowDropOnDown) {
  const DropCase& c = GetParam();
  fs::create_directory(folder.path() / "dir");
  std::vector<std::wstring> names;
  for (const wchar_t* name : c.names) {
    const fs::path path = folder.path() / name;
    if (!fs::exists(path)) test::WriteBytes(path, test::EncodeBmp(test::Picture(2, 2)));
    names.push_back(path.wstring());
  }
  std::vector<bool> checked;
  for (const int id : kChecks) checked.push_back(app.Checked(id));

  SendBounded(app.dialog(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(PointOf(c.place), names)),
              0);

  for (int row = 0; row < 3; ++row) {
    const std::wstring expected =
        c.paths[row] != nullptr ? (folder.path() / c.paths[row]).wstring() : kOpeningPath[row];
    EXPECT_EQ(app.Text(kPath[row]), expected) << "row " << row + 1;
  }
  for (std::size_t i = 0; i < std::size(kChecks); ++i) {
    EXPECT_EQ(app.Checked(kChecks[i]), checked[i]) << "check box " << kChecks[i];
  }
  app.ExpectNoBox();
}

INSTANTIATE_TEST_SUITE_P(
    Drops, FileDrop,
    testing::Values(
        DropCase{"one file on row 3", {IDC_GRAYSCALE_3}, {L"a.bmp"}, {nullptr, nullptr, L"a.bmp"}},
        DropCase{"three files on row 1",
                 {IDC_BAR_1},
                 {L"a.bmp", L"b.bmp", L"c.bmp"},
                 {L"a.bmp", L"b.bmp", L"c.bmp"}},
        DropCase{"three files on row 2: the third left out",
                 {IDC_PATH_2},
                 {L"c.bmp", L"a.bmp", L"b.bmp"},
                 {nullptr, L"c.bmp", L"a.bmp"}},
        DropCase{"a folder among the files is left out",
                 {IDC_OPEN_1},
                 {L"dir", L"b.bmp", L"a.bmp"},
                 {L"b.bmp", L"a.bmp", nullptr}},
        DropCase{"one file below the rows goes to row 1", {0}, {L"a.bmp"}, {L"a.bmp", nullptr, nullptr}},
        DropCase{"only a folder changes nothing", {IDC_PATH_1}, {L"dir"}, {nullptr, nullptr, nullptr}}),
    [](const testing::TestParamInfo<DropCase>& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace varnowel::uitest
