// Runs a program as a child process in a folder, its output caught.
#include "program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "bmp_fixture.h"

namespace varnowel::test {

RunResult RunProgram(std::vector<std::string> command, const std::filesystem::path& folder,
                     const std::filesystem::path& captureFolder, uid_t user,
                     unsigned timeLimitSeconds) {
  const std::filesystem::path outPath = captureFolder / "stdout";
  const std::filesystem::path errPath = captureFolder / "stderr";
  std::vector<char*> argv;
  for (std::string& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || chdir(folder.c_str()) != 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
      _exit(kCannotPrepare);
    if (user != kSameUser && (setgid(user) != 0 || setuid(user) != 0)) _exit(kCannotSwitchUser);
    alarm(timeLimitSeconds);
    execvp(argv[0], argv.data());
    _exit(kCannotStart);
  }
  RunResult result;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    ADD_FAILURE() << "cannot run " << command.front();
    return result;
  }
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  result.out = ReadText(outPath);
  result.err = ReadText(errPath);
  return result;
}

}  // namespace varnowel::test
