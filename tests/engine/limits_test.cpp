// The limits the README states: the largest picture a BMP file can hold, and a run whose
// memory cannot be had.
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "engine_helpers.h"
#include "test_host.h"
#include "varnowel/composite_job.h"

namespace varnowel::test {
namespace {

constexpr const char* kTooLarge = "画像が大きすぎるため合成できません";

// 54 + 196608 x 21845 = 4 294 901 814 bytes: the largest file of this width that the 32-bit
// size field holds; one row more is 4 295 098 422.
constexpr std::int32_t kWidth = 65535;
constexpr std::int32_t kMostRows = 21845;

TEST(Limits, LargestPictureIsWrittenAndOneRowMoreIsRefused) {
  TestHost host;
  CompositeJob job{};  // no layer on: a white picture, nothing to read
  // Written in place to the null device, so 4 GiB cost no disk.
  const Target nullDevice{TargetKind::Preview, "/dev/null"};
  EXPECT_TRUE(RunComposition(kWidth, kMostRows, job, nullDevice, host).ok());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.replacedSpecialFile);

  EXPECT_EQ(RunComposition(kWidth, kMostRows + 1, job, nullDevice, host).fault, Fault::TooLarge);
  // The widest picture the field holds is 1 431 655 746 x 1.
  EXPECT_EQ(RunComposition(1431655747, 1, job, nullDevice, host).fault, Fault::TooLarge);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, kTooLarge);
  EXPECT_EQ(host.messages[1].text, kTooLarge);
}

#if defined(__SANITIZE_ADDRESS__)
#define VARNOWEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VARNOWEL_ADDRESS_SANITIZER 1
#endif
#endif

// A row of 300 MB under a limit of 256 MiB of further address space.
TEST(Limits, MemoryThatCannotBeHadIsToldAsTooLargeAndNothingIsWritten) {
#ifdef VARNOWEL_ADDRESS_SANITIZER
  GTEST_SKIP() << "AddressSanitizer reserves far more address space than any limit allows";
#endif
  TempDir dir;
  TestHost host;
  CompositeJob job{};
  const std::string target = dir / "out.bmp";
  const std::vector<std::uint8_t> earlier = EncodeBmp(Picture(2, 2, kRed));
  WriteBytes(target, earlier);

  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &previous), 0);
  // What the process maps now, from /proc, plus 256 MiB.
  unsigned long pages = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  if (pages == 0) GTEST_SKIP() << "no /proc/self/statm to size the limit by";
  rlimit limited = previous;
  limited.rlim_cur = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
  ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
  const Status status =
      RunComposition(100'000'000, 1, job, {TargetKind::Preview, target}, host);
  setrlimit(RLIMIT_AS, &previous);

  EXPECT_EQ(status.fault, Fault::TooLarge);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, kTooLarge);
  EXPECT_EQ(ReadBytes(target), earlier);
  EXPECT_EQ(NamesIn(dir.path()), std::set<std::string>{"out.bmp"});
}

}  // namespace
}  // namespace varnowel::test
