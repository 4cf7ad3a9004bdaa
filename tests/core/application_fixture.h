#pragma once
// An application on scripted user input, in a temporary folder. Commands
// change the current directory, which is put back afterwards.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/application.h"
#include "core/settings.h"
#include "tests/core/mesh_test_support.h"

namespace mok::test {

class ApplicationFixture : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::current_path(startDir); }

  std::filesystem::path startDir = std::filesystem::current_path();
  TempDir dir;
  MemorySettings settings;
  ScriptedPrompter prompter;
  CountingRefresh refresh;
  Application app{settings, prompter, prompter, refresh};
};

}  // namespace mok::test
