#pragma once
// Map from 3D View seen through the 3D view's camera: the adapter the shell
// hands to MapFrom3DView.

#include "render/camera.h"
#include "panes/uv_edits.h"

namespace mok {

class CameraViewProjection final : public ViewProjection {
 public:
  // width is the 3D view's pitch, height its height.
  CameraViewProjection(const Camera& camera, int width, int height)
      : camera_(camera), width_(width), height_(height) {}

  Vec3 ToCameraSpace(const Vec3& vertex) const override { return mok::ToCameraSpace(camera_, vertex); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  float ProjectionScale() const override { return mok::ProjectionScale(camera_, width_, height_); }
  float Distance() const override { return camera_.distance; }

 private:
  const Camera& camera_;
  int width_;
  int height_;
};

}  // namespace mok
