#include "hlp/HelpFileSystem.h"

#include <gtest/gtest.h>

#include "hlp/BTree.h"
#include "support/ErrorMessage.h"
#include "support/HelpFileBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;

std::string Text(std::span<const std::uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// Entries "k000" to "k<count>" with a 32-bit number each.
std::pair<std::vector<Bytes>, std::vector<Bytes>> NumberedEntries(int count) {
  std::vector<Bytes> entries, keys;
  for (int i = 0; i < count; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "k%03d", i);
    Bytes key = test::Z(name);
    keys.push_back(key);
    test::Put32(key, static_cast<std::uint32_t>(i * 7));
    entries.push_back(key);
  }
  return {entries, keys};
}

std::vector<std::string> ReadAll(const Bytes& tree, ReadProblems& problems) {
  std::vector<std::string> names;
  BTree(tree, "|TREE").ForEachEntry(problems, [&](ByteReader& entry) {
    std::string name;
    for (std::uint8_t c = entry.U8(); c != 0; c = entry.U8()) name.push_back(static_cast<char>(c));
    names.push_back(name + "=" + std::to_string(entry.U32LE()));
  });
  return names;
}

TEST(HelpFileSystem, FindsInternalFilesThroughAManyLevelDirectory) {
  std::map<std::string, Bytes> files;
  for (int i = 0; i < 60; ++i) files["|bm" + std::to_string(i)] = test::Z("picture " + std::to_string(i));
  files["|SYSTEM"] = test::Str("system");
  const Bytes help = test::HelpFile(files, 3);  // three entries a page: three levels
  ReadProblems problems(false);
  HelpFileSystem system(help, problems);
  EXPECT_EQ(system.Files().size(), 61u);
  EXPECT_EQ(Text(system.Find("|SYSTEM")->Bytes), "system");
  EXPECT_EQ(Text(system.Find("|bm42")->Bytes), std::string("picture 42") + '\0');
  EXPECT_FALSE(system.Find("|bm60"));
  EXPECT_FALSE(system.Find("|system"));  // names keep their letter case
  EXPECT_TRUE(IsCompiledHelp(help));
  EXPECT_FALSE(IsCompiledHelp(test::Str("[OPTIONS]")));
}

TEST(BTree, LeavesInKeyOrderAcrossLevels) {
  auto [entries, keys] = NumberedEntries(50);
  for (std::size_t perLeaf : {1000u, 7u, 2u}) {
    ReadProblems problems(false);
    std::vector<std::string> names = ReadAll(test::BTreeFile(entries, keys, "z4", 1024, perLeaf), problems);
    ASSERT_EQ(names.size(), 50u) << perLeaf;
    EXPECT_EQ(names.front(), "k000=0");
    EXPECT_EQ(names.back(), "k049=343");
  }
}

TEST(BTree, DamagedTreesAreProblemsWithTheirPlace) {
  auto [entries, keys] = NumberedEntries(20);
  const Bytes tree = test::BTreeFile(entries, keys, "z4", 64, 4);  // leaves are pages 0 to 4
  auto error = [](const Bytes& bytes) {
    return test::ErrorMessage<EHelpFileError>([&] {
      ReadProblems problems(false);
      ReadAll(bytes, problems);
    });
  };
  auto leafField = [&](int page, std::size_t field, std::uint16_t value) {
    Bytes damaged = tree;
    const std::size_t at = 38 + std::size_t(page) * 64 + field;
    damaged[at] = static_cast<std::uint8_t>(value);
    damaged[at + 1] = static_cast<std::uint8_t>(value >> 8);
    return damaged;
  };
  EXPECT_EQ(error(leafField(1, 2, 40)), "|TREE, offset 0xA6: an entry runs past the end of its B+ tree page");
  EXPECT_EQ(error(leafField(2, 6, 1)), "|TREE, offset 0x66: the chain of leaf pages loops");
  EXPECT_EQ(error(leafField(2, 6, 99)), "|TREE, offset 0x26: a page number outside the B+ tree: 99");
  EXPECT_EQ(error(Bytes(tree.begin(), tree.end() - 1)), "|TREE, offset 0x1E: the B+ tree's pages run past the end of the file");
  EXPECT_EQ(error(Bytes(tree.begin(), tree.begin() + 20)), "|TREE, offset 0x6: the B+ tree header is cut short");
  EXPECT_EQ(error(test::Str("not a tree at all, no")), "|TREE, offset 0x0: not a B+ tree");

  // Keeping going, a page with too many entries gives what it holds (its
  // free bytes read as entries too) and the others theirs; a loop ends the chain there.
  ReadProblems keepGoing(true);
  EXPECT_EQ(ReadAll(leafField(1, 2, 40), keepGoing).size(), 24u);
  EXPECT_EQ(ReadAll(leafField(2, 6, 1), keepGoing).size(), 12u);
  EXPECT_EQ(keepGoing.Warnings().size(), 2u);
}

TEST(HelpFileSystem, RefusesWhatIsNoHelpAndSkipsFilesOutsideIt) {
  auto error = [](const Bytes& bytes) {
    return test::ErrorMessage<EHelpFileError>([&] {
      ReadProblems problems(false);
      HelpFileSystem system(bytes, problems);
    });
  };
  EXPECT_EQ(error(test::Str("[OPTIONS]\r\nTITLE=x\r\n")), "(file header), offset 0x0: not a WinHelp file (no magic number)");
  Bytes help = test::HelpFile({{"|A", test::Str("aaaa")}, {"|B", test::Str("bbbb")}});
  Bytes farDirectory = help;
  farDirectory[6] = 0x7F;
  EXPECT_EQ(error(farDirectory), "(directory), offset 0x7F002A: the internal file's header lies outside the help file");
  // |B's header announces more bytes than the file holds.
  Bytes longB = help;
  longB[16 + 13 + 4 + 3] = 0x01;
  EXPECT_EQ(error(longB), "|B, offset 0x1D: the internal file runs past the end of the help file (16777220 bytes announced)");
  ReadProblems keepGoing(true);
  HelpFileSystem system(longB, keepGoing);
  EXPECT_TRUE(system.Find("|A"));
  EXPECT_FALSE(system.Find("|B"));
  EXPECT_EQ(keepGoing.Warnings().size(), 1u);
}

}  // namespace
}  // namespace quorvex
