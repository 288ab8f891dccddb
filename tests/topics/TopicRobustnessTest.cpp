// Broken topic files: every cut and every byte replaced by one of the bytes
// the scanner reacts to must convert or fail with the number error, never
// read outside a line (the sanitizer build checks that).

#include <gtest/gtest.h>

#include "topics/PopupText.h"
#include "topics/TopicConverter.h"
#include "topics/TopicTestSupport.h"

namespace quorvex {
namespace {

using test::TopicFixture;

void ConvertOrNumberError(TopicFixture& f, const std::string& content) {
  f.dir.Write("t.rtf", content);
  f.dir.Write("term.rtf", content);
  try {
    ConvertTopicFile(f.job, "t.rtf");
  } catch (const EConvertError&) {
    // a broken hexadecimal escape is the one error topic text can cause
  }
  try {
    ReadPopupText(f.job, f.job.ProjectFolder + "t.rtf");
  } catch (const EConvertError&) {
  }
}

TEST(TopicRobustness, CutAndCorruptedSampleTopics) {
  TopicFixture f;
  const ByteString sample = EnginePath(std::string(QUORVEX_SOURCE_DIR) + "/examples/sample/rtf/");
  const char replacements[] = {'\\', '{', '}', '\'', ' ', '\x81', '#', '>', ','};
  for (const char* name : {"usage.rtf", "tables.rtf"}) {
    const std::string original = ReadFile(sample + name);
    for (std::size_t i = 0; i <= original.size(); ++i) {
      ConvertOrNumberError(f, original.substr(0, i));
      if (i == original.size()) break;
      std::string changed = original;
      changed[i] = replacements[i % sizeof replacements];
      ConvertOrNumberError(f, changed);
    }
  }
  EXPECT_FALSE(f.job.IndexKeywords.Empty());
}

}  // namespace
}  // namespace quorvex
