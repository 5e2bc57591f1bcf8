// A run's transcript in one output mode: the commands' output alone, with the
// start-up lines, the help text and the closing line cut off, and the
// adapter trace beside it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>

#include "ProgramRun.h"

namespace orvex::test {

enum class Mode { Quiet, Normal, Debug };

struct Transcript {
  std::string out;    // what the commands printed: start-up, help and end removed
  std::string trace;  // the adapter calls, one per line
};

inline Transcript run(Mode mode, const std::string& input,
                      std::map<std::string, std::string> env = {}) {
  env["TARVISH_TRACE"] = "stderr";
  const std::vector<std::string> args = mode == Mode::Quiet   ? std::vector<std::string>{"-q"}
                                        : mode == Mode::Debug ? std::vector<std::string>{"-d"}
                                                              : std::vector<std::string>{};
  const auto result = runProgram({.args = args, .input = input, .env = env});
  if (mode == Mode::Quiet) return {result.out, result.err};
  const std::string help = helpText();
  const std::string end = "Program finished";
  const auto at = result.out.find(help);
  if (at == std::string::npos || !result.out.ends_with(end)) {
    return {"<unexpected start or end>" + result.out, result.err};
  }
  const std::size_t from = at + help.size();
  return {result.out.substr(from, result.out.size() - end.size() - from), result.err};
}

// A setting transaction is a send whose last argument is 1; queries end in 0.
inline bool anySetting(const std::string& trace) {
  static const std::regex setting(R"(Tarvish_Send\(1, \[[^\]]*\], \d+, 1\))");
  return std::regex_search(trace, setting);
}

// A set command run in normal mode: stdout must be exactly `out`; an
// accepted value shows its setting `sent` in the trace, a rejected one makes
// no setting at all.
inline void expectSetCommand(const std::string& input, const std::string& out, bool accepted,
                             const std::string& sent, const std::string& what) {
  const Transcript t = run(Mode::Normal, input);
  EXPECT_EQ(t.out, out) << what;
  if (accepted) {
    EXPECT_NE(t.trace.find(sent + "\n"), std::string::npos) << what << "\n" << t.trace;
  } else {
    EXPECT_FALSE(anySetting(t.trace)) << what << "\n" << t.trace;
  }
}

}  // namespace orvex::test
