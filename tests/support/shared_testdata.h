#pragma once
// The shared real files: MOK_SHARED_TESTDATA of the environment when set (a
// checkout whose neighbouring folder lacks them), else the build's folder.

#include <cstdlib>
#include <string>

namespace mok::test {

inline std::string SharedTestdata() {
  const char* folder = std::getenv("MOK_SHARED_TESTDATA");
  return folder ? folder : MOK_SHARED_TESTDATA;
}

}  // namespace mok::test
