// Runs that go wrong after their checks or while writing: a full disk, a folder that takes no
// new file, a layer that changes between the checks and the run, a result that is also a
// layer. Each failure ends with the engine's message, the earlier result byte for byte as it
// was, and no file left behind.
#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine_helpers.h"
#include "test_host.h"
#include "varnowel/composite_job.h"
#include "varnowel/composition.h"

namespace varnowel::test {
namespace {

namespace fs = std::filesystem;

struct Expected {
  Fault fault;
  const char* text;
  const char* caption;
};

constexpr Expected kSucceeds{Fault::None, "", ""};
constexpr Expected kLayerNotFound{Fault::LayerNotFound, "%sが見つかりません.", "File Open Error"};
constexpr Expected kLayerTruncated{Fault::LayerTruncated, "%sの読み込みに失敗しました。",
                                   "File Error"};
constexpr Expected kSizesDiffer{Fault::SizesDiffer, "画像の幅高さが異なるため合成できません",
                                "Error"};
constexpr Expected kOutputOpen{Fault::OutputOpenFailed, "file open error", "File Open Error"};
constexpr Expected kOutputWrite{Fault::OutputWriteFailed, "file write error", "File Error"};

// The one message of a failed run, naming `path` where its text names a file.
void ExpectMessage(const TestHost& host, const Expected& expected, const std::string& path) {
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, expected.text);
  EXPECT_EQ(host.messages[0].caption, expected.caption);
  EXPECT_EQ(host.messages[0].path, path);
}

std::vector<std::uint8_t> EarlierResult() { return EncodeBmp(Picture(2, 2, kRed)); }

// Rows with fill bytes by default; a mark in the first pixel and a white (see-through) last
// pixel, so that a flip or a swap shows.
Picture Marked(Pixel fill, Pixel mark, std::int32_t width = 5, std::int32_t height = 3) {
  Picture picture(width, height, fill);
  picture.at(0, 0) = mark;
  picture.at(width - 1, height - 1) = kWhite;
  return picture;
}

// Layers that a change during the run must reach: larger than a stream's buffer, which the
// header read fills, so that the rows are read from the file and not from a copy made before.
constexpr std::int32_t kRaceWidth = 101;   // rows of 303 pixel bytes and 1 fill byte
constexpr std::int32_t kRaceHeight = 50;   // 15254 bytes in all
constexpr std::uintmax_t kRaceStride = 304;

std::string ErrnoText() { return std::strerror(errno); }

// A tmpfs of a few pages, mounted in a mount namespace of this test process's own so that it
// goes away with the process whatever happens. Needs root; `problem` says why when it cannot
// be had.
class SmallDisk {
 public:
  SmallDisk(const fs::path& path, const std::string& options) : path_(path) {
    fs::create_directory(path_);
    if (unshare(CLONE_NEWNS) != 0) {
      problem = "no mount namespace of its own (" + ErrnoText() + ")";
    } else if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      problem = "mounts cannot be made private (" + ErrnoText() + ")";
    } else if (mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      problem = "mount -t tmpfs is not permitted (" + ErrnoText() + ")";
    }
  }
  ~SmallDisk() {
    if (problem.empty()) umount2(path_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const fs::path& path() const { return path_; }

  // Fills the disk with one file, then gives `freeBytes` of it back.
  void FillLeaving(std::size_t freeBytes) const {
    const std::string filler = *this / "filler";
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << ErrnoText();
    const std::vector<char> block(4096, 'f');
    off_t written = 0;
    for (ssize_t n; (n = write(fd, block.data(), block.size())) > 0;) written += n;
    ASSERT_EQ(errno, ENOSPC);
    ASSERT_EQ(ftruncate(fd, written - std::min<off_t>(written, off_t(freeBytes))), 0);
    close(fd);
  }

  // Takes every free inode with empty files.
  void FillInodes() const {
    for (int i = 0;; ++i) {
      const std::string name = *this / ("empty" + std::to_string(i));
      const int fd = open(name.c_str(), O_WRONLY | O_CREAT, 0644);
      if (fd < 0) {
        ASSERT_EQ(errno, ENOSPC);
        return;
      }
      close(fd);
    }
  }

  std::string problem;

 private:
  fs::path path_;
};

struct DiskCase {
  const char* name;
  const char* options;            // of the tmpfs
  std::function<void(const SmallDisk&)> fill;
  Picture layer;
  bool resultIsTheLayer;          // the one layer is the result file itself, on the disk
  Expected expected;
};

void PrintTo(const DiskCase& c, std::ostream* out) { *out << c.name; }

const Picture kLargeLayer(100, 100, kBlue);  // 30054 bytes written

const DiskCase kDiskCases[] = {
    {"FullWhileWriting", "size=256k", [](const SmallDisk& d) { d.FillLeaving(8192); },
     kLargeLayer, false, kOutputWrite},
    // A few bytes fit the stream's buffer: the disk's answer comes when the file is closed.
    {"FullWhenClosing", "size=256k", [](const SmallDisk& d) { d.FillLeaving(0); },
     Marked(kRed, kBlue), false, kOutputWrite},
    {"NoRoomForANewFile", "size=256k,nr_inodes=16", [](const SmallDisk& d) { d.FillInodes(); },
     Marked(kRed, kBlue), false, kOutputOpen},
    {"FullOverItsOwnLayer", "size=256k", [](const SmallDisk& d) { d.FillLeaving(8192); },
     kLargeLayer, true, kOutputWrite},
};

class FullDisk : public ::testing::TestWithParam<DiskCase> {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};
};

TEST_P(FullDisk, MessageAndEarlierResultKept) {
  const DiskCase& c = GetParam();
  SmallDisk disk(dir.path() / "disk", c.options);
  if (!disk.problem.empty()) GTEST_SKIP() << "no small disk to fill: " << disk.problem;
  const std::string target = disk / "out.bmp";
  const std::vector<std::uint8_t> earlier =
      c.resultIsTheLayer ? EncodeBmp(c.layer) : EarlierResult();
  WriteBytes(target, earlier);
  EnableLayer(job, 0, c.resultIsTheLayer ? target : WriteLayer(dir, "layer.bmp", c.layer));
  c.fill(disk);
  const auto namesBefore = NamesIn(disk.path());

  const Status status = RunComposition(c.layer.width, c.layer.height, job,
                                       {TargetKind::Preview, target}, host);
  EXPECT_EQ(status.fault, c.expected.fault);
  ExpectMessage(host, c.expected, target);
  EXPECT_EQ(ReadBytes(target), earlier);
  EXPECT_EQ(NamesIn(disk.path()), namesBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, FullDisk, ::testing::ValuesIn(kDiskCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Takes the effective user id of `nobody` for the guard's life when the process runs as root,
// who is let write anywhere; the real id stays root, so the guard can give root back.
class UnprivilegedUser {
 public:
  UnprivilegedUser() {
    if (geteuid() != 0) return;
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    if (seteuid(uid) != 0) {
      problem = "cannot take the user id of nobody (" + ErrnoText() + ")";
      return;
    }
    dropped_ = true;
  }
  ~UnprivilegedUser() {
    if (dropped_ && seteuid(0) != 0) std::abort();  // the other tests must not run as nobody
  }
  UnprivilegedUser(const UnprivilegedUser&) = delete;
  UnprivilegedUser& operator=(const UnprivilegedUser&) = delete;

  std::string problem;

 private:
  bool dropped_ = false;
};

TEST(WriteFaults, FolderWithoutWritePermissionKeepsTheEarlierResult) {
  TempDir dir;
  TestHost host;
  CompositeJob job{};
  const fs::path locked = dir.path() / "locked";
  fs::create_directory(locked);
  const std::string target = (locked / "fwrite.bmp").string();
  WriteBytes(target, EarlierResult());
  EnableLayer(job, 0, WriteLayer(dir, "layer.bmp", Marked(kRed, kBlue)));
  // Everything readable to the user the run takes, nothing in the folder writable.
  fs::permissions(dir.path(), fs::perms(0755));
  fs::permissions(job.layerPath[0], fs::perms(0644));
  fs::permissions(target, fs::perms(0644));
  fs::permissions(locked, fs::perms(0555));
  host.currentDirectory = locked.string();

  Status status;
  {
    UnprivilegedUser user;
    if (!user.problem.empty()) GTEST_SKIP() << user.problem;
    status = RunComposition(5, 3, job, {}, host);
  }
  fs::permissions(locked, fs::perms(0755));
  EXPECT_EQ(status.fault, Fault::OutputOpenFailed);
  ExpectMessage(host, kOutputOpen, target);
  EXPECT_EQ(ReadBytes(target), EarlierResult());
  EXPECT_EQ(NamesIn(locked), std::set<std::string>{"fwrite.bmp"});
}

// Layer 1 changed between the dialog's geometry check and the run, or by the time the run
// begins its output (after the run's own checks, before it reads a row). The run reads the
// file it checked through the stream it opened: a file removed or replaced under that name
// from then on is still read whole, a file cut short is not.
struct RaceCase {
  const char* name;
  std::function<void(const TempDir&, const std::string& layer)> change;
  bool asTheOutputBegins;
  Expected expected;
};

void PrintTo(const RaceCase& c, std::ostream* out) { *out << c.name; }

std::function<void(const TempDir&, const std::string&)> CutTo(std::uintmax_t length) {
  return [=](const TempDir&, const std::string& layer) { fs::resize_file(layer, length); };
}

void Remove(const TempDir&, const std::string& layer) { fs::remove(layer); }

void ReplaceByGreen(const TempDir& dir, const std::string& layer) {
  fs::rename(WriteLayer(dir, "green.bmp", Picture(kRaceWidth, kRaceHeight, {0, 255, 0})), layer);
}

void ReplaceByWider(const TempDir& dir, const std::string& layer) {
  fs::rename(WriteLayer(dir, "wide.bmp", Picture(kRaceWidth + 1, kRaceHeight, {0, 255, 0})),
             layer);
}

const RaceCase kRaceCases[] = {
    {"RemovedBeforeTheRun", Remove, false, kLayerNotFound},
    {"CutShortBeforeTheRun", CutTo(60), false, kLayerTruncated},
    {"ResizedBeforeTheRun", ReplaceByWider, false, kSizesDiffer},
    {"EmptiedAsTheOutputBegins", CutTo(0), true, kLayerTruncated},
    {"CutToItsHeaderAsTheOutputBegins", CutTo(54), true, kLayerTruncated},
    {"CutInItsLastRowAsTheOutputBegins", CutTo(54 + kRaceStride * (kRaceHeight - 1) + 5), true,
     kLayerTruncated},
    {"RemovedAsTheOutputBegins", Remove, true, kSucceeds},
    {"ReplacedAsTheOutputBegins", ReplaceByGreen, true, kSucceeds},
};

class ChangedLayer : public ::testing::TestWithParam<RaceCase> {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};
};

TEST_P(ChangedLayer, ReadAsCheckedOrRefused) {
  const RaceCase& c = GetParam();
  const std::string target = dir / "out.bmp";
  WriteBytes(target, EarlierResult());
  EnableLayer(job, 0, WriteLayer(dir, "layer0.bmp", Marked(kRed, kBlue, kRaceWidth, kRaceHeight)));
  const std::string changed =
      WriteLayer(dir, "layer1.bmp", Marked(kBlue, kRed, kRaceWidth, kRaceHeight));
  EnableLayer(job, 1, changed);
  std::int32_t width = 0, height = 0;
  ASSERT_EQ(ReadLayerGeometry(job, width, height, host), 0);
  if (c.asTheOutputBegins) {
    host.beforeOutput = [&] { c.change(dir, changed); };
  } else {
    c.change(dir, changed);
  }
  auto namesBefore = NamesIn(dir.path());

  const Status status = RunComposition(width, height, job, {TargetKind::Preview, target}, host);
  EXPECT_EQ(status.fault, c.expected.fault);
  EXPECT_EQ(host.temporaryFilesCreated, c.asTheOutputBegins ? 1 : 0);
  const auto namesAfter = NamesIn(dir.path());
  if (c.expected.fault == Fault::None) {
    EXPECT_TRUE(host.messages.empty());
    // Layer 1 as it was checked covers layer 0 but in its white corner, white in both.
    EXPECT_TRUE(DecodeBmp(ReadBytes(target)) == Marked(kBlue, kRed, kRaceWidth, kRaceHeight));
    if (!fs::exists(changed)) namesBefore.erase("layer1.bmp");
  } else {
    ExpectMessage(host, c.expected, changed);
    EXPECT_EQ(ReadBytes(target), EarlierResult());
  }
  EXPECT_EQ(namesAfter, namesBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedLayer, ::testing::ValuesIn(kRaceCases),
                         [](const auto& info) { return std::string(info.param.name); });

// fwrite.bmp in the current folder chosen as a layer of the run that replaces it.
class ResultIsALayer : public ::testing::Test {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};
  const std::string result = dir / "fwrite.bmp";

  void SetUp() override {
    host.currentDirectory = dir.path().string();
    WriteLayer(dir, "fwrite.bmp", Marked(kRed, kBlue), {.infoSize = 124});
    EnableLayer(job, 0, result);
  }
};

TEST_F(ResultIsALayer, IsComposedFromItsOldContentAndReplaced) {
  EnableLayer(job, 1, WriteLayer(dir, "top.bmp", Marked(kBlue, kWhite)), 50, true);
  // The same run on a copy of the old fwrite.bmp, written elsewhere.
  fs::copy_file(result, dir / "copy.bmp");
  CompositeJob copy = job;
  EnableLayer(copy, 0, dir / "copy.bmp");
  ASSERT_TRUE(RunComposition(5, 3, copy, {TargetKind::Preview, dir / "expected.bmp"}, host).ok());

  EXPECT_TRUE(RunComposition(5, 3, job, {}, host).ok());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ReadBytes(result), ReadBytes(dir / "expected.bmp"));
  EXPECT_EQ(NamesIn(dir.path()),
            (std::set<std::string>{"copy.bmp", "expected.bmp", "fwrite.bmp", "top.bmp"}));
}

TEST_F(ResultIsALayer, IsKeptWhenAnotherLayerFails) {
  const std::vector<std::uint8_t> before = ReadBytes(result);
  const std::string cut = WriteLayer(dir, "cut.bmp", Marked(kBlue, kWhite), {.cutBytes = 3});
  EnableLayer(job, 1, cut);
  EXPECT_EQ(RunComposition(5, 3, job, {}, host).fault, Fault::LayerTruncated);
  ExpectMessage(host, kLayerTruncated, cut);
  EXPECT_EQ(ReadBytes(result), before);
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"cut.bmp", "fwrite.bmp"}));
}

TEST_F(ResultIsALayer, IsKeptWhenAnotherLayerIsCutAsTheRunReadsIt) {
  WriteLayer(dir, "fwrite.bmp", Marked(kRed, kBlue, kRaceWidth, kRaceHeight));
  const std::vector<std::uint8_t> before = ReadBytes(result);
  const std::string top =
      WriteLayer(dir, "top.bmp", Marked(kBlue, kWhite, kRaceWidth, kRaceHeight));
  EnableLayer(job, 1, top);
  host.beforeOutput = [&] { fs::resize_file(top, 60); };
  EXPECT_EQ(RunComposition(kRaceWidth, kRaceHeight, job, {}, host).fault, Fault::LayerTruncated);
  ExpectMessage(host, kLayerTruncated, top);
  EXPECT_EQ(ReadBytes(result), before);
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"fwrite.bmp", "top.bmp"}));
}

}  // namespace
}  // namespace varnowel::test
