// The BMP reader under the fuzzer (fuzz/image_fuzz.h).
#include "fuzz/image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return mok::fuzz::FuzzImageReader(data, size, "fuzz.bmp", mok::CanLoadBmp, mok::LoadBmp);
}
