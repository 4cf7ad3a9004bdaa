#include "core/mapping_file.h"

#include <algorithm>
#include <iterator>
#include <cstring>

#include "core/byte_reader.h"
#include "core/channel_units.h"
#include "core/byte_writer.h"
#include "core/file_io.h"

namespace mok {
namespace {

// Larger than any file of 32767 faces; bigger files are not read into memory.
constexpr std::uint64_t kMaxMappingFileBytes = 1u << 20;

struct MappingRecord {
  UvPair uv[3];
  std::uint8_t flags = 0;
  std::uint8_t type = 0;
  std::uint8_t color = 0;
  std::uint8_t textureNum = 0;
};

MappingRecord ReadRecord(ByteReader& in) {
  MappingRecord record;
  for (UvPair& uv : record.uv) {
    uv.u = in.f32();
    uv.v = in.f32();
  }
  record.flags = in.u8();
  record.type = in.u8();
  record.color = in.u8();
  record.textureNum = in.u8();
  return record;
}

bool AllWithinChannelUnits(const MappingRecord& record) {
  return std::all_of(std::begin(record.uv), std::end(record.uv), WithinChannelUnits);
}

// The face records after the header, once the header and the size check out.
Result<std::vector<MappingRecord>> ReadRecords(std::span<const std::uint8_t> bytes, int triangleCount) {
  ByteReader in(bytes);
  char magic[4];
  if (!in.bytes(magic, sizeof magic) || std::memcmp(magic, mapping_layout::kMagic, sizeof magic) != 0)
    return Error{mapping_text::kBadMagic, "mapping file"};
  std::int16_t count = in.i16();
  if (in.failed()) return Error{mapping_text::kTruncated, "mapping file"};
  if (count != triangleCount) return Error{mapping_text::kCountMismatch, "mapping file"};
  if (!in.has(static_cast<std::size_t>(count) * mapping_layout::kFaceRecordSize))
    return Error{mapping_text::kTruncated, "mapping file"};
  std::vector<MappingRecord> records;
  records.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    records.push_back(ReadRecord(in));
    if (!AllWithinChannelUnits(records.back())) return Error{mapping_text::kBadCoordinate, "mapping file"};
  }
  return records;
}

// A channel-unit value in texels of the channel's skin; a channel without a
// slot keeps geometry-file byte units.
UvPair FromChannelUnitsFor(const MeshDocument& doc, int channel, UvPair value) {
  if (const SkinSlot* slot = doc.slotFor(channel))
    return {slot->width * value.u * (1.0f / 4096), slot->height * value.v * (1.0f / 4096)};
  return {value.u * (1.0f / 16), value.v * (1.0f / 16)};
}

void ApplyRecord(MeshDocument& doc, MeshTriangle& face, const MappingRecord& record, const MkmpImportOptions& options) {
  if (options.importTypeFlags) {
    face.flags = record.flags;
    face.type = record.type;
    face.color = record.color;
  }
  if (options.importChannels) face.textureNum = record.textureNum;
  if (options.importUvs) {
    for (int k = 0; k < 3; ++k) face.uv[k] = FromChannelUnitsFor(doc, face.textureNum, record.uv[k]);
  }
}

}  // namespace

std::vector<std::uint8_t> BuildMappingFile(MeshDocument& doc) {
  ByteWriter out;
  out.raw(mapping_layout::kMagic, sizeof mapping_layout::kMagic);
  out.i16(doc.triangleCount);
  WithChannelUnits(doc, [&] {
    doc.RebuildUvVertices(true);  // the faces take the table's channel units
    for (int i = 0; i < doc.triangleCount; ++i) {
      const MeshTriangle& face = doc.triangles[i];
      for (const UvPair& uv : face.uv) {
        // Held to what an import accepts, as a mesh save does.
        const UvPair held = ClampToChannelUnits(uv, nullptr);
        out.f32(held.u);
        out.f32(held.v);
      }
      out.u8(face.flags);
      out.u8(face.type);
      out.u8(face.color);
      out.u8(face.textureNum);
    }
  });
  return std::move(out.bytes());
}

Status ApplyMappingFile(MeshDocument& doc, std::span<const std::uint8_t> bytes, const MkmpImportOptions& options) {
  auto records = ReadRecords(bytes, doc.triangleCount);
  if (!records) return records.error();
  doc.StoreMapping();
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (options.selectedOnly && !face.selected()) continue;
    ApplyRecord(doc, face, (*records)[static_cast<std::size_t>(i)], options);
  }
  doc.RebuildUvVertices(false);
  return Status::Ok();
}

Status ExportMappingTo(MeshDocument& doc, const std::string& path) {
  std::vector<std::uint8_t> bytes = BuildMappingFile(doc);
  FileErrorCause cause = WriteFileAtomically(path, bytes);
  if (cause != FileErrorCause::None)
    return Error{mapping_text::kSaveError + std::to_string(static_cast<int>(cause)), path};
  return Status::Ok();
}

Status ImportMappingFrom(MeshDocument& doc, const std::string& path, const MkmpImportOptions& options) {
  FileReadResult file = ReadWholeFile(path, kMaxMappingFileBytes);
  if (!file.ok()) return Error{mapping_text::kLoadError + std::to_string(static_cast<int>(file.cause)), path};
  return ApplyMappingFile(doc, file.bytes, options);
}

}  // namespace mok
