// libFuzzer target for the text readers of a help project: the first byte
// picks the reader, the rest is the file. Topic files are converted with and
// without combined popups; the popup topic "p" is the same bytes, so hotspots
// that name it read them back as popup text.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/Driver.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "project/ContentsConverter.h"
#include "project/NameMap.h"
#include "project/ProjectReader.h"
#include "topics/TopicConverter.h"

using namespace quorvex;

namespace {

// One folder for the whole run; every input overwrites the same files.
const std::string& Folder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/quorvex-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) abort();
    return pattern;
  }();
  return folder;
}

ConversionJob FreshJob() {
  ConversionJob job;
  ChooseProject(job, EnginePath(Folder()) + "\\p.hpj");
  ChooseOutputFolder(job, EnginePath(Folder()) + "\\out");
  ForceDirectories(job.OutputFolder + "html");
  return job;
}

void Run(std::uint8_t reader, const std::string& bytes) {
  ConversionJob job = FreshJob();
  switch (reader % 4) {
    case 0:
      WriteFileInside(job.ProjectFolder, job.ProjectFolder + "p.rtf", bytes);
      for (bool combine : {true, false}) {
        job.CombinePopups = combine;
        ConvertTopicFile(job, "p.rtf");
      }
      break;
    case 1:
      WriteFileInside(job.ProjectFolder, job.ProjectPath, bytes);
      ReadProject(job);
      (void)PageName(job, job.ContentsTopic);
      break;
    case 2:
      WriteFileInside(job.ProjectFolder, job.ProjectFolder + "p.cnt", bytes);
      ConvertContents(job);
      break;
    default:
      WriteFileInside(job.ProjectFolder, job.ProjectFolder + "cnv.txt", bytes);
      LoadNameMap(job);
      (void)PageName(job, bytes.substr(0, 16));
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  try {
    Run(data[0], std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  } catch (const EConvertError&) {
    // A hexadecimal escape that is not hexadecimal, or a colour that is not a number.
  }
  return 0;
}
