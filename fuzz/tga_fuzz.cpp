// The TGA reader, in true-colour and indexed mode: a decoded image must hold
// exactly width x height texels within the size limits.
#include "image/image_formats.h"

namespace {

void Check(const mok::Result<mok::SkinSlot>& image) {
  if (!image) return;
  const std::size_t texels = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
  if (image->width < 1 || image->height < 1 || image->width > mok::kMaxImageWidth ||
      image->height > mok::kMaxSkinRows || image->pixels.size() != texels)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mok;
  ByteReader file({data, size});
  if (!CanLoadTga(file)) return 0;
  Check(LoadTga(file, ImageRequest{"fuzz.tga", ImageMode::TrueColor}));
  Check(LoadTga(file, ImageRequest{"fuzz.tga", ImageMode::Indexed}));
  return 0;
}
