#include "chm/ChmDirectory.h"

#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "chm/ChmContainer.h"
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
