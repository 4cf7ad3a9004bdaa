// A save that fails or is killed part-way never leaves a damaged trio: the
// files on disk are the complete old ones or the complete new ones.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "core/mesh_files.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

struct Trio {
  std::vector<std::uint8_t> geometry, animation, info;
  bool operator==(const Trio&) const = default;
};

Trio ReadTrio(const test::TempDir& dir) {
  return {test::ReadBytes(dir / "m_d.3d"), test::ReadBytes(dir / "m_a.3d"), test::ReadBytes(dir / "m_k.3d")};
}

Trio Contents(const MeshDocument& doc) {
  Result<MeshFileContents> files = BuildMeshFiles(doc);
  return {files->geometry, files->animation, files->info};
}

bool OnlyTheTrio(const test::TempDir& dir) {
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
  return entries == 3;
}

class SaveFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ScriptedPrompter prompter;
    ASSERT_TRUE(LoadMesh(*oldDoc, MOK_SOURCE_DIR "/resources/samples/Sampler/Models/Sampler_d.3d", prompter));
    ASSERT_TRUE(LoadMesh(*newDoc, MOK_SOURCE_DIR "/resources/samples/Sampler/Models/Sampler_d.3d", prompter));
    newDoc->fileInfo.authorName = "new";
    for (int i = 0; i < newDoc->uvVertexCount; ++i) newDoc->uvVertices[i].u += 1.5f;
    newDoc->frames[0]->positions[0].x += 3;
    oldTrio = Contents(*oldDoc);
    newTrio = Contents(*newDoc);
  }
  std::unique_ptr<MeshDocument> oldDoc = std::make_unique<MeshDocument>();
  std::unique_ptr<MeshDocument> newDoc = std::make_unique<MeshDocument>();
  Trio oldTrio, newTrio;
};

// A writer that stores 4 KiB at a time and reports a full disk at the n-th
// of these writes, after a part of it reached the file. For every n.
TEST_F(SaveFaults, DiskFullAtEveryWriteLeavesTheOldOrTheNewTrio) {
  const std::size_t chunk = 4096;
  for (int failAt = 1;; ++failAt) {
    test::TempDir dir;
    ASSERT_TRUE(SaveMesh(*oldDoc, dir / "m.3d"));
    int writes = 0;
    FileWriter filling = [&](int fd, std::span<const std::uint8_t> bytes) {
      for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        std::span<const std::uint8_t> part = bytes.subspan(at, std::min(chunk, bytes.size() - at));
        if (++writes == failAt) {
          WriteAllBytes(fd, part.first(part.size() / 2));
          return FileErrorCause::DiskFull;
        }
        if (FileErrorCause cause = WriteAllBytes(fd, part); cause != FileErrorCause::None) return cause;
      }
      return FileErrorCause::None;
    };
    auto saved = SaveMesh(*newDoc, dir / "m.3d", filling);
    Trio onDisk = ReadTrio(dir);
    if (saved && writes < failAt) {  // no write failed: every n has been tried
      EXPECT_EQ(onDisk, newTrio);
      break;
    }
    SCOPED_TRACE(failAt);
    if (saved) {  // only the info file failed: saved without it, the old one gone
      EXPECT_EQ(saved->warnings.front(), kInfoSaveWarning);
      EXPECT_EQ(onDisk, (Trio{newTrio.geometry, newTrio.animation, {}}));
    } else {
      EXPECT_EQ(onDisk, oldTrio);
      EXPECT_TRUE(OnlyTheTrio(dir));
    }
  }
}

// A child saving the two versions in turn is killed at random moments. Each
// file is replaced by a rename, so each one on disk is a complete version;
// the three renames of a save are not one step, so the trio is checked file
// by file.
TEST_F(SaveFaults, SaveKilledAtRandomLeavesEveryFileComplete) {
  test::TempDir dir;
  ASSERT_TRUE(SaveMesh(*oldDoc, dir / "m.3d"));
  std::mt19937 random(17);
  for (int round = 0; round < 12; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) SaveMesh(i % 2 ? *oldDoc : *newDoc, dir / "m.3d");
    }
    ::usleep(2000 + random() % 30000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    Trio onDisk = ReadTrio(dir);
    EXPECT_TRUE(onDisk.geometry == oldTrio.geometry || onDisk.geometry == newTrio.geometry) << round;
    EXPECT_TRUE(onDisk.animation == oldTrio.animation || onDisk.animation == newTrio.animation) << round;
    EXPECT_TRUE(onDisk.info == oldTrio.info || onDisk.info == newTrio.info) << round;
  }
}

}  // namespace
}  // namespace mok
