// Runs the real Orvex-Test with scripted standard input and captures what it
// writes, as an operator's script would see it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace orvex::test {

struct RunResult {
  std::string out;  // standard output
  std::string err;  // standard error
  int status = -1;  // exit status as a shell sees it (0..255), or -1 if killed
};

struct RunOptions {
  std::vector<std::string> args;           // after the program's path
  std::string input;                       // standard input, then end of input
  std::map<std::string, std::string> env;  // TARVISH_ knobs and the like
  std::string argv0 = ORVEX_TEST_PROGRAM;  // the path the program sees
  bool closeInput = true;                  // false: keep standard input open
  int timeoutMs = 20000;                   // the run is killed after this
};

RunResult runProgram(const RunOptions& options);

// The program's normal-mode start-up lines and help text, as printed before
// the first key.
std::string normalStart();
std::string helpText();

}  // namespace orvex::test
