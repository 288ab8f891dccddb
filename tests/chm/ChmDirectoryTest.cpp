#include "chm/ChmDirectory.h"

#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "chm/ChmContainer.h"
#include "chm/ChmDirectoryReader.h"
#include "support/ChmOracle.h"

namespace quorvex {
namespace {

// The ITSP header of a container: index depth and number of chunks.
struct DirectoryShape {
  std::uint32_t depth, chunks;
};

DirectoryShape Shape(const std::string& chm) {
  ByteReader reader(std::span(reinterpret_cast<const std::uint8_t*>(chm.data()), chm.size()));
  reader.Seek(0x48);
  std::uint32_t directory = reader.U32LE();
  reader.Seek(directory + 0x18);
  std::uint32_t depth = reader.U32LE();
  reader.Seek(directory + 0x2C);
  return {depth, reader.U32LE()};
}

// Names of every length up to what chmlib takes (512 bytes), in folders and
// with letters of both cases, fill many listing chunks and two index levels;
// chmlib finds each one through the index and lists them all.
TEST(ChmDirectory, NamesOfEveryLengthAcrossListingAndIndexChunks) {
  std::vector<ChmFile> files;
  for (std::size_t length = 2; length <= 512; ++length) {
    std::string name = "/" + std::string(length % 3 == 0 ? "Dir/" : "dir" + std::to_string(length % 7) + "/");
    while (name.size() < length) name += static_cast<char>("aZ_b9.-Q"[(name.size() * 7 + length) % 8]);
    name.resize(length);
    if (name.back() == '/') name.back() = 'x';
    files.push_back({name, "file " + std::to_string(length)});
  }
  files.push_back({"/a", ""});  // an empty file: section 0, no data
  std::string chm = BuildChmContainer(files, {});
  DirectoryShape shape = Shape(chm);
  EXPECT_GE(shape.depth, 3u) << "two index levels";
  EXPECT_GT(shape.chunks, 30u);

  std::optional<std::map<std::string, std::string>> all = test::ReadWithChmlib(chm);
  ASSERT_TRUE(all.has_value());
  for (const ChmFile& file : files) {
    EXPECT_EQ(all->at(file.name), file.data) << file.name;
    std::string upper = file.name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(test::ResolveWithChmlib(chm, upper), file.data) << "looked up as " << upper;
  }
  EXPECT_EQ(all->count("/Dir/"), 1u) << "folders are listed";

  // Our own reader checks what chmlib skips (quick-ref, free space, order,
  // chunk chain) and looks every name up through the index and quick-ref.
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(chm.data()), chm.size());
  ChmDirectoryListing listing = ReadChmDirectory(bytes);
  EXPECT_EQ(listing.entries.size(), all->size());
  for (const ChmFile& file : files) {
    std::optional<ChmDirectoryEntry> entry = FindChmEntry(bytes, file.name);
    ASSERT_TRUE(entry.has_value()) << file.name;
    EXPECT_EQ(entry->length, file.data.size()) << file.name;
  }
  EXPECT_FALSE(FindChmEntry(bytes, "/dir1/zzz").has_value());
}

// Every truncation and every flipped byte of the header and directory either
// reads or is a clean EChmFormat, never a crash or another error.
TEST(ChmDirectory, DamagedDirectoriesAreCleanErrors) {
  std::vector<ChmFile> files;
  for (int i = 0; i < 300; ++i) files.push_back({"/html/page" + std::to_string(i) + ".html", "x"});
  const std::string chm = BuildChmContainer(files, {});
  auto attempt = [](const std::string& bytes) {
    std::span<const std::uint8_t> span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    try {
      ReadChmDirectory(span);
      FindChmEntry(span, "/html/page150.html");
    } catch (const EChmFormat&) {
    }
  };
  const std::size_t directoryEnd = ReadChmDirectory(std::span(reinterpret_cast<const std::uint8_t*>(chm.data()), chm.size())).contentOffset;
  ASSERT_GT(directoryEnd, 0x78u + 0x54 + 2 * 0x1000) << "several chunks";
  for (std::size_t size = 0; size < directoryEnd; size += 13) attempt(chm.substr(0, size));
  // Every header byte, and in each chunk its header, first entries and quick-ref area.
  for (std::size_t at = 0; at < directoryEnd; ++at) {
    std::size_t inChunk = at < 0xCC ? 0 : (at - 0xCC) % 0x1000;
    if (inChunk >= 0x100 && inChunk < 0x1000 - 0x20) continue;
    std::string damaged = chm;
    damaged[at] = static_cast<char>(damaged[at] ^ (at % 2 ? 0xFF : 0x80));
    attempt(damaged);
  }
  std::string wrongQuickRef = chm;
  wrongQuickRef[0x78 + 0x54 + 0x1000 - 4] ^= 1;  // the quick-ref of the fifth entry of chunk 0
  std::span<const std::uint8_t> span(reinterpret_cast<const std::uint8_t*>(wrongQuickRef.data()), wrongQuickRef.size());
  try {
    ReadChmDirectory(span);
    FAIL() << "no error";
  } catch (const EChmFormat& error) {
    EXPECT_EQ(error.Message(), "broken compiled help: a quick-ref offset does not point at its entry");
  }
}

TEST(ChmDirectory, ANameTooLongForAChunkIsAnError) {
  try {
    BuildChmDirectory({{"/" + std::string(5000, 'a'), 1, 0, 1}}, 0x409);
    FAIL() << "no error";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message().substr(0, 55), "a name is too long for the compiled help's directory: /");
  }
}

}  // namespace
}  // namespace quorvex
