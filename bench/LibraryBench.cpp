// What the device library itself costs per export. Each export runs over the
// null adapter next to the very adapter calls it makes, with the same
// arguments, called straight from here across the same library boundary; the
// difference is the library's own work. The program refuses to measure unless
// the null adapter is the one loaded.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "LoadedAdapter.h"
#include "Orvex.h"
#include "Tarvish.h"

namespace {

// Arguments are laundered through DoNotOptimize so that nothing is folded
// into the loop.
template <class T>
T opaque(T value) {
  benchmark::DoNotOptimize(value);
  return value;
}

// ---- Setting: Orvex_SetAmplification(0, 1.5) sends 0x15 0x80 0x01 ----------

void setAmplificationExport(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_SetAmplification(opaque<uint8_t>(0), opaque(1.5f)));
  }
}

void setAmplificationAdapter(benchmark::State& state) {
  for (auto _ : state) {
    const uint8_t request[3] = {opaque<uint8_t>(0x15), 0x80, 0x01};
    benchmark::DoNotOptimize(Tarvish_Send(TARVISH_PORT, request, 3, TARVISH_FINAL));
  }
}

// ---- Queries: the code, then the response ---------------------------------

// The two transfers of a query, as the library makes them.
template <int Bytes>
int32_t bareQuery(uint8_t code, void* reply) {
  const int32_t status = Tarvish_Send(TARVISH_PORT, &code, 1, TARVISH_MORE);
  if (status != 0) return status;
  return Tarvish_Receive(TARVISH_PORT, static_cast<uint8_t*>(reply), Bytes, TARVISH_FINAL);
}

void getAmplificationExport(benchmark::State& state) {
  float amplification = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_GetAmplification(opaque<uint8_t>(0), &amplification));
    benchmark::DoNotOptimize(amplification);
  }
}

void getAmplificationAdapter(benchmark::State& state) {
  for (auto _ : state) {
    uint8_t reply[8];
    benchmark::DoNotOptimize(bareQuery<2>(opaque<uint8_t>(0x15), reply));
    benchmark::DoNotOptimize(reply);
  }
}

void getUptimeExport(benchmark::State& state) {
  double seconds = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_GetUptime(&seconds));
    benchmark::DoNotOptimize(seconds);
  }
}

void getUptimeAdapter(benchmark::State& state) {
  for (auto _ : state) {
    uint8_t reply[8];
    benchmark::DoNotOptimize(bareQuery<6>(opaque<uint8_t>(0x05), reply));
    benchmark::DoNotOptimize(reply);
  }
}

// ---- Text queries ---------------------------------------------------------

template <int MaxLength>
int32_t bareTextQuery(uint8_t code, char* text) {
  const int32_t status = Tarvish_Send(TARVISH_PORT, &code, 1, TARVISH_MORE);
  if (status != 0) return status;
  return Tarvish_ReceiveString(TARVISH_PORT, text, MaxLength, TARVISH_FINAL);
}

void firmwareDateExport(benchmark::State& state) {
  char text[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_FW_Date(text));
    benchmark::DoNotOptimize(text);
  }
}

void firmwareDateAdapter(benchmark::State& state) {
  char text[16];
  for (auto _ : state) {
    benchmark::DoNotOptimize(bareTextQuery<16>(opaque<uint8_t>(0x04), text));
    benchmark::DoNotOptimize(text);
  }
}

void productIdExport(benchmark::State& state) {
  char text[81];
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_Prod_ID(text));
    benchmark::DoNotOptimize(text);
  }
}

void productIdAdapter(benchmark::State& state) {
  char text[81];
  for (auto _ : state) {
    benchmark::DoNotOptimize(bareTextQuery<81>(opaque<uint8_t>(0x01), text));
    benchmark::DoNotOptimize(text);
  }
}

// ---- Presence test: the adapter's check, then the identification query ----

void checkExport(benchmark::State& state) {
  uint8_t present = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_Check(&present));
    benchmark::DoNotOptimize(present);
  }
}

void checkAdapter(benchmark::State& state) {
  uint8_t present = 0;
  for (auto _ : state) {
    int32_t status = Tarvish_Check(TARVISH_PORT, &present);
    if (status == 0 && present != 0) {
      uint8_t reply[2];
      status = bareQuery<2>(opaque<uint8_t>(0x00), reply);
      benchmark::DoNotOptimize(reply);
    }
    benchmark::DoNotOptimize(status);
    benchmark::DoNotOptimize(present);
  }
}

// ---- Pure conversions: no adapter call at all ------------------------------

void lpfFrequencyExport(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_GetLPF_Frequency(opaque<uint16_t>(1000), opaque<uint8_t>(12)));
  }
}

void lpfAlphaExport(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Orvex_GetLPF_Alpha(opaque<uint8_t>(12), opaque(0.7f)));
  }
}

void noAdapterCall(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::ClobberMemory();
  }
}

// One export and the adapter calls it makes.
struct Pair {
  const char* name;
  void (*exportRun)(benchmark::State&);
  void (*adapterRun)(benchmark::State&);
};

const Pair kPairs[] = {
    {"Orvex_SetAmplification", setAmplificationExport, setAmplificationAdapter},
    {"Orvex_GetAmplification", getAmplificationExport, getAmplificationAdapter},
    {"Orvex_GetUptime", getUptimeExport, getUptimeAdapter},
    {"Orvex_FW_Date", firmwareDateExport, firmwareDateAdapter},
    {"Orvex_Prod_ID", productIdExport, productIdAdapter},
    {"Orvex_Check", checkExport, checkAdapter},
    {"Orvex_GetLPF_Frequency", lpfFrequencyExport, noAdapterCall},
    {"Orvex_GetLPF_Alpha", lpfAlphaExport, noAdapterCall},
};

// Keeps the median CPU time of each benchmark's repetitions (or of its single
// run) while the console reporter prints them all. CPU time, because on a
// shared machine the wall clock also counts time spent preempted.
class MedianCollector final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        median_[name] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1) {
        median_[name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  double nanoseconds(const std::string& name) const {
    const auto found = median_.find(name);
    return found == median_.end() ? -1.0 : found->second;
  }

 private:
  std::map<std::string, double> median_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!bench::nullAdapterLoaded()) return 2;

  for (const Pair& pair : kPairs) {
    benchmark::RegisterBenchmark((std::string("export/") + pair.name).c_str(), pair.exportRun)
        ->Unit(benchmark::kNanosecond);
    benchmark::RegisterBenchmark((std::string("adapter/") + pair.name).c_str(), pair.adapterRun)
        ->Unit(benchmark::kNanosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  MedianCollector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  // The library's own cost: the export less the adapter calls it makes.
  std::printf("\n%-24s %12s %14s %14s\n", "export", "export ns", "adapter ns", "library ns");
  double worst = -1e9;
  const char* worstName = "";
  for (const Pair& pair : kPairs) {
    const double total = reporter.nanoseconds(std::string("export/") + pair.name);
    const double adapter = reporter.nanoseconds(std::string("adapter/") + pair.name);
    if (total < 0 || adapter < 0) continue;  // filtered out
    // Below the noise of the two medians the difference may come out negative.
    const double own = total - adapter;
    std::printf("%-24s %12.2f %14.2f %14.2f\n", pair.name, total, adapter, own);
    std::printf("RESULT library_ns %s %.2f %.2f %.2f\n", pair.name, total, adapter, own);
    if (own > worst) {
      worst = own;
      worstName = pair.name;
    }
  }
  if (worst > -1e9) std::printf("RESULT library_ns_max %s %.2f\n", worstName, worst);
  return 0;
}
