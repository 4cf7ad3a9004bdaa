#pragma once
// One image reader under the fuzzer, in true-colour and indexed mode: a
// decoded image must hold exactly width x height texels within the size
// limits.
#include "image/image_formats.h"

namespace mok::fuzz {

inline void CheckDecodedImage(const Result<SkinSlot>& image) {
  if (!image) return;
  const std::size_t texels = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
  if (image->width < 1 || image->height < 1 || image->width > kMaxImageWidth || image->height > kMaxSkinRows ||
      image->pixels.size() != texels)
    __builtin_trap();
}

template <typename CanLoad, typename Load>
int FuzzImageReader(const std::uint8_t* data, std::size_t size, const char* name, CanLoad canLoad, Load load) {
  ByteReader file({data, size});
  if (!canLoad(file)) return 0;
  CheckDecodedImage(load(file, ImageRequest{name, ImageMode::TrueColor}));
  CheckDecodedImage(load(file, ImageRequest{name, ImageMode::Indexed}));
  return 0;
}

}  // namespace mok::fuzz
