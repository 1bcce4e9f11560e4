// Runs a program as a child process in a folder, its output caught, for the tests of
// varnowel-compose run as a program.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace varnowel::test {

struct RunResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Exit statuses of the child itself: it could not prepare its output files or folder, could not
// take the user id asked for, or could not start the program.
inline constexpr int kCannotPrepare = 126;
inline constexpr int kCannotSwitchUser = 125;
inline constexpr int kCannotStart = 127;

// Runs the program as the user running the tests.
inline constexpr uid_t kSameUser = uid_t(-1);

// Runs `command` (its first word looked up on PATH when it has no slash) in `folder` as `user`,
// ended by SIGALRM after `timeLimitSeconds` (0: no limit). Standard output and error go to
// files in `captureFolder`, so that `folder` holds only what the program leaves there.
RunResult RunProgram(std::vector<std::string> command, const std::filesystem::path& folder,
                     const std::filesystem::path& captureFolder, uid_t user = kSameUser,
                     unsigned timeLimitSeconds = 0);

}  // namespace varnowel::test
