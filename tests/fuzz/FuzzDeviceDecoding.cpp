// Every export of the device library, called with arguments and adapter
// answers from the fuzzer's bytes. The input is a sequence of calls: which
// export, its channel and its argument, then what the adapter answers to
// each of its transfers (FuzzedAdapter).
//
// Each caller's variable is a heap block of exactly its size (the texts
// new char[16] and new char[81]), so that AddressSanitizer catches a write
// past it. After each call:
//   - the status is the failed adapter call's, unchanged, or 0;
//   - after a failure, decoded outputs (floats, the uptime, filter pairs)
//     hold their bytes from before the call;
//   - after success, a decoded float or double has been written, and the
//     present flag of the check is 0 or 1;
//   - the filter conversions make no adapter call, never give a NaN or a
//     negative frequency or damping, and the Parameters functions write both
//     outputs or neither.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "FuzzedAdapter.h"
#include "Orvex.h"

namespace {

using orvex::fuzz::adapter;

constexpr std::size_t kDateSize = 16;
constexpr std::size_t kIdSize = 81;

// A quiet NaN with a payload of its own: no decoding produces it, so it shows
// whether an output was written.
const float kUnwrittenF = std::bit_cast<float>(0x7FC0BEEFu);
const double kUnwrittenD = std::bit_cast<double>(0x7FF8DEADBEEF0000ull);

template <class T>
bool sameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

struct Arguments {
  std::uint8_t channel;
  float value;  // any bit pattern: NaN, infinities, subnormals
  std::uint8_t byte;
  std::uint16_t alpha;
};

// The caller's variables, each its own heap block.
struct Outputs {
  std::unique_ptr<float> f = std::make_unique<float>(kUnwrittenF);
  std::unique_ptr<float> f2 = std::make_unique<float>(kUnwrittenF);
  std::unique_ptr<double> d = std::make_unique<double>(kUnwrittenD);
  std::unique_ptr<std::uint8_t> u8 = std::make_unique<std::uint8_t>(0x5A);
  std::unique_ptr<std::uint16_t> u16 = std::make_unique<std::uint16_t>(0x5A5A);
  std::unique_ptr<std::uint32_t> u32 = std::make_unique<std::uint32_t>(0x5A5A5A5A);
  std::unique_ptr<std::uint16_t> alpha = std::make_unique<std::uint16_t>(0x5A5A);
  std::unique_ptr<std::uint8_t> beta = std::make_unique<std::uint8_t>(0x5A);
  std::unique_ptr<char[]> date{new char[kDateSize]};
  std::unique_ptr<char[]> id{new char[kIdSize]};
};

// What an export writes through its pointers, and so what to check.
enum class Kind {
  Setting,     // nothing
  Direct,      // the adapter receives straight into the caller's variable
  Text16,      // straight into the 16-byte date buffer
  Text81,      // straight into the 81-byte identification buffer
  Present,     // the check's flag
  Float,       // a decoded float in f
  Double,      // the decoded uptime in d
  Pair,        // a decoded filter pair in alpha and beta
  Conversion,  // no transfer; a frequency or damping in f
  Parameters,  // no transfer; frequency in f and damping in f2, or neither
};

struct Row {
  Kind kind;
  std::int32_t (*call)(const Arguments&, Outputs&);
};

using A = Arguments;
using O = Outputs;

// Conversions that return a frequency or damping keep it in f.
std::int32_t keep(float result, O& o) {
  *o.f = result;
  return 0;
}

const std::vector<Row>& rows() {
  using K = Kind;
  static const std::vector<Row> table{
      // Identification.
      {K::Present, [](const A&, O& o) { return Orvex_Check(o.u8.get()); }},
      {K::Direct, [](const A&, O& o) { return Orvex_FW_Ver(o.u16.get()); }},
      {K::Text16, [](const A&, O& o) { return Orvex_FW_Date(o.date.get()); }},
      {K::Text81, [](const A&, O& o) { return Orvex_Prod_ID(o.id.get()); }},
      {K::Direct, [](const A&, O& o) { return Orvex_Prod_No(o.u32.get()); }},
      // Channel output settings.
      {K::Setting, [](const A& a, O&) { return Orvex_SetAmplification(a.channel, a.value); }},
      {K::Float, [](const A& a, O& o) { return Orvex_GetAmplification(a.channel, o.f.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetPolarity(a.channel, a.byte); }},
      {K::Direct, [](const A& a, O& o) { return Orvex_GetPolarity(a.channel, o.u8.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetOffset(a.channel, a.value); }},
      {K::Float, [](const A& a, O& o) { return Orvex_GetOffset(a.channel, o.f.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetOffsetRange(a.value); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetOffsetRange(o.f.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetAmplitude(a.channel, a.value); }},
      {K::Float, [](const A& a, O& o) { return Orvex_GetAmplitude(a.channel, o.f.get()); }},
      {K::Float, [](const A& a, O& o) { return Orvex_GetMeasAmplit(a.channel, o.f.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetOperMode(a.channel, a.byte); }},
      {K::Direct, [](const A& a, O& o) { return Orvex_GetOperMode(a.channel, o.u8.get()); }},
      // Filters.
      {K::Setting, [](const A& a, O&) { return Orvex_SetLPF(a.channel, a.byte); }},
      {K::Pair,
       [](const A& a, O& o) { return Orvex_GetLPF(a.channel, o.alpha.get(), o.beta.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetHPF_Tau(a.channel, a.byte); }},
      {K::Direct, [](const A& a, O& o) { return Orvex_GetHPF_Tau(a.channel, o.u8.get()); }},
      {K::Setting, [](const A& a, O&) { return Orvex_SetFLT(a.channel, a.byte); }},
      {K::Pair,
       [](const A& a, O& o) { return Orvex_GetFLT(a.channel, o.alpha.get(), o.beta.get()); }},
      // Housekeeping, clocks and uptime.
      {K::Float, [](const A&, O& o) { return Orvex_Get5V(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_Get3V(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetTemp(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetClkCPU(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetClkPer(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetClkADC(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetClkDAC(o.f.get()); }},
      {K::Float, [](const A&, O& o) { return Orvex_GetClkFilt(o.f.get()); }},
      {K::Double, [](const A&, O& o) { return Orvex_GetUptime(o.d.get()); }},
      // Filter conversions.
      {K::Conversion,
       [](const A& a, O& o) { return keep(Orvex_GetLPF_Frequency(a.alpha, a.byte), o); }},
      {K::Conversion,
       [](const A& a, O& o) { return keep(Orvex_GetLPF_Damping(a.alpha, a.byte), o); }},
      {K::Parameters,
       [](const A& a, O& o) {
         Orvex_GetLPF_Parameters(a.alpha, a.byte, o.f.get(), o.f2.get());
         return 0;
       }},
      {K::Conversion,
       [](const A& a, O& o) {
         *o.alpha = Orvex_GetLPF_Alpha(a.byte, a.value);
         return 0;
       }},
      {K::Conversion, [](const A& a, O& o) { return keep(Orvex_GetHPF_Frequency(a.byte), o); }},
      {K::Conversion,
       [](const A& a, O& o) { return keep(Orvex_GetFLT_Frequency(a.alpha, a.byte), o); }},
      {K::Conversion,
       [](const A& a, O& o) { return keep(Orvex_GetFLT_Damping(a.alpha, a.byte), o); }},
      {K::Parameters,
       [](const A& a, O& o) {
         Orvex_GetFLT_Parameters(a.alpha, a.byte, o.f.get(), o.f2.get());
         return 0;
       }},
      {K::Conversion,
       [](const A& a, O& o) {
         *o.alpha = Orvex_GetFLT_Alpha(a.byte, a.value);
         return 0;
       }},
      {K::Conversion,
       [](const A&, O&) {
         FUZZ_CHECK(Orvex_Version() == 0x0100);
         return 0;
       }},
  };
  return table;
}

// A conversion result: unwritten, or a number that is not negative (a NaN
// is neither).
bool unwrittenOrNonNegative(float x) { return sameBytes(x, kUnwrittenF) || x >= 0.0f; }

void checkOutputs(Kind kind, bool failed, const Outputs& before, const Outputs& o) {
  switch (kind) {
    case Kind::Float:
      FUZZ_CHECK(failed ? sameBytes(*o.f, *before.f) : !std::isnan(*o.f));
      break;
    case Kind::Double:
      FUZZ_CHECK(failed ? sameBytes(*o.d, *before.d) : !std::isnan(*o.d));
      break;
    case Kind::Pair:
      if (failed) FUZZ_CHECK(*o.alpha == *before.alpha && *o.beta == *before.beta);
      break;
    case Kind::Present:
      if (!failed) FUZZ_CHECK(*o.u8 == 0 || *o.u8 == 1);
      break;
    case Kind::Conversion:
      FUZZ_CHECK(unwrittenOrNonNegative(*o.f));
      break;
    case Kind::Parameters:
      FUZZ_CHECK(unwrittenOrNonNegative(*o.f) && unwrittenOrNonNegative(*o.f2));
      FUZZ_CHECK(sameBytes(*o.f, kUnwrittenF) == sameBytes(*o.f2, kUnwrittenF));
      break;
    case Kind::Setting:
    case Kind::Direct:
    case Kind::Text16:
    case Kind::Text81:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::vector<Row>& table = rows();
  // A bounded number of calls per input; each takes at least a byte.
  for (int n = 0; n < 64 && input.remaining_bytes() > 0; ++n) {
    const Row& row = table[input.ConsumeIntegralInRange<std::size_t>(0, table.size() - 1)];
    const Arguments args{input.ConsumeIntegral<std::uint8_t>(),
                         std::bit_cast<float>(input.ConsumeIntegral<std::uint32_t>()),
                         input.ConsumeIntegral<std::uint8_t>(),
                         input.ConsumeIntegral<std::uint16_t>()};
    const Outputs before;
    Outputs out;
    char* text = row.kind == Kind::Text16   ? out.date.get()
                 : row.kind == Kind::Text81 ? out.id.get()
                                            : nullptr;
    const std::size_t capacity = row.kind == Kind::Text16   ? kDateSize
                                 : row.kind == Kind::Text81 ? kIdSize
                                                            : 0;
    adapter().begin(input, text, capacity);
    const std::int32_t status = row.call(args, out);
    const std::size_t calls = adapter().calls();
    const bool failed = adapter().end(status);
    if (row.kind == Kind::Conversion || row.kind == Kind::Parameters) FUZZ_CHECK(calls == 0);
    checkOutputs(row.kind, failed, before, out);
  }
  return 0;
}
