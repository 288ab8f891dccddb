#include "cli/Process.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quorvex {

std::optional<std::string> FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) {
    return access(name.c_str(), X_OK) == 0 ? std::optional<std::string>(name) : std::nullopt;
  }
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start) + "/" + name;
    struct stat st;
    if (end > start && stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<ProcessResult> RunProcess(const std::vector<std::string>& args, const std::string& workingFolder) {
  if (args.empty()) return std::nullopt;
  std::optional<std::string> program = FindProgram(args[0]);
  if (!program) return std::nullopt;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return std::nullopt;

  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  pid_t pid = fork();
  if (pid < 0) {
    close(pipeFds[0]);
    close(pipeFds[1]);
    return std::nullopt;
  }
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    dup2(pipeFds[1], STDOUT_FILENO);
    dup2(pipeFds[1], STDERR_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (chdir(workingFolder.c_str()) != 0) _exit(127);
    execv(program->c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  ProcessResult result;
  char buffer[4096];
  for (;;) {
    ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace quorvex
