#include <iostream>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return quorvex::RunCommandLine(args, std::cout, std::cerr);
}
