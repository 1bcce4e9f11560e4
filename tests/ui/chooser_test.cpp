// The Open buttons: the platform's open-file dialog "ファイルオープン" fills the row's path edit;
// each row remembers its own last choice.
#include "app_driver.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "bmp_fixture.h"
#include "expected_picture.h"
#include "resource_ids.h"

namespace varnowel::uitest {
namespace {

namespace fs = std::filesystem;

constexpr int kOpen[] = {IDC_OPEN_1, IDC_OPEN_2, IDC_OPEN_3};
constexpr int kPath[] = {IDC_PATH_1, IDC_PATH_2, IDC_PATH_3};

BOOL CALLBACK FindVisibleEdit(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (_wcsicmp(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// The open-file dialog of one Open button, driven through its file-name field and buttons.
class Chooser {
 public:
  Chooser(const App& app, int row) : app_(app) {
    app.Click(kOpen[row]);
    // The first open-file dialog of a process loads the shell's libraries: as slow as a start.
    if (const auto box = app.WaitForBox(L"ファイルオープン", kStartWait)) window_ = box->window;
  }
  bool shown() const { return window_ != nullptr; }

  // The file-name field: the one visible edit of the dialog (a combo box's edit in Wine, which
  // also keeps a hidden edt1 for old hooks).
  HWND NameField() const {
    HWND field = nullptr;
    EnumChildWindows(window_, FindVisibleEdit, reinterpret_cast<LPARAM>(&field));
    if (field == nullptr) ADD_FAILURE() << "the chooser has no file-name field";
    return field;
  }
  std::wstring Name() const { return WindowText(NameField()); }

  void Choose(const fs::path& file) const {
    SendBounded(NameField(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    Close(IDOK);
  }
  void Cancel() const { Close(IDCANCEL); }

 private:
  void Close(int button) const {
    PostMessageW(GetDlgItem(window_, button), BM_CLICK, 0, 0);
    if (!WaitUntil([this] { return !IsWindow(window_); })) {
      std::wstring boxes;
      for (const Box& box : app_.Boxes()) boxes += L"[" + box.caption + L": " + box.text + L"] ";
      ADD_FAILURE() << "the chooser stayed open; boxes: " << testing::PrintToString(boxes);
    }
    // The command has finished once the main dialog takes input again.
    WaitUntil([this] { return IsWindowEnabled(app_.dialog()) != FALSE; });
  }

  const App& app_;
  HWND window_ = nullptr;
};

class FileChooser : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"first.bmp", "second.bmp", "notes.txt"}) {
      test::WriteBytes(folder.path() / name, test::EncodeBmp(CornerPicture(3, 2)));
    }
  }
  test::TempDir folder;
  App app{folder.path()};
};

TEST_F(FileChooser, ConfirmedFileFillsOnlyItsRowsPathEdit) {
  const bool checksBefore[] = {app.Checked(IDC_ENABLE_2), app.Checked(IDC_GRAYSCALE_2)};
  Chooser chooser(app, 1);
  ASSERT_TRUE(chooser.shown());
  EXPECT_TRUE(chooser.Name().empty());
  EXPECT_FALSE(IsWindowEnabled(app.dialog()));

  chooser.Choose(folder.path() / "second.bmp");

  EXPECT_EQ(app.Text(IDC_PATH_2), (folder.path() / "second.bmp").wstring());
  EXPECT_EQ(app.Text(IDC_PATH_1), L"filename0.bmp");
  EXPECT_EQ(app.Text(IDC_PATH_3), L"filename2.bmp");
  EXPECT_EQ(app.Checked(IDC_ENABLE_2), checksBefore[0]);
  EXPECT_EQ(app.Checked(IDC_GRAYSCALE_2), checksBefore[1]);
  EXPECT_EQ(app.Text(IDC_TRANSPARENCY_2), L"10");
}

TEST_F(FileChooser, AnyExistingFileIsTakenUnchanged) {
  Chooser chooser(app, 2);
  ASSERT_TRUE(chooser.shown());
  chooser.Choose(folder.path() / "notes.txt");
  EXPECT_EQ(app.Text(IDC_PATH_3), (folder.path() / "notes.txt").wstring());
}

TEST_F(FileChooser, CancelLeavesTheEditAsItWas) {
  for (int row = 0; row < 3; ++row) {
    app.SetText(kPath[row], L"typed by hand.bmp");
    Chooser chooser(app, row);
    ASSERT_TRUE(chooser.shown());
    chooser.Cancel();
    EXPECT_EQ(app.Text(kPath[row]), L"typed by hand.bmp") << "row " << row;
  }
}

TEST_F(FileChooser, EachRowStartsFromItsOwnLastChoice) {
  {
    Chooser chooser(app, 0);
    ASSERT_TRUE(chooser.shown());
    chooser.Choose(folder.path() / "first.bmp");
  }
  {
    Chooser chooser(app, 1);
    ASSERT_TRUE(chooser.shown());
    // Rows keep their own choices for the whole process, so row 2 may hold an earlier one.
    EXPECT_FALSE(chooser.Name().ends_with(L"first.bmp")) << "row 2 starts from row 1's choice";
    chooser.Choose(folder.path() / "second.bmp");
  }
  EXPECT_EQ(app.Text(IDC_PATH_1), (folder.path() / "first.bmp").wstring());
  app.SetText(IDC_PATH_1, L"typed by hand.bmp");

  Chooser chooser(app, 0);
  ASSERT_TRUE(chooser.shown());
  // The field shows the last choice of the row (the dialog may split off its folder).
  EXPECT_TRUE(chooser.Name().ends_with(L"first.bmp")) << testing::PrintToString(chooser.Name());
  chooser.Cancel();
  EXPECT_EQ(app.Text(IDC_PATH_1), L"typed by hand.bmp");
  EXPECT_EQ(app.Text(IDC_PATH_2), (folder.path() / "second.bmp").wstring());
}

}  // namespace
}  // namespace varnowel::uitest
