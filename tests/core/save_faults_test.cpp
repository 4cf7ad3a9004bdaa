// A save that fails or is killed part-way never leaves a damaged trio: the
// files on disk are the complete old ones or the complete new ones.
#include <gtest/gtest.h>

#include <algorithm>
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

// A child saving the two versions in turn is killed at random moments, also
// between the three renames of a save. Each file is replaced by a rename and
// the renames run under a journal that the next load follows, so after that
// load the trio is the whole old or the whole new version.
TEST_F(SaveFaults, SaveKilledAtRandomLeavesTheOldOrTheNewTrioForTheNextLoad) {
  test::TempDir dir;
  ASSERT_TRUE(SaveMesh(*oldDoc, dir / "m.3d"));
  std::mt19937 random(17);
  auto reloaded = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  for (int round = 0; round < 50; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) SaveMesh(i % 2 ? *oldDoc : *newDoc, dir / "m.3d");
    }
    ::usleep(500 + random() % 8000);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(LoadMesh(*reloaded, dir / "m.3d", prompter)) << round;
    Trio onDisk = ReadTrio(dir);
    EXPECT_TRUE(onDisk == oldTrio || onDisk == newTrio) << round;
    EXPECT_FALSE(fs::exists(CommitJournalFor(dir / "m_d.3d"))) << round;
  }
}

// The state a kill leaves after 0, 1, 2 or all 3 renames of a save: the
// journal, the renamed files, the temporary files not yet renamed. The next
// load completes the save, says so, and loads the new version.
TEST_F(SaveFaults, ALoadCompletesASaveKilledBetweenItsRenames) {
  const std::vector<std::string> names = {"m_d.3d", "m_a.3d", "m_k.3d"};
  const std::vector<std::vector<std::uint8_t>> bytes = {newTrio.geometry, newTrio.animation, newTrio.info};
  for (std::size_t renamed = 0; renamed <= names.size(); ++renamed) {
    test::TempDir dir;
    ASSERT_TRUE(SaveMesh(*oldDoc, dir / "m.3d"));
    std::string journal = std::string("MOK-COMMIT") + '\0';
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string temporary = names[i] + ".mok-tmp-7-" + std::to_string(i);
      test::WriteBytes(dir / (i < renamed ? names[i] : temporary), bytes[i]);
      journal += temporary + '\0' + names[i] + '\0';
    }
    journal += std::string("END") + '\0';
    test::WriteBytes(CommitJournalFor(dir / "m_d.3d"), std::vector<std::uint8_t>(journal.begin(), journal.end()));
    test::ScriptedPrompter prompter;
    auto reloaded = std::make_unique<MeshDocument>();
    auto loaded = LoadMesh(*reloaded, dir / "m.3d", prompter);
    ASSERT_TRUE(loaded) << renamed;
    EXPECT_EQ(ReadTrio(dir), newTrio) << renamed;
    EXPECT_TRUE(OnlyTheTrio(dir)) << renamed;
    EXPECT_EQ(std::count(loaded->warnings.begin(), loaded->warnings.end(), kInterruptedSaveFinishedWarning),
              renamed < names.size() ? 1 : 0);
  }
}

// The journal is read as hostile: one cut short or naming a file that is not
// one of the targets moves nothing, and is removed.
TEST_F(SaveFaults, AnIncompleteOrForeignJournalMovesNothing) {
  test::TempDir dir;
  ASSERT_TRUE(SaveMesh(*oldDoc, dir / "m.3d"));
  test::WriteBytes(dir / "m_d.3d.mok-tmp-1-0", newTrio.geometry);
  const std::string journal = CommitJournalFor(dir / "m_d.3d");
  using namespace std::string_literals;
  for (const std::string& text : {"MOK-COMMIT\0m_d.3d.mok-tmp-1-0\0m_d.3d\0EN"s,
                                  "MOK-COMMIT\0m_d.3d.mok-tmp-1-0\0other_d.3d\0END\0"s,
                                  "MOK-COMMIT\0m_d.3d\0m_a.3d\0END\0"s}) {
    test::WriteBytes(journal, std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_FALSE(FinishInterruptedCommit(journal, {dir / "m_d.3d", dir / "m_a.3d", dir / "m_k.3d"}));
    EXPECT_FALSE(fs::exists(journal));
    EXPECT_EQ(ReadTrio(dir), oldTrio);
  }
}

}  // namespace
}  // namespace mok
