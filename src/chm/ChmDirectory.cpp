#include "chm/ChmDirectory.h"

#include "base/Errors.h"
#include "chm/ChmBytes.h"

namespace quorvex {
namespace {

constexpr std::uint32_t kListingHeader = 0x14;
constexpr std::uint32_t kIndexHeader = 0x08;
constexpr std::uint32_t kQuickRefSpacing = 1 + (1u << kChmQuickRefDensity);
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// Bytes at the end of a chunk for the entry count and the quick-ref offsets.
std::uint32_t QuickRefSize(std::size_t entries) {
  return entries == 0 ? 2 : 2 + 2 * static_cast<std::uint32_t>((entries - 1) / kQuickRefSpacing);
}

// A chunk being filled: its entries and where each starts.
struct Chunk {
  std::string entries;
  std::vector<std::uint32_t> starts;
  std::string firstName;
};

// Entries go into chunks in order; a chunk is closed when the next entry
// and its quick-ref would not fit.
std::vector<Chunk> Pack(const std::vector<std::pair<std::string, std::string>>& named, std::uint32_t header) {
  std::vector<Chunk> chunks(1);
  for (const auto& item : named) {
    const std::string& name = item.first;
    const std::string& entry = item.second;  // named: clang 14 lambdas cannot capture structured bindings
    Chunk* chunk = &chunks.back();
    auto fits = [&](const Chunk& c) {
      return header + c.entries.size() + entry.size() + QuickRefSize(c.starts.size() + 1) <= kChmChunkSize;
    };
    if (!fits(*chunk)) {
      if (chunk->starts.empty()) throw Exception("a name is too long for the compiled help's directory: " + name);
      chunks.emplace_back();
      chunk = &chunks.back();
      if (!fits(*chunk)) throw Exception("a name is too long for the compiled help's directory: " + name);
    }
    if (chunk->starts.empty()) chunk->firstName = name;
    chunk->starts.push_back(static_cast<std::uint32_t>(chunk->entries.size()));
    chunk->entries += entry;
  }
  return chunks;
}

// A whole chunk: header, entries, free space, quick-ref area written
// backwards from the end (the count last, then the offset of every fifth
// entry from the first entry).
std::string ChunkBytes(const std::string& header, const Chunk& chunk) {
  std::string bytes = header + chunk.entries;
  std::string quickRef;
  std::size_t last = chunk.starts.empty() ? 0 : (chunk.starts.size() - 1) / kQuickRefSpacing;
  for (std::size_t i = last; i >= 1; --i) {
    AppendU16(quickRef, chunk.starts[i * kQuickRefSpacing]);
  }
  AppendU16(quickRef, static_cast<std::uint32_t>(chunk.starts.size()));
  bytes.append(kChmChunkSize - bytes.size() - quickRef.size(), '\0');
  return bytes + quickRef;
}

std::uint32_t FreeSpace(const Chunk& chunk, std::uint32_t header) {
  return kChmChunkSize - header - static_cast<std::uint32_t>(chunk.entries.size());
}

}  // namespace

std::string BuildChmDirectory(const std::vector<ChmDirectoryEntry>& entries, std::uint32_t lcid) {
  std::vector<std::pair<std::string, std::string>> listing;
  for (const ChmDirectoryEntry& entry : entries) {
    std::string bytes;
    AppendEncodedInteger(bytes, entry.name.size());
    bytes += entry.name;
    AppendEncodedInteger(bytes, entry.section);
    AppendEncodedInteger(bytes, entry.offset);
    AppendEncodedInteger(bytes, entry.length);
    listing.emplace_back(entry.name, std::move(bytes));
  }
  std::vector<Chunk> leaves = Pack(listing, kListingHeader);

  std::string chunks;
  const std::uint32_t leafCount = static_cast<std::uint32_t>(leaves.size());
  for (std::uint32_t i = 0; i < leafCount; ++i) {
    std::string header = "PMGL";
    AppendU32(header, FreeSpace(leaves[i], kListingHeader));
    AppendU32(header, 0);
    AppendU32(header, i == 0 ? kNone : i - 1);
    AppendU32(header, i + 1 == leafCount ? kNone : i + 1);
    chunks += ChunkBytes(header, leaves[i]);
  }

  // Index levels until one chunk holds the root; each entry names the first
  // entry of a chunk of the level below and that chunk's number.
  std::uint32_t depth = 1, root = kNone, count = leafCount;
  std::vector<Chunk> level = leaves;
  std::uint32_t levelStart = 0;
  while (level.size() > 1) {
    std::vector<std::pair<std::string, std::string>> index;
    for (std::uint32_t i = 0; i < level.size(); ++i) {
      std::string bytes;
      AppendEncodedInteger(bytes, level[i].firstName.size());
      bytes += level[i].firstName;
      AppendEncodedInteger(bytes, levelStart + i);
      index.emplace_back(level[i].firstName, std::move(bytes));
    }
    std::vector<Chunk> above = Pack(index, kIndexHeader);
    levelStart = count;
    for (const Chunk& chunk : above) {
      std::string header = "PMGI";
      AppendU32(header, FreeSpace(chunk, kIndexHeader));
      chunks += ChunkBytes(header, chunk);
    }
    count += static_cast<std::uint32_t>(above.size());
    root = count - 1;
    ++depth;
    level = std::move(above);
  }

  std::string directory = "ITSP";
  AppendU32(directory, 1);
  AppendU32(directory, 0x54);
  AppendU32(directory, 0x0A);
  AppendU32(directory, kChmChunkSize);
  AppendU32(directory, kChmQuickRefDensity);
  AppendU32(directory, depth);
  AppendU32(directory, root);
  AppendU32(directory, 0);
  AppendU32(directory, leafCount - 1);
  AppendU32(directory, kNone);
  AppendU32(directory, count);
  AppendU32(directory, lcid);
  AppendGuid(directory, {0x5D02926A, 0x212E, 0x11D0, {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC}});
  AppendU32(directory, 0x54);
  AppendU32(directory, kNone);
  AppendU32(directory, kNone);
  AppendU32(directory, kNone);
  return directory + chunks;
}

}  // namespace quorvex
