// libFuzzer target: any bytes as a topic file through the document reader,
// and, when they read as a document, through the pages written from it. The
// first byte chooses the project's code page and whether popups are combined.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Errors.h"
#include "base/Files.h"
#include "convert/Driver.h"
#include "document/DocumentSet.h"
#include "rtf/DocumentForm.h"
#include "rtf/RtfReader.h"

using namespace quorvex;

namespace {

// One folder for the whole run; every input overwrites the same files.
const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/quorvex-rtf-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) abort();
    return pattern;
  }();
  return folder;
}

void WritePages(const std::string& rtf, int codePage, bool combine) {
  ConversionJob job;
  ChooseProject(job, EnginePath(Folder()) + "\\p.hpj");
  ChooseOutputFolder(job, EnginePath(Folder()) + "\\out");
  ForceDirectories(job.OutputFolder + "html");
  ForceDirectories(job.OutputFolder + "img");
  WriteFileInside(job.ProjectFolder, job.ProjectFolder + "d.rtf", rtf);
  job.ProjectFiles.Add("d.rtf");
  job.CodePage = codePage;
  job.CombinePopups = combine;
  job.KeepGoing = true;
  DocumentSet documents;
  ReadDocuments(job, documents);
  IndexDocuments(job, documents);
  ConvertTopics(job, documents);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr int kCodePages[] = {0, 932, 936, 950, 1250, 1252};
  const int codePage = kCodePages[data[0] % 6];
  const std::string rtf(reinterpret_cast<const char*>(data + 1), size - 1);
  quorvex::HelpDocument document = quorvex::ReadRtfDocument(rtf, codePage);
  if (IsDocumentForm(rtf) && !document.Topics.empty()) {
    try {
      WritePages(rtf, codePage, (data[0] & 0x80) != 0);
    } catch (const EFCreateError&) {
      // A page name that would leave the output folder is refused, as it should be.
    }
  }
  return 0;
}
