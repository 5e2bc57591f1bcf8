// The terminal layer when standard input and output are pipes, as in scripted
// use: keys and entries read one stream in order, and nothing is written that
// only a screen understands.

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "ProbeProcess.h"

namespace orvex::console::test {
namespace {

struct Script {
  const char* steps;
  const char* input;
  const char* out;
  int exitCode;
};

TEST(ScriptedTerminal, KeysAndEntriesShareOneStream) {
  const Script scripts[] = {
      // A key is one byte, also Esc; an entry takes only what it uses and
      // leaves the rest to whatever reads next.
      {"kwkklK", "a 12x\x1b[Ab\nrest",
       "ready\nkey 97\nprompt: word 12\nkey 120\nkey 27\nprompt: line [Ab\n"
       "key 114\nkey 101\nkey 115\nkey 116\nkey -2\n",
       3},
      // The end of input: entries end, a key is waiting (the end) and reads as
      // the end.
      {"lWk", "", "ready\nprompt: line-end\nwaiting 1\nkey -2\n", 3},
      {"Wkl", "z", "ready\nwaiting 1\nkey 122\nprompt: line-end\n", 0},
      // No cursor on a pipe: nothing but the direct text is written.
      {"mdc", "", "ready\n<direct>col 1 row 1\n", 0},
  };
  for (const Script& script : scripts) {
    const ScriptedRun run = runScripted(script.steps, script.input);
    EXPECT_EQ(run.out, script.out) << script.steps;
    ASSERT_TRUE(WIFEXITED(run.status)) << script.steps;
    EXPECT_EQ(WEXITSTATUS(run.status), script.exitCode) << script.steps;
  }
}

}  // namespace
}  // namespace orvex::console::test
