#pragma once
// What the libFuzzer targets share: a prompter that answers Yes, a small
// document to apply mappings and info files to, and the invariant checks that
// turn a wrong result into a finding.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/mesh_document.h"
#include "core/mesh_files.h"
#include "core/prompter.h"
#include "tests/support/document_invariants.h"

namespace mok::fuzz {

class YesPrompter final : public Prompter {
 public:
  void Message(const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Yes; }
  std::optional<std::string> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  bool ChooseColor(std::uint32_t&, std::array<std::uint32_t, 16>&) override { return false; }
};

// Stops the run with the reason: libFuzzer saves the input as a crash.
[[noreturn]] inline void Finding(const std::string& what) {
  std::fprintf(stderr, "finding: %s\n", what.c_str());
  std::abort();
}

inline void CheckInvariants(const MeshDocument& doc) {
  std::string violation = test::DocumentInvariantViolation(doc);
  if (!violation.empty()) Finding(violation);
}

// Eight faces on channels 0, 1 and 20 (a channel without a slot), one frame.
inline constexpr int kSmallFaceCount = 8;

inline std::unique_ptr<MeshDocument> SmallDocument() {
  auto doc = std::make_unique<MeshDocument>();
  doc->triangleCount = kSmallFaceCount;
  doc->vertexCount = 4;
  for (int i = 0; i < kSmallFaceCount; ++i) {
    MeshTriangle& face = doc->triangles[static_cast<std::size_t>(i)];
    face.textureNum = static_cast<std::uint8_t>(i % 3 == 2 ? 20 : i % 2);
    for (int k = 0; k < 3; ++k) {
      face.vertex[k] = static_cast<std::int16_t>((i + k) % 4);
      face.uv[k] = {static_cast<float>(i * 3 + k), static_cast<float>(k * 5)};
    }
  }
  auto frame = std::make_unique<AnimFrame>();
  frame->positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}};
  doc->frames.push_back(std::move(frame));
  doc->currentVertices = doc->frames[0]->positions.data();
  doc->meshLoaded = 1;
  doc->ResetSkinSlots();
  doc->RebuildUvVertices(false);
  doc->ComputeFaceNormals();
  return doc;
}

// What a save writes must load again and, saved once more, give the same bytes.
inline void CheckSaveLoadsBack(const MeshDocument& doc, MeshDocument& scratch) {
  Result<MeshFileContents> first = BuildMeshFiles(doc);
  if (!first) Finding("a loaded document cannot be saved: " + first.error().message);
  YesPrompter prompter;
  Result<MeshFileReport> reloaded =
      LoadMeshFromBytes(scratch, {first->geometry, first->animation, first->info}, prompter);
  if (!reloaded) Finding("what was saved does not load: " + reloaded.error().message);
  CheckInvariants(scratch);
  Result<MeshFileContents> second = BuildMeshFiles(scratch);
  if (!second || second->geometry != first->geometry || second->animation != first->animation ||
      second->info != first->info)
    Finding("saving the reloaded document gives other bytes");
}

}  // namespace mok::fuzz
