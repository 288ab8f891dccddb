#include "chm/HelpCompiler.h"

#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "base/Errors.h"
#include "support/ChmOracle.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::Sjis;
using test::TempDir;

class Collect : public ChmReporter {
 public:
  void Warn(const ByteString& file, const ByteString& what) override { warnings.push_back(file + ": " + what); }
  std::vector<std::string> warnings;
};

ByteReader Reader(const std::string& bytes) {
  return ByteReader(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// The NUL-terminated text at an offset of #STRINGS.
std::string StringAt(const std::string& strings, std::uint32_t offset) {
  if (offset >= strings.size()) return "<out of range>";
  return strings.substr(offset, strings.find('\0', offset) - offset);
}

// #SYSTEM as code -> data.
std::map<int, std::string> SystemEntries(const std::string& system) {
  ByteReader reader = Reader(system);
  EXPECT_EQ(reader.U32LE(), 3u);
  std::map<int, std::string> entries;
  while (!reader.AtEnd()) {
    int code = reader.U16LE();
    auto data = reader.Bytes(reader.U16LE());
    entries[code] = std::string(data.begin(), data.end());
  }
  return entries;
}

// A project in the form our HelpProjectWriter writes it, with what real
// projects add: a map include, an anchor, two ids on one page, a page found
// only through a link, Japanese page names and a picture in another folder.
void WriteProject(const TempDir& dir, const std::string& extraOption = "") {
  dir.Write("help.hhp", CrLf({"[OPTIONS]", "Compiled file=Help.chm", "Contents file=help.hhc", "Default Window=main",
                              "Default topic=html/top.html", "Index file=help.hhk", "Language=0x411 " + Sjis("日本語"),
                              "Title=" + Sjis("ヘルプ"), extraOption, "",
                              "[WINDOWS]", "main=\"" + Sjis("窓") + "\",\"help.hhc\",\"help.hhk\",\"html/top.html\",,,,,,0x2120,,0x300e,[10,20,610,420],,,,,,,0",
                              "", "[FILES]", "html/top.html", "html/" + Sjis("表示") + ".html", "", "[ALIAS]",
                              "IDH_TOP=html/top.html", "IDH_PART=html/top.html#part", "IDH_SHOW=html\\" + Sjis("表示") + ".html",
                              "#include extra.h", "", "[MAP]", "#define IDH_TOP 100", "#define IDH_PART 0x0103",
                              "#define IDH_SHOW 7", "#define IDH_NONE 9", "", "[INFOTYPES]"}));
  dir.Write("extra.h", "#define IDH_LINKED\t0x20 // from a header\r\nIDH_LINKED=html/linked.html\r\n");
  dir.Write("html/top.html", "<html><head><title>Top &amp; more</title><link rel=\"stylesheet\" href=\"help.css\"></head>"
                             "<body><img src=\"../img/a.png\"><a href=\"linked.html#x\">l</a><a href=\"gone.html\">g</a>"
                             "<a href=\"JavaScript:popup()\">p</a><a name=\"part\"></a></body></html>");
  dir.Write("html/表示.html", "<title>" + Sjis("表示") + "</title>");
  dir.Write("html/linked.html", "<TITLE>\r\n  Linked\r\n  page </TITLE>");
  dir.Write("html/help.css", "body { background: url(\"../img/back.png\") }");
  dir.Write("img/a.png", std::string(40000, 'p') + "end");
  dir.Write("img/back.png", "back");
  dir.Write("img/unused.png", "never referred to");
  dir.Write("help.hhc", "<param name=\"Local\" value=\"html/top.html\">");
  dir.Write("help.hhk", "<param name=\"Name\" value=\"x\"><param name=\"Local\" value=\"html/linked.html\">");
}

TEST(HelpCompiler, EveryFileComesBackAndTheSystemFilesSayWhatTheProjectSays) {
  TempDir dir;
  WriteProject(dir, "Full-text search=Yes");
  Collect reporter;
  ByteString chmPath = CompileHelpProject(dir.Engine(), "help.hhp", "Quorvex test", reporter);
  EXPECT_EQ(chmPath, dir.Engine() + "Help.chm");
  EXPECT_EQ(reporter.warnings,
            (std::vector<std::string>{
                "help.hhp: Full-text search=Yes: the full-text search index is not written yet; the compiled help has no search",
                "html/top.html: refers to html/gone.html, which is not in the project's folder; left out",
                "help.hhp: [MAP] IDH_NONE has no [ALIAS] line; left out"}));

  std::optional<std::map<std::string, std::string>> files = test::ReadWithChmlib(dir.Read("Help.chm"));
  ASSERT_TRUE(files.has_value());
  for (const char* name : {"html/top.html", "html/表示.html", "html/linked.html", "html/help.css", "img/a.png",
                           "img/back.png", "help.hhc", "help.hhk"}) {
    ASSERT_EQ(files->count(std::string("/") + name), 1u) << name;
    EXPECT_EQ(files->at(std::string("/") + name), dir.Read(name)) << name;
  }
  EXPECT_EQ(files->count("/img/unused.png"), 0u);
  EXPECT_EQ(files->count("/help.hhp"), 0u);

  const std::string& strings = files->at("/#STRINGS");
  // Context ids to pages: relative, the anchor kept, two ids on one page, in id order.
  ByteReader ivb = Reader(files->at("/#IVB"));
  ASSERT_EQ(ivb.U32LE(), 4u * 8);
  std::vector<std::pair<std::uint32_t, std::string>> ids;
  while (!ivb.AtEnd()) {
    std::uint32_t id = ivb.U32LE();
    ids.emplace_back(id, StringAt(strings, ivb.U32LE()));
  }
  EXPECT_EQ(ids, (std::vector<std::pair<std::uint32_t, std::string>>{
                     {7, "html/" + Sjis("表示") + ".html"}, {0x20, "html/linked.html"}, {100, "html/top.html"},
                     {0x103, "html/top.html#part"}}));

  std::map<int, std::string> system = SystemEntries(files->at("/#SYSTEM"));
  EXPECT_EQ(system[0], std::string("help.hhc", 9));
  EXPECT_EQ(system[1], std::string("help.hhk", 9));
  EXPECT_EQ(system[2], std::string("html/top.html", 14));
  EXPECT_EQ(system[3], Sjis("ヘルプ") + '\0');
  EXPECT_EQ(system[5], std::string("main", 5));
  EXPECT_EQ(system[6], std::string("help", 5));
  EXPECT_EQ(system[9], std::string("Quorvex test", 13));
  ByteReader flags = Reader(system[4]);
  EXPECT_EQ(flags.U32LE(), 0x411u);
  EXPECT_EQ(flags.U32LE(), 1u) << "Japanese has two-byte characters";
  EXPECT_EQ(flags.U32LE(), 0u) << "no full-text search is claimed";

  ByteReader windows = Reader(files->at("/#WINDOWS"));
  ASSERT_EQ(windows.U32LE(), 1u);
  ASSERT_EQ(windows.U32LE(), 0xC4u);
  auto window = windows.Bytes(0xC4);
  ByteReader entry(window);
  auto stringField = [&](std::size_t at) {
    entry.Seek(at);
    return StringAt(strings, entry.U32LE());
  };
  EXPECT_EQ(stringField(0x08), "main");
  EXPECT_EQ(stringField(0x14), Sjis("窓"));
  EXPECT_EQ(stringField(0x60), "help.hhc");
  EXPECT_EQ(stringField(0x64), "help.hhk");
  EXPECT_EQ(stringField(0x68), "html/top.html");
  entry.Seek(0x10);
  EXPECT_EQ(entry.U32LE(), 0x2120u);
  entry.Seek(0x20);
  EXPECT_EQ(entry.U32LE(), 10u);
  EXPECT_EQ(entry.U32LE(), 20u);
  EXPECT_EQ(entry.U32LE(), 610u);
  entry.Seek(0x70);
  EXPECT_EQ(entry.U32LE(), 0x300Eu);

  // The topic table: every page with its title, those in the contents marked.
  ByteReader topics = Reader(files->at("/#TOPICS"));
  const std::string& urlTable = files->at("/#URLTBL");
  const std::string& urlStrings = files->at("/#URLSTR");
  std::map<std::string, std::pair<std::string, int>> titles;
  while (!topics.AtEnd()) {
    topics.U32LE();
    std::uint32_t title = topics.U32LE();
    ByteReader url = Reader(urlTable);
    url.Seek(topics.U32LE() + 8);
    std::string path = StringAt(urlStrings, url.U32LE() + 8);
    titles[path] = {title == 0xFFFFFFFF ? "" : StringAt(strings, title), topics.U16LE()};
    topics.U16LE();
  }
  EXPECT_EQ(titles, (std::map<std::string, std::pair<std::string, int>>{
                        {"html/top.html", {"Top & more", 6}},
                        {"html/" + Sjis("表示") + ".html", {Sjis("表示"), 2}},
                        {"html/linked.html", {"Linked page", 2}}}));
}

TEST(HelpCompiler, TheSameProjectGivesTheSameBytes) {
  TempDir one, two;
  WriteProject(one);
  WriteProject(two);
  Collect reporter;
  CompileHelpProject(one.Engine(), "help.hhp", "Quorvex", reporter);
  CompileHelpProject(two.Engine(), "help.hhp", "Quorvex", reporter);
  EXPECT_TRUE(one.Read("Help.chm") == two.Read("Help.chm"));
}

TEST(HelpCompiler, ProjectsThatCannotBeCompiledAreErrorsAndLeaveNoCompiledFile) {
  struct Case {
    std::string hhp, message;
  } cases[] = {
      {CrLf({"[OPTIONS]", "Compiled file=help.chm", "[FILES]", "html/gone.html", "html/top.html"}),
       "the project lists files that are not in its folder:\n  html/gone.html"},
      {CrLf({"[OPTIONS]", "Compiled file=help.chm", "Index file=..\\outside.hhk"}),
       "the project lists files that are not in its folder:\n  ..\\outside.hhk"},
      {CrLf({"[OPTIONS]", "Compiled file=..\\help.chm"}), "the compiled file must lie in the project's folder: ..\\help.chm"},
      {CrLf({"[FILES]", "html/top.html", std::string(508, 'x') + ".htm"}),
       "the name is too long for a compiled help (513 bytes, at most 512): " + std::string(508, 'x') + ".htm"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.Write("html/top.html", "x");
    dir.Write("help.chm", "an old compiled file");
    dir.Write("help.hhp", c.hhp);
    Collect reporter;
    try {
      CompileHelpProject(dir.Engine(), "help.hhp", "Quorvex", reporter);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(dir.Exists("help.chm"), c.message.find("must lie") != std::string::npos) << c.message;
  }
}

}  // namespace
}  // namespace quorvex
