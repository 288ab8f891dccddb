// Converts generated help projects of 1,000 and 16,000 topics with
// quorvex-convert and prints how the time and the peak memory grow:
// time(16k)/time(1k) is 16 for work that grows with the input and 256 for
// work that grows with its square. Each project comes in the one-topic-per-
// file form and in Word's form (16 files of 1,000 topics, and one file of
// 16,000). Every topic has two keywords, one of them second-level, a jump to
// the next topic, a popup of one of 50 popup topics and a contents entry.
//
//   build/release-bench/convert_scale [repetitions] [folder to keep the projects in, for a profiler]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPopupTopics = 50;
constexpr int kGroups = 50;

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Name(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "t%05d", n);
  return name;
}

// The body of topic n: text, a jump to the next topic, a popup.
std::string TopicBody(int n, int count) {
  return "Text of topic " + std::to_string(n) + " with a {\\uldb jump}{\\v " + Name((n + 1) % count) +
         "} and a {\\ul popup}{\\v pop" + std::to_string(n % kPopupTopics) + "}.\\par ";
}

std::string Keywords(int n) {
  return "keyword " + std::to_string(n) + ";group " + std::to_string(n % kGroups) + ",entry " + std::to_string(n);
}

void WriteProject(const fs::path& folder, const std::vector<std::string>& files, int count) {
  std::string hpj = "[OPTIONS]\r\nTITLE=Scale\r\nCONTENTS=" + Name(0) + "\r\n\r\n[FILES]\r\n";
  for (const std::string& file : files) hpj += file + "\r\n";
  Write(folder / "scale.hpj", hpj);
  std::string cnt = ":Base scale.hlp\r\n1 Topics\r\n";
  for (int n = 0; n < count; ++n) cnt += "2 Topic " + std::to_string(n) + "=" + Name(n) + "\r\n";
  Write(folder / "scale.cnt", cnt);
}

// One RTF file per topic, as the topic converter reads them.
void OneTopicProject(const fs::path& folder, int count) {
  std::vector<std::string> files;
  for (int n = 0; n < count + kPopupTopics; ++n) {
    bool popup = n >= count;
    std::string name = popup ? "pop" + std::to_string(n - count) : Name(n);
    std::string body = popup ? "Popup text " + name + ".\\par " : TopicBody(n, count);
    std::string title = popup ? "" : "${\\footnote Topic " + std::to_string(n) + "}K{\\footnote " + Keywords(n) + "}";
    Write(folder / (name + ".rtf"), "{\\rtf1\\ansi\r\n#{\\footnote " + name + "}" + title + body + "\r\n}\r\n");
    files.push_back(name + ".rtf");
  }
  WriteProject(folder, files, count);
}

std::string WordFootnote(char mark, const std::string& text) {
  return std::string("{\\cs16\\super ") + mark + "{\\footnote \\pard\\plain \\s15 {\\cs16\\super " + mark + "} " + text + "}}";
}

// Topics many to a file, as Word writes them.
void WordProject(const fs::path& folder, int count, int perFile) {
  const std::string header =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}"
      "{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\fs20 \\snext0 Normal;}{\\s1\\keepn\\b\\fs28 heading 1;}}\r\n";
  std::vector<std::string> files;
  std::string rtf;
  auto flush = [&] {
    std::string name = "part" + std::to_string(files.size()) + ".rtf";
    Write(folder / name, header + rtf + "}\r\n");
    files.push_back(name);
    rtf.clear();
  };
  for (int n = 0; n < count + kPopupTopics; ++n) {
    bool popup = n >= count;
    if (!rtf.empty()) rtf += "\\page\r\n";
    if (popup) {
      rtf += "\\pard\\plain " + WordFootnote('#', "pop" + std::to_string(n - count)) + " Popup text.\\par ";
    } else {
      rtf += "\\pard\\plain \\s1\\keepn " + WordFootnote('#', Name(n)) + WordFootnote('$', "Topic " + std::to_string(n)) +
             WordFootnote('K', Keywords(n)) + " Topic " + std::to_string(n) + "\\par \\pard\\plain " + TopicBody(n, count);
    }
    if ((n + 1) % perFile == 0) flush();
  }
  if (!rtf.empty()) flush();
  WriteProject(folder, files, count);
}

struct Run {
  double seconds;  ///< processor time, user and system: other work on the machine changes it little
  double wall;     ///< elapsed time
  long peakKilobytes;
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

Run Convert(const std::string& converter, const fs::path& project) {
  fs::remove_all(project.parent_path() / "out");
  std::fflush(stdout);  // or the child would print what is buffered once more
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);  // the converter names the files it wrote
    std::string out = (project.parent_path() / "out").string();
    execl(converter.c_str(), converter.c_str(), project.c_str(), out.c_str(), "--quiet", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "convert_scale: %s failed\n", project.c_str());
    std::exit(1);
  }
  return {Seconds(usage.ru_utime) + Seconds(usage.ru_stime), wall, usage.ru_maxrss};
}

// The fastest of several runs: what the machine's other work added least to.
Run Best(const std::string& converter, const fs::path& project, int repetitions) {
  std::vector<Run> runs;
  for (int i = 0; i < repetitions; ++i) runs.push_back(Convert(converter, project));
  return *std::min_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
}

void Report(const char* form, const Run& small, const Run& large) {
  std::printf("%-30s 1k: %5.2f s (%5.2f) %6ld KiB  16k: %6.2f s (%6.2f) %7ld KiB  time(16k)/time(1k) = %4.1f  memory = %4.1f\n",
              form, small.seconds, small.wall, small.peakKilobytes, large.seconds, large.wall, large.peakKilobytes,
              large.seconds / small.seconds, static_cast<double>(large.peakKilobytes) / static_cast<double>(small.peakKilobytes));
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const fs::path root = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "quorvex-convert-scale";
  const std::string converter = QUORVEX_CONVERT_BINARY;
  fs::remove_all(root);
  OneTopicProject(root / "one-1k", 1000);
  OneTopicProject(root / "one-16k", 16000);
  WordProject(root / "word-1k", 1000, 1000);
  WordProject(root / "word-16x1k", 16000, 1000);
  WordProject(root / "word-1x16k", 16000, 16000);
  std::printf("best of %d runs; time is processor time (user + system), elapsed time in parentheses\n", repetitions);
  Report("one topic per file", Best(converter, root / "one-1k" / "scale.hpj", repetitions),
         Best(converter, root / "one-16k" / "scale.hpj", repetitions));
  Run word1k = Best(converter, root / "word-1k" / "scale.hpj", repetitions);
  Report("Word form, 16 files of 1,000", word1k, Best(converter, root / "word-16x1k" / "scale.hpj", repetitions));
  Report("Word form, one file of 16,000", word1k, Best(converter, root / "word-1x16k" / "scale.hpj", repetitions));
  if (argc <= 2) fs::remove_all(root);
  return 0;
}
