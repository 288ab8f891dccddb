// Converts a compiled help file (.hlp) and the project it was compiled from
// with quorvex-convert, in one run, and prints the processor time and peak
// memory of each and the ratio compiled / sources: reading the compiled form
// should cost no more than reading the RTF it came from.
//
//   build/release-bench/hlp_convert HELP.hlp [PROJECT.hpj] [repetitions]
//
// PROJECT.hpj defaults to the one project file beside the help.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Run {
  double seconds;  ///< processor time, user and system
  long peakKilobytes;
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

Run Convert(const std::string& converter, const fs::path& input, const fs::path& out) {
  fs::remove_all(out);
  std::fflush(stdout);  // or the child would print what is buffered once more
  pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    execl(converter.c_str(), converter.c_str(), input.c_str(), out.c_str(), "--quiet", "--keep-going",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "hlp_convert: converting %s failed\n", input.c_str());
    std::exit(1);
  }
  return {Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss};
}

// The fastest of several runs: what the machine's other work added least to.
Run Best(const std::string& converter, const fs::path& input, const fs::path& out, int repetitions) {
  std::vector<Run> runs;
  for (int i = 0; i < repetitions; ++i) runs.push_back(Convert(converter, input, out));
  return *std::min_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
}

bool IsProjectFile(const fs::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".hpj";
}

fs::path ProjectBeside(const fs::path& help) {
  std::vector<fs::path> projects;
  for (const auto& entry : fs::directory_iterator(help.parent_path())) {
    if (IsProjectFile(entry.path())) projects.push_back(entry.path());
  }
  if (projects.size() != 1) {
    std::fprintf(stderr, "hlp_convert: name the project file; %zu lie beside the help\n", projects.size());
    std::exit(2);
  }
  return projects.front();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: hlp_convert HELP.hlp [PROJECT.hpj] [repetitions]\n");
    return 2;
  }
  const fs::path help = fs::absolute(argv[1]);
  const bool projectGiven = argc > 2 && IsProjectFile(argv[2]);
  const fs::path project = projectGiven ? fs::absolute(argv[2]) : ProjectBeside(help);
  const int next = projectGiven ? 3 : 2;
  const int repetitions = argc > next ? std::max(1, std::atoi(argv[next])) : 5;
  const fs::path out = fs::temp_directory_path() / ("quorvex-hlp-convert-" + std::to_string(getpid()));
  const std::string converter = QUORVEX_CONVERT_BINARY;

  const Run compiled = Best(converter, help, out / "hlp", repetitions);
  const Run sources = Best(converter, project, out / "hpj", repetitions);
  fs::remove_all(out);
  std::printf("best of %d runs; processor time (user + system) and peak memory\n", repetitions);
  std::printf("%-40s %6.3f s %7ld KiB\n", help.filename().c_str(), compiled.seconds, compiled.peakKilobytes);
  std::printf("%-40s %6.3f s %7ld KiB\n", project.filename().c_str(), sources.seconds, sources.peakKilobytes);
  std::printf("compiled / sources: time %.2f, memory %.2f\n", compiled.seconds / sources.seconds,
              static_cast<double>(compiled.peakKilobytes) / static_cast<double>(sources.peakKilobytes));
  return 0;
}
