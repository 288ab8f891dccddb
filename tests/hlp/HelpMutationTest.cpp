// Cut and corrupted compiled help files: the reader gives a help or a clear
// error for any bytes, and the conversion of damaged copies either writes a
// help or ends with a message, never writing outside its output folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "hlp/CompiledHelpReader.h"
#include "base/ContextHash.h"
#include "hlp/HelpFileError.h"
#include "support/HelpFileBuilder.h"
#include "support/HelpProject.h"
#include "support/ShgBuilder.h"

namespace quorvex {
namespace {

using test::Bytes;
using test::RecordBuilder;
using test::BuiltTopic;

// A help of every part the reader reads: phrases, several blocks, tables,
// hotspots, pictures with hotspots, keywords, places and a map.
Bytes RichHelp() {
  test::HelpBuilder help;
  help.Phrasing = test::PhraseKind::Hall;
  help.Phrases = {"the", "help", "picture"};
  help.PerLeaf = 3;
  help.PageSize = 64;
  help.Fonts = {{"Arial"}, {"Symbol", 1, 30, {0x80, 0, 0}}};
  test::ShgBuilder shg;
  shg.Palette = {0, 0, 0, 0, 255, 255, 255, 0};
  shg.Data = test::PackLz77({1, 0, 0, 0});
  shg.Packing = 2;
  shg.Hotspots.push_back({0xE2, 0, 0, 0, 1, 1, "a", "two"});
  help.Files["|bm0"] = shg.Build();
  for (int t = 0; t < 6; ++t) {
    BuiltTopic topic{"The help " + std::to_string(t), {"c" + std::to_string(t)}, {"key", "k" + std::to_string(t)}};
    if (t == 2) topic.Contexts.push_back("two");
    topic.Records.push_back(RecordBuilder().Paragraph(0x0812, {3, 20}).Font(1).Text("Title").Par().End());
    topic.Records.push_back(RecordBuilder()
                                .Paragraph(0x0200, {1, 36})
                                .Text("the picture ").Picture(0x86, 0, 1).Command(0x83)
                                .Hotspot(0xE3, ContextHash("c" + std::to_string((t + 1) % 6))).Text("next").HotspotEnd()
                                .Macro("JI(`', `two')").Text("macro").HotspotEnd().Command(0x81)
                                .Object(0x86, "!Go,JumpId(`', `c1')").Par().End());
    topic.Records.push_back(RecordBuilder(0x23).Columns({{50, 5}, {60, 5}}).Cell(0).Text("a").End().Cell(1).Text("b").End());
    topic.NonScrolling = 1;
    topic.BrowseNext = t + 1 < 6 ? t + 1 : -1;
    topic.Places = {{"place" + std::to_string(t), 2}};
    help.Topics.push_back(topic);
  }
  help.Map = {{1, "c1"}, {2, "place3"}};
  return help.Build();
}

// Reading either gives a help or raises the reader's error, nothing else.
void ReadSafely(const Bytes& bytes) {
  for (bool keepGoing : {false, true}) {
    CompiledHelpOptions options;
    options.KeepGoing = keepGoing;
    try {
      ReadCompiledHelp(bytes, options);
    } catch (const EHelpFileError&) {
    }
  }
}

TEST(HelpMutation, CutAndFlippedFilesGiveAHelpOrTheReadersError) {
  const Bytes help = RichHelp();
  {
    CompiledHelpOptions options;
    CompiledHelp read = ReadCompiledHelp(help, options);  // whole, it reads without problems
    ASSERT_EQ(read.Document.Topics.size(), 6u);
    ASSERT_TRUE(read.Warnings.empty()) << read.Warnings.front();
  }
  for (std::size_t length = 0; length < help.size(); length += 1 + length / 256) {
    ReadSafely(Bytes(help.begin(), help.begin() + static_cast<std::ptrdiff_t>(length)));
  }
  ASSERT_LT(help.size(), 12000u);
  for (std::size_t i = 0; i < help.size(); i += 1 + i / 1024) {
    Bytes flipped = help;
    flipped[i] = i % 2 == 0 ? static_cast<std::uint8_t>(flipped[i] ^ (1u << (i / 2 % 8))) : 0xFF;
    ReadSafely(flipped);
  }
}

TEST(HelpMutation, DamagedHelpsConvertOrEndWithAMessage) {
  const Bytes help = RichHelp();
  for (std::size_t i = 16; i < help.size(); i += help.size() / 12) {
    Bytes damaged(help.begin(), help.end() - static_cast<std::ptrdiff_t>(i / 3));
    damaged[i % damaged.size()] ^= 0x5A;
    test::TempDir dir;
    dir.Write("in/HELP.HLP", std::string(damaged.begin(), damaged.end()));
    test::RunResult run = test::RunConverter({dir.Native() + "/in/HELP.HLP", dir.Native() + "/out", "--keep-going"});
    EXPECT_TRUE(run.code == 0 || run.err.find("quorvex-convert: ") != std::string::npos) << i << run.err;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Native())) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "in" || name == "out") << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Native() + "/in"), {}), 1);
  }
}

}  // namespace
}  // namespace quorvex
