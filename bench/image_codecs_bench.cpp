// Decoding speed of the three image readers on 1024 x 1024 skins built in
// memory. Run: build/bin/mok_bench --benchmark_filter=Decode
#include <benchmark/benchmark.h>

#include <random>

#include "core/byte_writer.h"
#include "image/image_codecs.h"

namespace mok {
namespace {

constexpr int kSide = 1024;

// Rows of short runs and literals, as painted skins compress.
std::vector<std::uint8_t> PcxSkin() {
  ByteWriter out;
  out.u8(10); out.u8(5); out.u8(1); out.u8(8);
  out.i16(0); out.i16(0); out.i16(kSide - 1); out.i16(kSide - 1);
  out.zeros(65 - out.size());
  out.u8(1); out.u16(kSide);
  out.zeros(128 - out.size());
  std::mt19937 random(1);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide;) {
      int run = std::min<int>(1 + random() % 8, kSide - x);
      out.u8(static_cast<std::uint8_t>(0xC0 + run)); out.u8(static_cast<std::uint8_t>(random()));
      x += run;
    }
  }
  out.u8(0x0C);
  for (int i = 0; i < 768; ++i) out.u8(static_cast<std::uint8_t>(i));
  return out.bytes();
}

std::vector<std::uint8_t> Bmp24Skin() {
  ByteWriter out;
  std::uint32_t dataSize = kSide * kSide * 3;
  out.text("BM"); out.u32(54 + dataSize); out.u32(0); out.u32(54);
  out.u32(40); out.i32(kSide); out.i32(kSide); out.u16(1); out.u16(24); out.u32(0); out.u32(dataSize);
  out.u32(100); out.u32(100); out.u32(0); out.u32(0);
  std::mt19937 random(2);
  for (std::uint32_t i = 0; i < dataSize; ++i) out.u8(static_cast<std::uint8_t>(random()));
  return out.bytes();
}

std::vector<std::uint8_t> Tga32RleSkin() {
  ByteWriter out;
  out.u8(0); out.u8(0); out.u8(10); out.zeros(5); out.u16(0); out.u16(0);
  out.u16(kSide); out.u16(kSide); out.u8(32); out.u8(0);
  std::mt19937 random(3);
  for (int done = 0; done < kSide * kSide;) {
    int count = std::min<int>(1 + random() % 16, kSide * kSide - done);
    bool run = random() % 2;
    out.u8(static_cast<std::uint8_t>((run ? 0x80 : 0) + count - 1));
    for (int i = 0; i < (run ? 1 : count); ++i) out.u32(random());
    done += count;
  }
  return out.bytes();
}

void Decode(benchmark::State& state, const std::vector<std::uint8_t>& file, ImageMode mode) {
  for (auto _ : state) {
    Result<SkinSlot> image = DecodeImage(file, "bench", mode);
    benchmark::DoNotOptimize(image.ok());
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void DecodePcx8(benchmark::State& state) { Decode(state, PcxSkin(), ImageMode::TrueColor); }
void DecodePcx8Indexed(benchmark::State& state) { Decode(state, PcxSkin(), ImageMode::Indexed); }
void DecodeBmp24(benchmark::State& state) { Decode(state, Bmp24Skin(), ImageMode::TrueColor); }
void DecodeTga32Rle(benchmark::State& state) { Decode(state, Tga32RleSkin(), ImageMode::TrueColor); }

BENCHMARK(DecodePcx8)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodePcx8Indexed)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeTga32Rle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mok
