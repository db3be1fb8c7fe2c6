#pragma once
// Runs the built tallyform-cli as a user would, with its program folder and working folder in a test's
// temporary folder, and collects its exit status and output.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tallyform::testing {

/// The argument quoted for the shell.
inline std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

/// Runs tallyform-cli in `home` (its program folder and working folder) with the arguments.
inline CliRun Cli(const TempFolder& home, const std::vector<std::string>& args) {
  std::string command = "cd " + Quote(home.path().string()) +
                        " && TALLYFORM_HOME=" + Quote(home.path().string()) + " " + Quote(TALLYFORM_CLI);
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " >stdout.txt 2>stderr.txt";
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = FileBytes(home / "stdout.txt");
  run.err = FileBytes(home / "stderr.txt");
  return run;
}

/// The `dump` of a document as JSON; a dump that fails fails the test.
inline nlohmann::ordered_json Dump(const TempFolder& home, const std::string& document) {
  const CliRun run = Cli(home, {"dump", document});
  EXPECT_EQ(run.status, 0) << run.err;
  return nlohmann::ordered_json::parse(run.out);
}

}  // namespace tallyform::testing
