#include "core/face_edits.h"

#include <optional>
#include <utility>

namespace mok {
namespace {

int CountSelectedVisible(const MeshDocument& doc) {
  int count = 0;
  for (int i = 0; i < doc.triangleCount; ++i)
    if (doc.triangles[i].selectedVisible()) ++count;
  return count;
}

// One corner of a face: its vertex and UV indices travel together.
struct Corner {
  std::int16_t vertex;
  std::int16_t uvIndex;
};

Corner CornerOf(const MeshTriangle& face, int k) { return {face.vertex[k], face.uvIndex[k]}; }

void SetCorners(MeshDocument& doc, MeshTriangle& face, Corner c0, Corner c1, Corner c2) {
  const Corner corners[3] = {c0, c1, c2};
  for (int k = 0; k < 3; ++k) {
    face.vertex[k] = corners[k].vertex;
    face.uvIndex[k] = corners[k].uvIndex;
    face.uv[k] = doc.uvVertices[static_cast<std::size_t>(corners[k].uvIndex)];
  }
}

int CornerWithVertex(const MeshTriangle& face, std::int16_t vertex) {
  for (int k = 0; k < 3; ++k)
    if (face.vertex[k] == vertex) return k;
  return -1;
}

// How two faces meet along an edge: A's shared corners s0 < s1, A's other
// corner oA, B's corners t0, t1 holding the same vertices, and B's other
// corner oB.
struct SharedEdge {
  int s0 = -1, s1 = -1, oA = -1;
  int t0 = -1, t1 = -1, oB = -1;
};

// The edge when A and B share exactly two distinct vertices and each has one
// corner of its own; otherwise nothing.
std::optional<SharedEdge> FindSharedEdge(const MeshTriangle& a, const MeshTriangle& b) {
  SharedEdge edge;
  int sharedCount = 0;
  for (int k = 0; k < 3; ++k) {
    if (CornerWithVertex(b, a.vertex[k]) < 0) {
      edge.oA = k;
    } else if (++sharedCount == 1) {
      edge.s0 = k;
    } else {
      edge.s1 = k;
    }
  }
  int ownOfB = 0;
  for (int k = 0; k < 3; ++k) {
    if (CornerWithVertex(a, b.vertex[k]) < 0) {
      edge.oB = k;
      ++ownOfB;
    }
  }
  if (sharedCount != 2 || ownOfB != 1 || a.vertex[edge.s0] == a.vertex[edge.s1]) return std::nullopt;
  edge.t0 = CornerWithVertex(b, a.vertex[edge.s0]);
  edge.t1 = CornerWithVertex(b, a.vertex[edge.s1]);
  return edge;
}

// The first two visible selected faces, when there are exactly two.
std::optional<std::pair<int, int>> ExactlyTwoSelected(const MeshDocument& doc) {
  int found[2] = {-1, -1};
  int count = 0;
  for (int i = 0; i < doc.triangleCount; ++i) {
    if (!doc.triangles[i].selectedVisible()) continue;
    if (count == 2) return std::nullopt;
    found[count++] = i;
  }
  if (count != 2) return std::nullopt;
  return std::pair{found[0], found[1]};
}

}  // namespace

bool DeleteSelectedFaces(Application& app) {
  MeshDocument& doc = app.doc();
  Prompter& prompter = app.prompter;
  int selected = CountSelectedVisible(doc);
  if (selected == 0) {
    prompter.Message(face_edit_text::kNoSelection);
    return false;
  }
  if (selected == doc.triangleCount) {
    prompter.Message(face_edit_text::kCannotDeleteAll);
    return false;
  }
  int kept = 0;
  for (int i = 0; i < doc.triangleCount; ++i)
    if (!doc.triangles[i].selectedVisible()) doc.triangles[kept++] = doc.triangles[i];
  doc.triangleCount = static_cast<std::int16_t>(kept);
  doc.ComputeFaceNormals();
  doc.RebuildUvVertices(true);
  Notify(app, Change::Mesh);
  return true;
}

void FlipSelectedFaces(Application& app) {
  MeshDocument& doc = app.doc();
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.selectedVisible()) continue;
    std::swap(face.vertex[1], face.vertex[2]);
    std::swap(face.uvIndex[1], face.uvIndex[2]);
  }
  doc.ComputeFaceNormals();
  doc.RebuildUvVertices(true);
  Notify(app, Change::Mesh);
}

bool TurnEdge(Application& app) {
  MeshDocument& doc = app.doc();
  Prompter& prompter = app.prompter;
  auto pair = ExactlyTwoSelected(doc);
  if (!pair) {
    prompter.Message(face_edit_text::kTurnNeedsTwo);
    return false;
  }
  doc.RebuildUvVertices(true);
  MeshTriangle& a = doc.triangles[pair->first];
  MeshTriangle& b = doc.triangles[pair->second];
  auto edge = FindSharedEdge(a, b);
  if (!edge) {
    prompter.Message(face_edit_text::kTurnNotConnected);
    return false;
  }
  if (a.uvIndex[edge->s0] != b.uvIndex[edge->t0] || a.uvIndex[edge->s1] != b.uvIndex[edge->t1]) {
    prompter.Message(face_edit_text::kTurnSeam);
    return false;
  }
  const Corner as0 = CornerOf(a, edge->s0), as1 = CornerOf(a, edge->s1);
  const Corner aoA = CornerOf(a, edge->oA), boB = CornerOf(b, edge->oB);
  SetCorners(doc, a, as0, aoA, boB);
  SetCorners(doc, b, as1, boB, aoA);
  // When A lists its unshared corner first or last, the rewrite above winds
  // both faces against the pair's orientation and the flip turns them back.
  FlipSelectedFaces(app);
  return true;
}

void ClearSelectedMapping(Application& app) {
  MeshDocument& doc = app.doc();
  doc.RebuildUvVertices(true);
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.selectedVisible()) continue;
    for (UvPair& uv : face.uv) uv = {0, 0};
  }
  doc.RebuildUvVertices(false);
  Notify(app, Change::Mapping);
}

}  // namespace mok
