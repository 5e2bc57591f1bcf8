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

// The real program on pipes, fed while it runs (the options' input and
// timeout are not used). Standard output and standard error collect what
// arrives; on Windows their line ends read "\n" as on every other platform.
class ProgramSession {
 public:
  explicit ProgramSession(const RunOptions& options);
  ~ProgramSession();  // kills the program if it still runs
  ProgramSession(const ProgramSession&) = delete;
  ProgramSession& operator=(const ProgramSession&) = delete;

  // Writes to the program's standard input; false when it cannot take them.
  bool type(const std::string& bytes);
  // Ends the program's standard input.
  void closeInput();
  // Waits up to timeoutMs for more output; false on timeout or when both
  // outputs have ended.
  bool readSome(int timeoutMs);
  // Waits for the program's end: its exit status as a shell sees it, or -1.
  int wait();

  std::string out() const;
  std::string err() const;

 private:
  friend RunResult runProgram(const RunOptions& options);
  struct Process;
  Process* process_;
};

// The program's normal-mode start-up lines and help text, as printed before
// the first key.
std::string normalStart();
std::string helpText();

}  // namespace orvex::test
