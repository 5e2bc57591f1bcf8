// Monitoring commands of the real program over the simulated module:
// housekeeping, clocks, uptime and measured amplitude once, and the two
// continuous displays when standard output is not a console.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "ProgramRun.h"

using orvex::test::runProgram;

namespace {

using Env = std::map<std::string, std::string>;

// Quiet mode, so that only the commands' output shows; the trace goes to
// standard error.
orvex::test::RunResult quiet(const std::string& input, Env env = {}) {
  env["TARVISH_TRACE"] = "stderr";
  return runProgram({.args = {"-q"}, .input = input, .env = std::move(env)});
}

std::string error(const char* label, int call) {
  return "Error at " + std::string(label) + ": Injected failure of Tarvish_Receive (call " +
         std::to_string(call) + "), I/O Error Message: Simulated I/O error\n";
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Monitoring, HousekeepingLine) {
  const struct {
    const char* replies;
    const char* locale;
    std::string out;
  } cases[] = {
      // No 3 V reading and 300 K; the degree sign follows the locale's charset
      // (on Windows the console's code page, and a pipe has none).
      {"06=8813,07=0080,08=3075", "C.UTF-8",
       std::string("5V: +5.000V,\t3V: n/a,\tTemperature: +26.85") +
           (ORVEX_CHARSET_FROM_LOCALE ? "\xC2\xB0" : "\xF8") + "C\n"},
      {"06=8813,07=0080,08=3075", "C",
       "5V: +5.000V,\t3V: n/a,\tTemperature: +26.85\xF8"
       "C\n"},
      {"06=0080,07=E40C,08=FFFF", "C", "5V: n/a,\t3V: +3.300V,\tTemperature: n/a\n"},
      // Zero is a reading; the temperature's marker is 0xFFFF only.
      {"06=0000,07=0180,08=0080", "C",
       "5V: +0.000V,\t3V: +32.769V,\tTemperature: +54.53\xF8"
       "C\n"},
      {"06=8813,07=E40C,08=0000", "C",
       "5V: +5.000V,\t3V: +3.300V,\tTemperature: -273.15\xF8"
       "C\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quiet("k", {{"TARVISH_REPLY", c.replies}, {"LC_ALL", c.locale}}).out, c.out)
        << c.replies << " " << c.locale;
  }
  // 'K' is the same command; debug mode adds the heading.
  const auto debug =
      runProgram({.args = {"-d"},
                  .input = "K",
                  .env = {{"TARVISH_REPLY", "06=8813,07=E40C,08=3075"}, {"LC_ALL", "C"}}});
  EXPECT_NE(debug.out.find("same number.\nGetting housekeeping data:\n"
                           "5V: +5.000V,\t3V: +3.300V,\tTemperature: +26.85\xF8"
                           "C\nProgram"),
            std::string::npos)
      << debug.out;
}

TEST(Monitoring, ClockLine) {
  EXPECT_EQ(
      quiet("cC").out,
      "CPU: 48.000MHz,\tPeriph.: 24.000MHz,\tADC: 12.000MHz,\tDAC: 96.000kHz,\tFilter: 100.000kHz\n"
      "CPU: 48.000MHz,\tPeriph.: 24.000MHz,\tADC: 12.000MHz,\tDAC: 96.000kHz,\tFilter: "
      "100.000kHz\n");
  EXPECT_EQ(
      quiet("c", {{"TARVISH_REPLY", "09=006CDC02,0A=006CDC02,0B=006CDC02,0C=006CDC02,0D=006CDC02"}})
          .out,
      "CPU: 48.000MHz,\tPeriph.: 48.000MHz,\tADC: 48.000MHz,\tDAC: 48000.000kHz,\tFilter: "
      "48000.000kHz\n");
  const auto debug = runProgram({.args = {"-d"}, .input = "c"}).out;
  EXPECT_NE(debug.find("same number.\nGetting clock frequencies:\nCPU: 48.000MHz,"),
            std::string::npos)
      << debug;
}

TEST(Monitoring, UptimeAndAmplitudeOnce) {
  const struct {
    const char* keys;
    const char* replies;
    std::string out;
  } cases[] = {
      {"u", "05=000000000000", "Uptime: 0.00s\n"},
      // 59 s and 1020/1024 round up to a whole minute.
      {"u", "05=3B000000FC03", "Uptime: 1:00.00\n"},
      {"u", "05=100E00000000", "Uptime: 1:00:00.00\n"},
      {"u", "05=CD5F01000002", "Uptime: 25:01:01.50\n"},
      {"m", "1F=D204,20=1027", "Ch X: 1.234V,\tCh Y: 10.000V\n"},
      {"m", "", "Ch X: 0.000V,\tCh Y: 0.000V\n"},  // output off
  };
  for (const auto& c : cases) {
    EXPECT_EQ(quiet(c.keys, {{"TARVISH_REPLY", c.replies}}).out, c.out)
        << c.keys << " " << c.replies;
  }
  const auto debug = runProgram({.args = {"-d"},
                                 .input = "um",
                                 .env = {{"TARVISH_REPLY", "05=100E00000002,1F=D204,20=D204"}}})
                         .out;
  EXPECT_NE(debug.find("same number.\nGetting uptime:\nUptime: 1:00:00.50\n"
                       "Getting measured amplitude:\nCh X: 1.234V,\tCh Y: 1.234V\nProgram"),
            std::string::npos)
      << debug;
}

TEST(Monitoring, FailuresEndTheCommandAtTheFirstFailingQuery) {
  const struct {
    const char* keys;
    int failing;         // the receive that fails
    std::string out;     // quiet mode
    const char* unsent;  // a query that must not be made
  } cases[] = {
      {"ko", 2, error("Orvex_Get3V", 2), "Tarvish_Send(1, [08]"},
      {"ko", 1, error("Orvex_Get5V", 1), "Tarvish_Send(1, [07]"},
      {"ko", 3, error("Orvex_GetTemp", 3), nullptr},
      {"co", 1, error("Orvex_GetClkCPU", 1), "Tarvish_Send(1, [0A]"},
      {"co", 4, error("Orvex_GetClkDAC", 4), "Tarvish_Send(1, [0D]"},
      {"co", 5, error("Orvex_GetClkFilt", 5), nullptr},
      {"uo", 1, error("Orvex_GetUptime", 1), nullptr},
      {"mo", 1, error("Orvex_GetMeasAmplit", 1), "Tarvish_Send(1, [20]"},
      {"mo", 2, error("Orvex_GetMeasAmplit", 2), nullptr},
  };
  for (const auto& c : cases) {
    const auto run = quiet(c.keys, {{"TARVISH_FAIL", "Receive@" + std::to_string(c.failing)}});
    EXPECT_EQ(run.out, c.out + "ZPB slot number: 00h (0)\n") << c.keys << c.failing;
    if (c.unsent != nullptr) {
      EXPECT_EQ(run.err.find(c.unsent), std::string::npos) << c.keys << c.failing;
    }
  }
  // Normal mode: one report, then the flush line.
  const auto normal = runProgram({.input = "k", .env = {{"TARVISH_FAIL", "Receive@2"}}}).out;
  EXPECT_NE(
      normal.find("same number.\n" + error("Orvex_Get3V", 2) + "Buffers flushed\nProgram finished"),
      std::string::npos)
      << normal;
}

// Without a console the displays write one plain line per change: no escape
// sequence at all.
TEST(Monitoring, DisplaysInAScriptWriteReadableLines) {
  const auto uptime =
      runProgram({.input = "U\x1bo", .env = {{"TARVISH_REPLY", "05=100E00000002"}}}).out;
  EXPECT_EQ(uptime.find('\x1b'), std::string::npos);
  // The rate needs more than 100 ms; this display ends on the first Esc.
  const std::regex uptimeLine(
      "[^]*same number\\.\nPress 'Esc' to quit\n"
      "Device uptime: 1:00:00\\.50               Diff\\. to PC/s: [ -][0-9]\\.[0-9]{2}s"
      "               Queries/s: (?:[0-9]+\\.[0-9]{2})?\n"
      "ZPB slot number: 00h \\(0\\)\nProgram finished");
  EXPECT_TRUE(std::regex_match(uptime, uptimeLine)) << uptime;

  // Every run shows its first reading, even an uptime of 0 or the same uptime
  // as the run before; other keys are dropped; quiet mode has no hint line.
  const auto twice = quiet("Uax\x1bU\x1bo", {{"TARVISH_REPLY", "05=000000000000"}}).out;
  const std::regex twoRuns(
      "(?:Device uptime: 0\\.00s               Diff\\. to PC/s: [ -][0-9]\\.[0-9]{2}s"
      "               Queries/s: (?:[0-9]+\\.[0-9]{2})?\n)"
      "(?:Device uptime: 0\\.00s[^\n]*\n)*"
      "(?:Device uptime: 0\\.00s               Diff\\. to PC/s: [ -][0-9]\\.[0-9]{2}s"
      "               Queries/s: (?:[0-9]+\\.[0-9]{2})?\n)+"
      "ZPB slot number: 00h \\(0\\)\n");
  EXPECT_TRUE(std::regex_match(twice, twoRuns)) << twice;
  EXPECT_EQ(twice.find("Ch X"), std::string::npos) << "'a' was taken by the key loop";

  const auto amplitude = runProgram({.input = "M\x1bo"}).out;
  EXPECT_EQ(amplitude.find('\x1b'), std::string::npos);
  EXPECT_NE(amplitude.find("same number.\nPress 'Esc' to quit\n"), std::string::npos) << amplitude;
  EXPECT_TRUE(amplitude.ends_with("ZPB slot number: 00h (0)\nProgram finished")) << amplitude;
}

// A display whose every query fails reports each failure and still ends on
// Esc. Each cycle takes at most one key, so the five x make at least six
// cycles.
TEST(Monitoring, DisplaysWithFailingQueriesEndOnEsc) {
  for (const auto& [key, label] :
       {std::pair{"U", "Orvex_GetUptime"}, {"M", "Orvex_GetMeasAmplit"}}) {
    const auto out =
        runProgram({.input = std::string(key) + "xxxxx\x1bo", .env = {{"TARVISH_FAIL", "Receive"}}})
            .out;
    const std::regex shape(
        "[^]*same number\\.\nPress 'Esc' to quit\n"
        "(?:Error at " +
        std::string(label) +
        ": Injected failure of Tarvish_Receive \\(call [0-9]+\\), I/O Error "
        "Message: Simulated I/O error\nBuffers flushed\n)+"
        "ZPB slot number: 00h \\(0\\)\nProgram finished");
    EXPECT_TRUE(std::regex_match(out, shape)) << out;
    EXPECT_GE(count(out, "Buffers flushed\n"), 7u) << out;  // start-up and six cycles
  }
}

// The real program on pipes, fed while it runs. Its standard output to a pipe
// is buffered, so the session follows its progress by the adapter trace on
// standard error, which leaves line by line.
class PipeSession {
 public:
  explicit PipeSession(Env env) : session_(options(std::move(env))) {}

  void type(const std::string& keys) { ASSERT_TRUE(session_.type(keys)); }

  // Waits up to 10 s until the trace holds a part at least n times.
  bool waitForTrace(const std::string& part, std::size_t n) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (count(session_.err(), part) < n) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !session_.readSome(static_cast<int>(left.count()))) return false;
    }
    return true;
  }

  // Ends standard input and collects the rest; the exit status.
  int finish() {
    session_.closeInput();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline && session_.readSome(1000)) {
    }
    return session_.wait();
  }

  std::string out() const { return session_.out(); }

 private:
  static orvex::test::RunOptions options(Env env) {
    env["TARVISH_TRACE"] = "stderr";
    return {.args = {"-q"}, .env = std::move(env)};
  }

  orvex::test::ProgramSession session_;
};

