#pragma once
// Runs mokcli as a separate program and collects its exit status and output.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "tests/core/mesh_test_support.h"

namespace mok::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// stderr goes through a file in scratch.
inline CliRun RunCli(const std::string& arguments, const TempDir& scratch) {
  std::string errFile = scratch / "stderr.txt";
  std::string command = std::string(MOK_CLI_PATH) + " " + arguments + " 2>" + errFile;
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto err = ReadBytes(errFile);
  run.err.assign(err.begin(), err.end());
  return run;
}

}  // namespace mok::test
