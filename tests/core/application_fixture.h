#pragma once
// An application on scripted user input, with a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/application.h"
#include "core/settings.h"
#include "tests/core/mesh_test_support.h"

namespace mok::test {

class ApplicationFixture : public ::testing::Test {
 protected:
  TempDir dir;
  MemorySettings settings;
  ScriptedPrompter prompter;
  RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
};

}  // namespace mok::test