// Each cycle of the uptime display pauses at least 1 ms while no key waits,
// so after 150 queries more than 100 ms have passed and the rate is shown.
TEST(Monitoring, UptimeDisplayShowsTheQueryRateWhileItRuns) {
  PipeSession program(Env{});
  program.type("U");
  ASSERT_TRUE(program.waitForTrace("Tarvish_Send(1, [05], 1, 0) = 0", 150));
  program.type("\x1bo");
  EXPECT_EQ(program.finish(), 0);
  const std::regex whole(
      "(?:Device uptime: [0-9:.s]+ +Diff\\. to PC/s: +-?[0-9]+\\.[0-9]{2}s +Queries/s: "
      "(?:[0-9]+\\.[0-9]{2})?\n)+"
      "ZPB slot number: 00h \\(0\\)\n");
  EXPECT_TRUE(std::regex_match(program.out(), whole)) << program.out();
  EXPECT_TRUE(std::regex_search(program.out(), std::regex("Queries/s: [0-9]+\\.[0-9]{2}\n")))
      << program.out();
}

// Each cycle of the amplitude display pauses at least 10 ms while no key
// waits, so after 30 queries of channel X more than 250 ms have passed and
// the values are shown.
TEST(Monitoring, AmplitudeDisplayShowsBothChannelsWhileItRuns) {
  PipeSession program(Env{{"TARVISH_REPLY", "1F=D204,20=1027"}});
  program.type("M");
  ASSERT_TRUE(program.waitForTrace("Tarvish_Send(1, [1F], 1, 0) = 0", 30));
  program.type("x\x1bg");
  EXPECT_EQ(program.finish(), 0);
  const std::regex whole(
      "(?:Measured amplitude: Ch X: 1\\.234V          Ch Y: 10\\.000V\n)+"
      "Ch X: 1\\.000V,\tCh Y: 1\\.000V\n");
  EXPECT_TRUE(std::regex_match(program.out(), whole)) << program.out();
}

}  // namespace
