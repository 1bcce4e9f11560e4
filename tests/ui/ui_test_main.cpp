// Entry of the UI tests. Started as `ui_tests --code-page`, the program only reports the ANSI
// code page that its environment gives a Wine process, as its exit status.
#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--code-page") return static_cast<int>(GetACP());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
