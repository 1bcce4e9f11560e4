// varnowel-compose against outputs that fail while or before they are written, a layer that is
// a pipe, and a result that is also one of its layers: the message, exit status 1, the earlier
// file as it was and no file left behind.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "bmp_fixture.h"
#include "program_run.h"

namespace varnowel::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = VARNOWEL_COMPOSE_PROGRAM;
// The user id of nobody, for runs that root must make as another user.
uid_t Nobody() {
  const passwd* nobody = getpwnam("nobody");
  return nobody ? nobody->pw_uid : 65534;
}

class WriteFaultTest : public testing::Test {
 protected:
  void SetUp() override {
    // Readable to every user: some runs are made as nobody.
    fs::permissions(work_.path(), fs::perms(0755));
    WriteLayer("a.bmp", Marked(kRed, kBlue));
    WriteLayer("b.bmp", Marked(kBlue, kWhite));
    WriteLayer("cut.bmp", Marked(kBlue, kWhite), {.cutBytes = 2});
    WriteLayer("large.bmp", Picture(400, 300, kBlue));  // 360054 bytes
    WriteBytes(InWork("fwrite.bmp"), earlier_);
  }

  // Runs the program with `args` in the work folder as `user`, its output caught elsewhere.
  // A program that waits on something is ended, and the test fails rather than hangs.
  RunResult Run(const std::vector<std::string>& args, uid_t user = kSameUser) {
    std::vector<std::string> command{kProgram};
    command.insert(command.end(), args.begin(), args.end());
    return RunProgram(command, work_.path(), capture_.path(), user, 60);
  }

  static Picture Marked(Pixel fill, Pixel mark) {
    Picture picture(5, 3, fill);
    picture.at(0, 0) = mark;
    picture.at(4, 2) = kWhite;
    return picture;
  }

  fs::path InWork(const std::string& name) const { return work_.path() / name; }

  void WriteLayer(const std::string& name, const Picture& picture, const BmpVariant& variant = {}) {
    WriteBytes(InWork(name), EncodeBmp(picture, variant));
  }

  // The failure was told in `message`, and the work folder is as it was.
  void ExpectRefused(const RunResult& result, const std::string& message,
                     const std::set<std::string>& filesBefore) {
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "varnowel-compose: " + message + "\n");
    EXPECT_EQ(ReadBytes(InWork("fwrite.bmp")), earlier_);
    EXPECT_EQ(NamesIn(work_.path()), filesBefore);
  }

  TempDir work_;
  TempDir capture_;
  const std::vector<std::uint8_t> earlier_ = EncodeBmp(Picture(2, 2, kRed));
};

// A small picture fits the stream's buffer and fails when the file is closed, a large one
// while it is written.
TEST_F(WriteFaultTest, FullDeviceAsTheOutput) {
  for (const char* layer : {"a.bmp", "large.bmp"}) {
    SCOPED_TRACE(layer);
    const auto filesBefore = NamesIn(work_.path());
    const RunResult result = Run({"-o", "/dev/full", layer});
    ExpectRefused(result, "/dev/full: cannot write the output file", filesBefore);
    struct stat device {};
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode)) << "/dev/full was replaced";
  }
}

TEST_F(WriteFaultTest, FolderWithoutWritePermission) {
  fs::create_directory(InWork("locked"));
  WriteBytes(InWork("locked/fwrite.bmp"), earlier_);
  fs::permissions(InWork("locked"), fs::perms(0555));
  fs::permissions(InWork("a.bmp"), fs::perms(0644));
  const auto filesBefore = NamesIn(work_.path());
  // Root may write anywhere: root runs the program as nobody.
  const uid_t user = geteuid() == 0 ? Nobody() : kSameUser;

  const RunResult result = Run({"-o", "locked/fwrite.bmp", "a.bmp"}, user);
  if (result.exitStatus == kCannotSwitchUser) GTEST_SKIP() << "cannot run as nobody";
  if (user != kSameUser && result.exitStatus == kCannotStart)
    GTEST_SKIP() << "nobody may not run " << kProgram;
  fs::permissions(InWork("locked"), fs::perms(0755));
  ExpectRefused(result, "locked/fwrite.bmp: cannot create the output file", filesBefore);
  EXPECT_EQ(ReadBytes(InWork("locked/fwrite.bmp")), earlier_);
  EXPECT_EQ(NamesIn(InWork("locked")), std::set<std::string>{"fwrite.bmp"});
}

TEST_F(WriteFaultTest, LayerThatIsAPipeIsRefusedNotWaitedOn) {
  ASSERT_EQ(mkfifo(InWork("pipe.bmp").c_str(), 0600), 0);
  const auto filesBefore = NamesIn(work_.path());
  ExpectRefused(Run({"pipe.bmp"}), "pipe.bmp: cannot open the file", filesBefore);
}

TEST_F(WriteFaultTest, ResultThatIsOneOfItsLayersIsComposedFromItsOldContent) {
  fs::copy_file(InWork("a.bmp"), InWork("copy.bmp"));
  ASSERT_EQ(Run({"-o", "expected.bmp", "copy.bmp", "-t", "40", "-g", "b.bmp"}).exitStatus, 0);

  const RunResult result = Run({"-o", "a.bmp", "a.bmp", "-t", "40", "-g", "b.bmp"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "wrote a.bmp\n");
  EXPECT_EQ(ReadBytes(InWork("a.bmp")), ReadBytes(InWork("expected.bmp")));
  EXPECT_EQ(NamesIn(work_.path()),
            (std::set<std::string>{"a.bmp", "b.bmp", "copy.bmp", "cut.bmp", "expected.bmp",
                                   "fwrite.bmp", "large.bmp"}));
}

TEST_F(WriteFaultTest, ResultThatIsOneOfItsLayersIsKeptWhenAnotherFails) {
  const std::vector<std::uint8_t> before = ReadBytes(InWork("a.bmp"));
  const auto filesBefore = NamesIn(work_.path());
  const RunResult result = Run({"-o", "a.bmp", "a.bmp", "cut.bmp"});
  ExpectRefused(result, "cut.bmp: the file is shorter than its pixel rows", filesBefore);
  EXPECT_EQ(ReadBytes(InWork("a.bmp")), before);
}

}  // namespace
}  // namespace varnowel::test
