#include "core/selection.h"

#include <algorithm>

namespace mok {
namespace {

// uvMarks bits.
constexpr std::uint8_t kMarkSelectedCorner = 1;
constexpr std::uint8_t kMarkRing = 2;

// The scratch mark of a corner's UV vertex, or null for an index outside the
// table in use (such a corner neither spreads nor receives a mark).
std::uint8_t* CornerMark(MeshDocument& doc, const MeshTriangle& face, int corner) {
  int index = face.uvIndex[corner];
  if (index < 0 || index >= doc.uvVertexCount) return nullptr;
  return &doc.uvMarks[static_cast<std::size_t>(index)];
}

void ClearMarks(MeshDocument& doc) {
  std::fill_n(doc.uvMarks.begin(), std::max<int>(doc.uvVertexCount, 0), std::uint8_t{0});
}

void MarkCorners(MeshDocument& doc, const MeshTriangle& face, std::uint8_t bit) {
  for (int k = 0; k < 3; ++k)
    if (std::uint8_t* mark = CornerMark(doc, face, k)) *mark |= bit;
}

int CornersMarked(MeshDocument& doc, const MeshTriangle& face, std::uint8_t bit) {
  int count = 0;
  for (int k = 0; k < 3; ++k) {
    const std::uint8_t* mark = CornerMark(doc, face, k);
    if (mark && (*mark & bit)) ++count;
  }
  return count;
}

// Bit 1 on every corner of a visible selected face.
void MarkSelectedCorners(MeshDocument& doc) {
  ClearMarks(doc);
  for (int i = 0; i < doc.triangleCount; ++i)
    if (doc.triangles[i].selectedVisible()) MarkCorners(doc, doc.triangles[i], kMarkSelectedCorner);
}

template <class Edit>
void ForEachFace(Application& app, Edit edit) {
  MeshDocument& doc = app.doc();
  for (int i = 0; i < doc.triangleCount; ++i) edit(doc.triangles[i]);
  Notify(app, Change::Selection);
}

}  // namespace

void SelectAll(Application& app) {
  ForEachFace(app, [](MeshTriangle& face) { face.state |= kFaceSelected; });
}

void SelectNone(Application& app) {
  ForEachFace(app, [](MeshTriangle& face) { face.state &= ~kFaceSelected; });
}

void InvertSelection(Application& app) {
  ForEachFace(app, [](MeshTriangle& face) { face.state ^= kFaceSelected; });
}

void HideSelectedFaces(Application& app) {
  ForEachFace(app, [](MeshTriangle& face) {
    if (face.selected()) face.state |= kFaceHidden;
  });
}

void UnhideAll(Application& app) {
  ForEachFace(app, [](MeshTriangle& face) {
    if (face.hidden()) face.state = (face.state & ~kFaceHidden) | kFaceSelected;
  });
}

void SelectConnected(Application& app) {
  MeshDocument& doc = app.doc();
  bool changed = true;
  while (changed) {
    changed = false;
    MarkSelectedCorners(doc);
    for (int i = 0; i < doc.triangleCount; ++i) {
      MeshTriangle& face = doc.triangles[i];
      if (face.hidden() || face.selected()) continue;
      if (CornersMarked(doc, face, kMarkSelectedCorner) > 0) {
        face.state |= kFaceSelected;
        changed = true;
      }
    }
  }
  Notify(app, Change::Selection);
}

void GrowSelection(Application& app) {
  MeshDocument& doc = app.doc();
  MarkSelectedCorners(doc);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!face.hidden() && CornersMarked(doc, face, kMarkSelectedCorner) > 0) MarkCorners(doc, face, kMarkRing);
  }
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.hidden() && CornersMarked(doc, face, kMarkRing) == 3) face.state |= kFaceSelected;
  }
  Notify(app, Change::Selection);
}

void ShrinkSelection(Application& app) {
  MeshDocument& doc = app.doc();
  MarkSelectedCorners(doc);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (face.hidden()) continue;
    if (!face.selected() || CornersMarked(doc, face, kMarkSelectedCorner) < 3) MarkCorners(doc, face, kMarkRing);
  }
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.hidden() && CornersMarked(doc, face, kMarkRing) > 0) face.state &= ~kFaceSelected;
  }
  Notify(app, Change::Selection);
}

}  // namespace mok
