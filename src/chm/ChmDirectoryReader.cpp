#include "chm/ChmDirectoryReader.h"

#include <string>

#include "base/ByteReader.h"
#include "chm/ChmBytes.h"
#include "chm/ChmNames.h"

namespace quorvex {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

[[noreturn]] void Broken(const std::string& what) { throw EChmFormat("broken compiled help: " + what); }

void Expect(bool condition, const char* what) {
  if (!condition) Broken(what);
}

struct Directory {
  std::span<const std::uint8_t> chunks;
  std::uint32_t chunkSize, density, depth, root, first, last, count;
  std::uint64_t contentOffset;
};

Directory ReadHeaders(std::span<const std::uint8_t> file) {
  ByteReader header(file);
  Expect(header.Rest().size() >= 0x60 && std::string_view(reinterpret_cast<const char*>(file.data()), 4) == "ITSF",
         "no ITSF header");
  header.Seek(0x48);
  std::uint64_t directoryOffset = header.U32LE() | (std::uint64_t{header.U32LE()} << 32);
  std::uint64_t directoryLength = header.U32LE() | (std::uint64_t{header.U32LE()} << 32);
  std::uint64_t contentOffset = header.U32LE() | (std::uint64_t{header.U32LE()} << 32);
  Expect(directoryOffset <= file.size() && directoryLength <= file.size() - directoryOffset, "directory past the end");
  Expect(contentOffset <= file.size(), "content past the end");
  ByteReader directory(file.subspan(directoryOffset, directoryLength));
  Expect(directory.Remaining() >= 0x54 && std::string_view(reinterpret_cast<const char*>(directory.Rest().data()), 4) == "ITSP",
         "no ITSP directory header");
  directory.Seek(8);
  std::uint32_t headerLength = directory.U32LE();
  directory.Seek(0x10);
  Directory d;
  d.chunkSize = directory.U32LE();
  d.density = directory.U32LE();
  d.depth = directory.U32LE();
  d.root = directory.U32LE();
  d.first = directory.U32LE();
  d.last = directory.U32LE();
  directory.U32LE();
  d.count = directory.U32LE();
  d.contentOffset = contentOffset;
  Expect(headerLength == 0x54, "directory header length is not 0x54");
  Expect(d.chunkSize >= 0x20 && d.chunkSize <= 0x10000, "chunk size out of range");
  Expect(d.density < 8, "quick-ref density out of range");
  Expect(std::uint64_t{d.count} * d.chunkSize == directoryLength - headerLength, "chunk count does not match the directory length");
  Expect(d.first < d.count && d.last < d.count && d.first <= d.last, "listing chunk numbers out of range");
  Expect(d.root == kNone ? d.depth == 1 : d.root < d.count && d.depth >= 2 && d.depth <= 16, "index root and depth disagree");
  d.chunks = file.subspan(directoryOffset + headerLength, std::uint64_t{d.count} * d.chunkSize);
  return d;
}

// One chunk: its entries (as spans) and checks of its own bookkeeping.
struct Chunk {
  bool listing;
  std::uint32_t previous = kNone, next = kNone;
  std::vector<std::span<const std::uint8_t>> entries;
};

std::string EntryName(ByteReader& entry) {
  std::uint64_t length = ReadEncodedInteger(entry);
  auto name = entry.Bytes(length);
  return std::string(name.begin(), name.end());
}

Chunk ReadChunk(const Directory& d, std::uint32_t number) {
  Expect(number < d.count, "chunk number out of range");
  std::span<const std::uint8_t> bytes = d.chunks.subspan(std::uint64_t{number} * d.chunkSize, d.chunkSize);
  ByteReader reader(bytes);
  std::string_view magic(reinterpret_cast<const char*>(bytes.data()), 4);
  Chunk chunk;
  chunk.listing = magic == "PMGL";
  Expect(chunk.listing || magic == "PMGI", "a chunk is neither PMGL nor PMGI");
  reader.Skip(4);
  std::uint32_t free = reader.U32LE();
  if (chunk.listing) {
    reader.U32LE();
    chunk.previous = reader.U32LE();
    chunk.next = reader.U32LE();
  }
  const std::size_t start = reader.Position();
  Expect(free <= d.chunkSize - start, "free space larger than the chunk");
  const std::size_t end = d.chunkSize - free;
  Expect(end <= d.chunkSize - 2, "no room for the entry count");
  ByteReader quickRef(bytes.subspan(d.chunkSize - 2, 2));
  std::uint32_t count = quickRef.U16LE();
  // Entries up to the free space, each starting where the last ended.
  std::vector<std::size_t> starts;
  ByteReader entries(bytes.subspan(start, end - start));
  while (!entries.AtEnd()) {
    std::size_t at = entries.Position();
    EntryName(entries);
    if (chunk.listing) {
      ReadEncodedInteger(entries);
      ReadEncodedInteger(entries);
      ReadEncodedInteger(entries);
    } else {
      ReadEncodedInteger(entries);
    }
    starts.push_back(at);
    chunk.entries.push_back(bytes.subspan(start + at, entries.Position() - at));
  }
  Expect(starts.size() == count, "entry count in the quick-ref area is wrong");
  const std::size_t spacing = 1 + (std::size_t{1} << d.density);
  for (std::size_t i = spacing, slot = 2; i < count; i += spacing, ++slot) {
    Expect(end <= d.chunkSize - 2 * slot, "quick-ref area overlaps the entries");
    ByteReader offset(bytes.subspan(d.chunkSize - 2 * (slot), 2));
    Expect(offset.U16LE() == starts[i], "a quick-ref offset does not point at its entry");
  }
  return chunk;
}

}  // namespace

