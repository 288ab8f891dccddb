#pragma once
// A project in a temporary folder and a page to scan lines into.

#include <string>

#include "convert/Driver.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "support/TempDir.h"
#include "topics/LineCursor.h"
#include "topics/LineScanner.h"
#include "topics/TopicPage.h"

namespace quorvex::test {

struct TopicFixture {
  TempDir dir;
  ConversionJob job;
  TopicPage page{job};

  TopicFixture() {
    ChooseProject(job, dir.Engine() + "p.hpj");
    ChooseOutputFolder(job, dir.Engine() + "out");
    ForceDirectories(job.OutputFolder + "html");
  }

  /// Writes a topic file of the project (CR LF after every line).
  void WriteTopic(const std::string& name, std::initializer_list<std::string> lines) const {
    dir.Write(name, CrLf(lines));
  }

  /// Scans one line on the page and returns what it wrote.
  std::string Scan(const std::string& line) {
    ByteString out;
    LineCursor cursor(line);
    ScanLine(page, cursor, out);
    return out;
  }
};

/// The message of the exception `call` raises, or "" when it raises none.
template <typename Call>
std::string MessageOf(Call call) {
  try {
    call();
  } catch (const Exception& error) {
    return error.Message();
  }
  return "";
}

}  // namespace quorvex::test
