#include "core/info_file.h"

#include <cstring>

#include "core/byte_reader.h"
#include "core/byte_writer.h"

namespace mok {
namespace {

namespace layout {
constexpr char kMagic[4] = {'K', '3', 'D', 'F'};
constexpr std::size_t kAuthorField = 550, kContactField = 550, kDateField = 300, kCommentsField = 4100,
                      kCreditsField = 2100;
}  // namespace layout

FileInfo ReadStrings(ByteReader& reader) {
  FileInfo info;
  info.authorName = reader.fixedString(layout::kAuthorField, FileInfo::kAuthorMax);
  info.contact = reader.fixedString(layout::kContactField, FileInfo::kContactMax);
  info.date = reader.fixedString(layout::kDateField, FileInfo::kDateMax);
  info.comments = reader.fixedString(layout::kCommentsField, FileInfo::kCommentsMax);
  info.credits = reader.fixedString(layout::kCreditsField, FileInfo::kCreditsMax);
  return info;
}

bool ReadCoordinates(ByteReader& reader, int faceCount, std::vector<FaceCoordinates>& out) {
  if (!reader.has(static_cast<std::size_t>(faceCount) * 24)) return false;
  out.resize(static_cast<std::size_t>(faceCount));
  for (FaceCoordinates& face : out) {
    for (UvPair& corner : face) {
      corner.u = reader.f32();
      corner.v = reader.f32();
      if (!WithinChannelUnits(corner)) return false;
    }
  }
  return true;
}

}  // namespace

Result<ParsedInfoFile> ParseInfoFile(std::span<const std::uint8_t> bytes) {
  const Error invalid{kInfoInvalidMessage, "XXX_k.3d"};
  ByteReader reader(bytes);
  char magic[4];
  ParsedInfoFile parsed;
  // Too short for the magic (also empty): not an info file, like a wrong magic.
  if (!reader.bytes(magic, sizeof magic) || std::memcmp(magic, layout::kMagic, sizeof magic) != 0) return parsed;
  parsed.hasMagic = true;
  parsed.data.info = ReadStrings(reader);
  parsed.data.faceCount = reader.i16();
  if (reader.failed() || parsed.data.faceCount < 0) return invalid;
  if (!ReadCoordinates(reader, parsed.data.faceCount, parsed.data.coordinates)) return invalid;
  return parsed;
}

InfoFileUse DecideInfoFileUse(const ParsedInfoFile& parsed, int triangleCount, Prompter& prompter) {
  if (!parsed.hasMagic) return {};
  if (parsed.data.faceCount == triangleCount) return {true, true};
  bool keep = prompter.Ask(kInfoCountQuestion, Buttons::YesNo, MessageIcon::Question) == Answer::Yes;
  return {keep, false};
}

void ApplyInfoFile(MeshDocument& doc, const InfoFileData& data, const InfoFileUse& use) {
  if (use.strings) doc.fileInfo = data.info;
  if (!use.coordinates) return;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const FaceCoordinates& face = data.coordinates[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) doc.triangles[static_cast<std::size_t>(i)].uv[k] = face[static_cast<std::size_t>(k)];
  }
  doc.RebuildUvVertices(false);
  doc.FromChannelUnits();
  doc.RebuildUvVertices(true);
}

std::vector<std::uint8_t> WriteInfoFile(const FileInfo& info, std::span<const FaceCoordinates> coordinates) {
  ByteWriter out;
  out.bytes().reserve(sizeof layout::kMagic + layout::kAuthorField + layout::kContactField + layout::kDateField +
                      layout::kCommentsField + layout::kCreditsField + 2 + coordinates.size() * sizeof(FaceCoordinates));
  out.raw(layout::kMagic, sizeof layout::kMagic);
  out.fixedString(info.authorName, layout::kAuthorField);
  out.fixedString(info.contact, layout::kContactField);
  out.fixedString(info.date, layout::kDateField);
  out.fixedString(info.comments, layout::kCommentsField);
  out.fixedString(info.credits, layout::kCreditsField);
  out.i16(static_cast<std::int16_t>(coordinates.size()));
  for (const FaceCoordinates& face : coordinates) {
    for (const UvPair& corner : face) {
      out.f32(corner.u);
      out.f32(corner.v);
    }
  }
  return std::move(out.bytes());
}

}  // namespace mok
