#pragma once
// Small hand-built meshes for the editing tests.

#include <memory>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/settings.h"
#include "tests/core/mesh_test_support.h"

namespace mok::edit_test {

using test::ScriptedPrompter;

// An application whose document has placeholder slots of the default
// 32 x 32 size, one frame of the given positions, and faces added by AddFace.
class MeshBuilder {
 public:
  explicit MeshBuilder(std::vector<Vec3> positions = {}) : doc_(&app.doc()) {
    doc_->ResetSkinSlots();
    auto frame = std::make_unique<AnimFrame>();
    frame->name = "0";
    frame->positions.assign(positions.begin(), positions.end());
    frame->positions.resize(64);
    doc_->frames.push_back(std::move(frame));
    doc_->vertexCount = 64;
    doc_->currentVertices = doc_->frames[0]->positions.data();
    doc_->meshLoaded = 1;
  }

  // A face with vertex indices and texel coordinates on a channel.
  MeshBuilder& AddFace(std::int16_t v0, std::int16_t v1, std::int16_t v2, UvPair uv0, UvPair uv1, UvPair uv2,
                       std::uint8_t channel = 0) {
    MeshTriangle& face = doc_->triangles[doc_->triangleCount++];
    face = MeshTriangle{};
    face.vertex[0] = v0;
    face.vertex[1] = v1;
    face.vertex[2] = v2;
    face.uv[0] = uv0;
    face.uv[1] = uv1;
    face.uv[2] = uv2;
    face.textureNum = channel;
    return *this;
  }

  // Welds the mapping and takes the mapping snapshot, as a loader does.
  MeshDocument* Build() {
    doc_->RebuildUvVertices(false);
    doc_->StoreMapping();
    doc_->ComputeFaceNormals();
    refresh.Clear();
    return doc_;
  }

  MemorySettings settings;
  ScriptedPrompter prompter;
  test::RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};

 private:
  MeshDocument* doc_;
};

inline std::vector<int> SelectedFaces(const MeshDocument& doc) {
  std::vector<int> faces;
  for (int i = 0; i < doc.triangleCount; ++i)
    if (doc.triangles[i].selected()) faces.push_back(i);
  return faces;
}

inline void Select(MeshDocument& doc, std::initializer_list<int> faces) {
  for (int i = 0; i < doc.triangleCount; ++i) doc.triangles[i].state &= ~kFaceSelected;
  for (int i : faces) doc.triangles[i].state |= kFaceSelected;
}

inline void Hide(MeshDocument& doc, std::initializer_list<int> faces) {
  for (int i : faces) doc.triangles[i].state |= kFaceHidden;
}

}  // namespace mok::edit_test