ChmDirectoryListing ReadChmDirectory(std::span<const std::uint8_t> file) {
  try {
    Directory d = ReadHeaders(file);
    ChmDirectoryListing listing;
    listing.contentOffset = d.contentOffset;
    std::string previousName;
    std::uint32_t previousChunk = kNone;
    // The listing chunks in their chain, every name after the one before.
    for (std::uint32_t number = d.first, seen = 0; number != kNone; ++seen) {
      Expect(seen < d.count, "listing chunks form a loop");
      Chunk chunk = ReadChunk(d, number);
      Expect(chunk.listing, "the listing chain reaches an index chunk");
      Expect(chunk.previous == previousChunk, "a listing chunk names the wrong previous chunk");
      for (std::span<const std::uint8_t> bytes : chunk.entries) {
        ByteReader entry(bytes);
        ChmDirectoryEntry e;
        e.name = EntryName(entry);
        e.section = ReadEncodedInteger(entry);
        e.offset = ReadEncodedInteger(entry);
        e.length = ReadEncodedInteger(entry);
        Expect(listing.entries.empty() || ChmNameLess(previousName, e.name), "names out of order or repeated");
        previousName = e.name;
        listing.entries.push_back(std::move(e));
      }
      previousChunk = number;
      Expect(chunk.next != kNone || number == d.last, "the last listing chunk is not the one the header names");
      number = chunk.next;
    }
    return listing;
  } catch (const EReadPastEnd&) {
    Broken("a directory entry runs past its chunk");
  }
}

std::optional<ChmDirectoryEntry> FindChmEntry(std::span<const std::uint8_t> file, std::string_view name) {
  try {
    Directory d = ReadHeaders(file);
    std::uint32_t number = d.root == kNone ? d.first : d.root;
    for (std::uint32_t level = 0;; ++level) {
      Expect(level <= d.depth, "the index is deeper than the header says");
      Chunk chunk = ReadChunk(d, number);
      if (chunk.listing) {
        for (std::span<const std::uint8_t> bytes : chunk.entries) {
          ByteReader entry(bytes);
          ChmDirectoryEntry e;
          e.name = EntryName(entry);
          if (!ChmNameEqual(e.name, name)) continue;
          e.section = ReadEncodedInteger(entry);
          e.offset = ReadEncodedInteger(entry);
          e.length = ReadEncodedInteger(entry);
          return e;
        }
        return std::nullopt;
      }
      // The last index entry whose name is not after the one looked for.
      std::optional<std::uint32_t> child;
      for (std::span<const std::uint8_t> bytes : chunk.entries) {
        ByteReader entry(bytes);
        std::string first = EntryName(entry);
        std::uint64_t target = ReadEncodedInteger(entry);
        if (ChmNameLess(name, first)) break;
        Expect(target < d.count, "an index entry names no chunk");
        child = static_cast<std::uint32_t>(target);
      }
      if (!child) return std::nullopt;
      number = *child;
    }
  } catch (const EReadPastEnd&) {
    Broken("a directory entry runs past its chunk");
  }
}

}  // namespace quorvex
