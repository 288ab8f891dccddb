#pragma once
// A help project of documents converted through the command line, and its
// pages read back as UTF-8.

#include <string>
#include <vector>

#include "base/Encoding.h"
#include "support/HelpProject.h"
#include "support/RtfBuilder.h"

namespace quorvex::test {

struct DocumentProject {
  HelpProject project;
  std::vector<std::string> files;

  /// Adds a topic file of these topics ([FILES] lists the files in the order added).
  DocumentProject& Document(const std::string& name, const std::vector<std::string>& topics) {
    project.File(name, WordDocument(topics));
    files.push_back(name);
    return *this;
  }

  RunResult Convert(std::vector<std::string> options = {}, std::vector<std::string> extraSections = {}) {
    project.Section("[FILES]", files);
    for (std::size_t i = 0; i + 1 < extraSections.size(); i += 2) {
      project.Section(extraSections[i], {extraSections[i + 1]});
    }
    return project.Convert(options);
  }

  /// A file the conversion wrote, as UTF-8.
  std::string Utf8Output(const std::string& name) const { return DisplayText(project.Output(name)); }

  /// The lines between the body tag and the end of a page, as UTF-8.
  std::string Body(const std::string& page) const {
    std::string text = Utf8Output("html/" + page);
    std::size_t body = text.find("<body");
    std::size_t start = text.find(">\r\n", body);
    std::size_t end = text.rfind("</body></html>");
    if (body == std::string::npos || start == std::string::npos || end == std::string::npos) return text;
    return text.substr(start + 3, end - start - 3);
  }
};

}  // namespace quorvex::test
