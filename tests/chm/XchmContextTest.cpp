// Context-sensitive help in a viewer: xchm (Debian's chmlib viewer) on a
// virtual display opens the page of each context id of a compiled help we
// wrote, with its contents and index. What it opens is logged by a library
// preloaded into it (tests/chm/viewer). Skipped only where no display can run.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "chm/HelpCompiler.h"
#include "cli/Process.h"
#include "support/TempDir.h"

namespace quorvex {
namespace {

using test::CrLf;
using test::TempDir;

// A child process started here, ended by its id when the object goes.
class Child {
 public:
  Child(std::vector<std::string> args, std::vector<std::string> environment, int outputFd = -1) {
    pid_ = fork();
    if (pid_ != 0) return;
    for (const std::string& variable : environment) putenv(const_cast<char*>(variable.c_str()));
    if (outputFd >= 0) {
      std::string fd = std::to_string(outputFd);
      for (std::string& arg : args) {
        if (arg == "FD") arg = fd;
      }
    } else {
      freopen("/dev/null", "w", stdout);
    }
    freopen("/dev/null", "w", stderr);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  ~Child() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 50 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  bool Started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

// Xvfb on a display it picks itself; the display number, or -1.
int StartDisplay(std::unique_ptr<Child>& server) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  server = std::make_unique<Child>(std::vector<std::string>{"Xvfb", "-displayfd", "FD", "-screen", "0", "1024x768x24",
                                                            "-nolisten", "tcp"},
                                   std::vector<std::string>{}, pipeFds[1]);
  close(pipeFds[1]);
  std::string number;
  char c;
  while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipeFds[0]);
  return number.empty() ? -1 : std::stoi(number);
}

class Reporter : public ChmReporter {
 public:
  void Warn(const ByteString& file, const ByteString& what) override { ADD_FAILURE() << file << ": " << what; }
};

// Waits until the log holds `line` (xchm takes a few seconds to start).
bool WaitForLine(const TempDir& dir, const std::string& log, const std::string& line) {
  for (int i = 0; i < 300; ++i) {
    if (dir.Exists(log) && dir.Read(log).find(line) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

TEST(XchmContext, EachContextIdOpensItsPageWithContentsAndIndex) {
  if (!FindProgram("Xvfb")) GTEST_SKIP() << "no virtual display (Debian xvfb; scripts/setup.sh --browser installs it)";
  ASSERT_TRUE(FindProgram("xchm")) << "scripts/setup.sh --browser installs xchm";
  std::unique_ptr<Child> server;
  int display = StartDisplay(server);
  if (display < 0) GTEST_SKIP() << "Xvfb could not start a display";

  TempDir dir;
  dir.Write("help.hhp", CrLf({"[OPTIONS]", "Compiled file=help.chm", "Contents file=help.hhc", "Index file=help.hhk",
                              "Default topic=html/top.html", "Title=Viewer", "", "[FILES]", "html/top.html", "html/two.html",
                              "html/three.html", "", "[ALIAS]", "IDH_PART=html/two.html#part", "IDH_TWO=html/two.html",
                              "IDH_THREE=html/three.html", "", "[MAP]", "#define IDH_PART 5", "#define IDH_TWO 0x06",
                              "#define IDH_THREE 700"}));
  for (const char* page : {"top", "two", "three"}) {
    dir.Write(std::string("html/") + page + ".html",
              std::string("<html><head><title>") + page + "</title></head><body><p>" + page + "</p><a name=\"part\"></a></body></html>");
  }
  const std::string sitemap = "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Top\">"
                              "<param name=\"Local\" value=\"html/top.html\"></object></ul>";
  dir.Write("help.hhc", sitemap);
  dir.Write("help.hhk", sitemap);
  Reporter reporter;
  CompileHelpProject(dir.Engine(), "help.hhp", "Quorvex", reporter);

  const std::pair<const char*, const char*> contexts[] = {{"5", "/html/two.html"}, {"6", "/html/two.html"}, {"700", "/html/three.html"}};
  for (const auto& [id, page] : contexts) {
    const std::string log = std::string("open-") + id + ".log";
    Child viewer({"xchm", "-c", id, dir.Native() + "/help.chm"},
                 {"DISPLAY=:" + std::to_string(display), "LD_PRELOAD=" QUORVEX_RESOLVE_LOG_LIBRARY,
                  "QUORVEX_RESOLVE_LOG=" + dir.Native() + "/" + log});
    ASSERT_TRUE(viewer.Started());
    EXPECT_TRUE(WaitForLine(dir, log, std::string("0 ") + page + "\n")) << "context " << id << " did not open " << page
                                                                        << "; the viewer looked up:\n" << (dir.Exists(log) ? dir.Read(log) : "");
    std::string opened = dir.Exists(log) ? dir.Read(log) : "";
    EXPECT_NE(opened.find("0 /help.hhc\n"), std::string::npos) << opened;
    EXPECT_NE(opened.find("0 /help.hhk\n"), std::string::npos) << opened;
  }
}

}  // namespace
}  // namespace quorvex
