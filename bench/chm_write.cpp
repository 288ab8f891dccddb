// Our compiled-help writer against chmcmd (Debian fp-utils) on a converted
// project given on the command line, in one run: the median time of each and
// the size of the .chm each writes, with the ratios ours / chmcmd. Both write
// the project's own compiled file, one after the other.
//
//   build/release/chm_write OUTDIR/PROJECT.hhp [repetitions]
//   (for example after: ./run.sh ../shared/corpus/winprom/WINPROM.HPJ /tmp/winprom)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "base/Files.h"
#include "chm/HelpCompiler.h"
#include "cli/ChmCompiler.h"
#include "cli/Process.h"

namespace {

using namespace quorvex;
namespace fs = std::filesystem;

class Quiet : public ChmReporter {
 public:
  void Warn(const ByteString&, const ByteString&) override {}
};

template <typename Work>
double MedianSeconds(int repetitions, Work work) {
  std::vector<double> seconds;
  for (int i = 0; i < repetitions; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: chm_write OUTDIR/PROJECT.hhp [repetitions]\n");
    return 2;
  }
  const fs::path hhp = fs::absolute(argv[1]);
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  if (!FindProgram("chmcmd")) {
    std::fprintf(stderr, "chm_write: chmcmd is not installed (Debian fp-utils)\n");
    return 1;
  }
  const ByteString folder = EnginePath(hhp.parent_path().string()) + "\\";
  const ByteString base = EnginePath(hhp.stem().string());
  try {
    ByteString chm;
    Quiet quiet;
    double ours = MedianSeconds(repetitions, [&] { chm = CompileHelpProject(folder, base + ".hhp", "Quorvex", quiet); });
    std::uintmax_t ourSize = fs::file_size(NativePath(chm));
    ChmOutcome outcome;
    double theirs = MedianSeconds(repetitions, [&] { outcome = CompileChm(folder, base); });
    if (!outcome.compiled) {
      std::fprintf(stderr, "chm_write: chmcmd failed: %s\n", outcome.report.c_str());
      return 1;
    }
    std::uintmax_t theirSize = fs::file_size(outcome.chmPath);
    std::printf("project %s, median of %d\n", hhp.string().c_str(), repetitions);
    std::printf("time   ours %.3f s  chmcmd %.3f s  ratio %.3f (target <= 0.5)\n", ours, theirs, ours / theirs);
    std::printf("size   ours %ju  chmcmd %ju  ratio %.3f (target <= 1.10)\n", ourSize, theirSize,
                static_cast<double>(ourSize) / theirSize);
  } catch (const Exception& error) {
    std::fprintf(stderr, "chm_write: %s\n", error.DisplayMessage().c_str());
    return 1;
  }
  return 0;
}
