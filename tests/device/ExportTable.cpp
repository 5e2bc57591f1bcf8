#include "ExportTable.h"

#include <cstring>

#include "Orvex.h"
#include "Tarvish.h"

namespace orvex::test {

Outputs::Outputs() { std::memset(text, '#', sizeof text); }

void PrintTo(const Outputs& out, std::ostream* os) {
  *os << "{f " << out.f << ", d " << out.d << ", u8 " << +out.u8 << ", u16 " << out.u16 << ", u32 "
      << out.u32 << ", alpha " << out.alpha << ", beta " << +out.beta << ", text[0] "
      << +static_cast<unsigned char>(out.text[0]) << "}";
}

void PrintTo(const ExportRow& row, std::ostream* os) { *os << row.name; }

namespace {

void* toU8(Outputs& o) { return &o.u8; }
void* toU16(Outputs& o) { return &o.u16; }
void* toU32(Outputs& o) { return &o.u32; }
void* toText(Outputs& o) { return o.text; }

}  // namespace

const std::vector<ExportRow>& transactionExports() {
  using S = Shape;
  using C = std::uint8_t;
  using O = Outputs;
  static const std::vector<ExportRow> rows{
      // Identification.
      {"Check",
       S::Check,
       0x00,
       false,
       2,
       {},
       [](C, O&) {
         std::uint8_t present = 0;
         return Orvex_Check(&present);
       },
       nullptr},
      {"FW_Ver", S::Query, 0x03, false, 2, {}, [](C, O& o) { return Orvex_FW_Ver(&o.u16); }, toU16},
      {"FW_Date",
       S::Text,
       0x04,
       false,
       16,
       {},
       [](C, O& o) { return Orvex_FW_Date(o.text); },
       toText},
      {"Prod_ID",
       S::Text,
       0x01,
       false,
       81,
       {},
       [](C, O& o) { return Orvex_Prod_ID(o.text); },
       toText},
      {"Prod_No",
       S::Query,
       0x02,
       false,
       4,
       {},
       [](C, O& o) { return Orvex_Prod_No(&o.u32); },
       toU32},
      // Channel output settings.
      {"SetAmplification",
       S::Setting,
       0x15,
       true,
       0,
       {0x00, 0x01},
       [](C ch, O&) { return Orvex_SetAmplification(ch, 1.0f); },
       nullptr},
      {"GetAmplification",
       S::Query,
       0x15,
       true,
       2,
       {},
       [](C ch, O& o) { return Orvex_GetAmplification(ch, &o.f); },
       nullptr},
      {"SetPolarity",
       S::Setting,
       0x17,
       true,
       0,
       {0x07},
       [](C ch, O&) { return Orvex_SetPolarity(ch, 7); },
       nullptr},
      {"GetPolarity",
       S::Query,
       0x17,
       true,
       1,
       {},
       [](C ch, O& o) { return Orvex_GetPolarity(ch, &o.u8); },
       toU8},
      {"SetOffset",
       S::Setting,
       0x0F,
       true,
       0,
       {0xCD, 0x0C},
       [](C ch, O&) { return Orvex_SetOffset(ch, 1.0f); },
       nullptr},
      {"GetOffset",
       S::Query,
       0x0F,
       true,
       2,
       {},
       [](C ch, O& o) { return Orvex_GetOffset(ch, &o.f); },
       nullptr},
      {"SetOffsetRange",
       S::Setting,
       0x0E,
       false,
       0,
       {0xE8, 0x03},
       [](C, O&) { return Orvex_SetOffsetRange(10.0f); },
       nullptr},
      {"GetOffsetRange",
       S::Query,
       0x0E,
       false,
       2,
       {},
       [](C, O& o) { return Orvex_GetOffsetRange(&o.f); },
       nullptr},
      {"SetAmplitude",
       S::Setting,
       0x19,
       true,
       0,
       {0xC4, 0x09},
       [](C ch, O&) { return Orvex_SetAmplitude(ch, 2.5f); },
       nullptr},
      {"GetAmplitude",
       S::Query,
       0x19,
       true,
       2,
       {},
       [](C ch, O& o) { return Orvex_GetAmplitude(ch, &o.f); },
       nullptr},
      {"GetMeasAmplit",
       S::Query,
       0x1F,
       true,
       2,
       {},
       [](C ch, O& o) { return Orvex_GetMeasAmplit(ch, &o.f); },
       nullptr},
      {"SetOperMode",
       S::Setting,
       0x21,
       true,
       0,
       {0x02},
       [](C ch, O&) { return Orvex_SetOperMode(ch, 2); },
       nullptr},
      {"GetOperMode",
       S::Query,
       0x21,
       true,
       1,
       {},
       [](C ch, O& o) { return Orvex_GetOperMode(ch, &o.u8); },
       toU8},
      // Filters.
      {"SetLPF",
       S::Setting,
       0x11,
       true,
       0,
       {0x0A},
       [](C ch, O&) { return Orvex_SetLPF(ch, 10); },
       nullptr},
      {"GetLPF",
       S::Query,
       0x11,
       true,
       3,
       {},
       [](C ch, O& o) { return Orvex_GetLPF(ch, &o.alpha, &o.beta); },
       nullptr},
      {"SetHPF_Tau",
       S::Setting,
       0x13,
       true,
       0,
       {0x14},
       [](C ch, O&) { return Orvex_SetHPF_Tau(ch, 20); },
       nullptr},
      {"GetHPF_Tau",
       S::Query,
       0x13,
       true,
       1,
       {},
       [](C ch, O& o) { return Orvex_GetHPF_Tau(ch, &o.u8); },
       toU8},
      {"SetFLT",
       S::Setting,
       0x1B,
       true,
       0,
       {0xFF},
       [](C ch, O&) { return Orvex_SetFLT(ch, 255); },
       nullptr},
      {"GetFLT",
       S::Query,
       0x1B,
       true,
       3,
       {},
       [](C ch, O& o) { return Orvex_GetFLT(ch, &o.alpha, &o.beta); },
       nullptr},
      // Housekeeping, clocks and uptime.
      {"Get5V", S::Query, 0x06, false, 2, {}, [](C, O& o) { return Orvex_Get5V(&o.f); }, nullptr},
      {"Get3V", S::Query, 0x07, false, 2, {}, [](C, O& o) { return Orvex_Get3V(&o.f); }, nullptr},
      {"GetTemp",
       S::Query,
       0x08,
       false,
       2,
       {},
       [](C, O& o) { return Orvex_GetTemp(&o.f); },
       nullptr},
      {"GetClkCPU",
       S::Query,
       0x09,
       false,
       4,
       {},
       [](C, O& o) { return Orvex_GetClkCPU(&o.f); },
       nullptr},
      {"GetClkPer",
       S::Query,
       0x0A,
       false,
       4,
       {},
       [](C, O& o) { return Orvex_GetClkPer(&o.f); },
       nullptr},
      {"GetClkADC",
       S::Query,
       0x0B,
       false,
       4,
       {},
       [](C, O& o) { return Orvex_GetClkADC(&o.f); },
       nullptr},
      {"GetClkDAC",
       S::Query,
       0x0C,
       false,
       4,
       {},
       [](C, O& o) { return Orvex_GetClkDAC(&o.f); },
       nullptr},
      {"GetClkFilt",
       S::Query,
       0x0D,
       false,
       4,
       {},
       [](C, O& o) { return Orvex_GetClkFilt(&o.f); },
       nullptr},
      {"GetUptime",
       S::Query,
       0x05,
       false,
       6,
       {},
       [](C, O& o) { return Orvex_GetUptime(&o.d); },
       nullptr},
  };
  return rows;
}

std::vector<Call> expectedCalls(const ExportRow& row, std::uint8_t channel) {
  const auto code = static_cast<std::uint8_t>(row.codeX + (row.perChannel && channel != 0 ? 1 : 0));
  switch (row.shape) {
    case Shape::Setting: {
      std::vector<std::uint8_t> request{code};
      request.insert(request.end(), row.data.begin(), row.data.end());
      return {sendCall(request, TARVISH_FINAL)};
    }
    case Shape::Query:
      return {sendCall({code}, TARVISH_MORE), receiveCall(row.length, TARVISH_FINAL)};
    case Shape::Text:
      return {sendCall({code}, TARVISH_MORE), receiveStringCall(row.length, TARVISH_FINAL)};
    case Shape::Check:
      return {checkCall(), sendCall({code}, TARVISH_MORE), receiveCall(row.length, TARVISH_FINAL)};
  }
  return {};
}

}  // namespace orvex::test
