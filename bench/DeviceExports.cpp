#include "DeviceExports.h"

#include "Orvex.h"

namespace bench {

namespace {

volatile std::int64_t sink;
std::uint8_t u8;
std::uint8_t u8b;
std::uint16_t u16;
std::uint32_t u32;
float f1;
float f2;
double d;
char date[16];
char productId[81];

template <class T>
void keep(T value) {
  sink = static_cast<std::int64_t>(value);
}

}  // namespace

const std::array<DeviceExport, 43> kDeviceExports{{
    {"Orvex_Version",
     [] {
       keep(Orvex_Version());
       return 0;
     },
     0},
    {"Orvex_Check", [] { return Orvex_Check(&u8); }, 2},
    {"Orvex_SetLPF", [] { return Orvex_SetLPF(0, 12); }, 1},
    {"Orvex_GetLPF", [] { return Orvex_GetLPF(1, &u16, &u8); }, 1},
    {"Orvex_GetLPF_Frequency",
     [] {
       keep(Orvex_GetLPF_Frequency(1000, 12));
       return 0;
     },
     0},
    {"Orvex_GetLPF_Damping",
     [] {
       keep(Orvex_GetLPF_Damping(1000, 12));
       return 0;
     },
     0},
    {"Orvex_GetLPF_Parameters",
     [] {
       Orvex_GetLPF_Parameters(1000, 12, &f1, &f2);
       return 0;
     },
     0},
    {"Orvex_GetLPF_Alpha",
     [] {
       keep(Orvex_GetLPF_Alpha(12, 0.7f));
       return 0;
     },
     0},
    {"Orvex_SetHPF_Tau", [] { return Orvex_SetHPF_Tau(0, 5); }, 1},
    {"Orvex_GetHPF_Tau", [] { return Orvex_GetHPF_Tau(1, &u8); }, 1},
    {"Orvex_GetHPF_Frequency",
     [] {
       keep(Orvex_GetHPF_Frequency(5));
       return 0;
     },
     0},
    {"Orvex_SetAmplification", [] { return Orvex_SetAmplification(0, 1.5f); }, 1},
    {"Orvex_GetAmplification", [] { return Orvex_GetAmplification(1, &f1); }, 1},
    {"Orvex_SetPolarity", [] { return Orvex_SetPolarity(0, 1); }, 1},
    {"Orvex_GetPolarity", [] { return Orvex_GetPolarity(1, &u8); }, 1},
    {"Orvex_SetOffset", [] { return Orvex_SetOffset(0, -1.0f); }, 1},
    {"Orvex_GetOffset", [] { return Orvex_GetOffset(1, &f1); }, 1},
    {"Orvex_SetOffsetRange", [] { return Orvex_SetOffsetRange(10.0f); }, 1},
    {"Orvex_GetOffsetRange", [] { return Orvex_GetOffsetRange(&f1); }, 1},
    {"Orvex_SetFLT", [] { return Orvex_SetFLT(0, 8); }, 1},
    {"Orvex_GetFLT", [] { return Orvex_GetFLT(1, &u16, &u8b); }, 1},
    {"Orvex_GetFLT_Frequency",
     [] {
       keep(Orvex_GetFLT_Frequency(100, 8));
       return 0;
     },
     0},
    {"Orvex_GetFLT_Damping",
     [] {
       keep(Orvex_GetFLT_Damping(100, 8));
       return 0;
     },
     0},
    {"Orvex_GetFLT_Parameters",
     [] {
       Orvex_GetFLT_Parameters(100, 8, &f1, &f2);
       return 0;
     },
     0},
    {"Orvex_GetFLT_Alpha",
     [] {
       keep(Orvex_GetFLT_Alpha(8, 0.7f));
       return 0;
     },
     0},
    {"Orvex_SetAmplitude", [] { return Orvex_SetAmplitude(0, 2.5f); }, 1},
    {"Orvex_GetAmplitude", [] { return Orvex_GetAmplitude(1, &f1); }, 1},
    {"Orvex_GetMeasAmplit", [] { return Orvex_GetMeasAmplit(0, &f1); }, 1},
    {"Orvex_SetOperMode", [] { return Orvex_SetOperMode(1, 2); }, 1},
    {"Orvex_GetOperMode", [] { return Orvex_GetOperMode(0, &u8); }, 1},
    {"Orvex_FW_Ver", [] { return Orvex_FW_Ver(&u16); }, 1},
    {"Orvex_FW_Date", [] { return Orvex_FW_Date(date); }, 1},
    {"Orvex_Prod_ID", [] { return Orvex_Prod_ID(productId); }, 1},
    {"Orvex_Prod_No", [] { return Orvex_Prod_No(&u32); }, 1},
    {"Orvex_Get5V", [] { return Orvex_Get5V(&f1); }, 1},
    {"Orvex_Get3V", [] { return Orvex_Get3V(&f1); }, 1},
    {"Orvex_GetTemp", [] { return Orvex_GetTemp(&f1); }, 1},
    {"Orvex_GetClkCPU", [] { return Orvex_GetClkCPU(&f1); }, 1},
    {"Orvex_GetClkPer", [] { return Orvex_GetClkPer(&f1); }, 1},
    {"Orvex_GetClkADC", [] { return Orvex_GetClkADC(&f1); }, 1},
    {"Orvex_GetClkDAC", [] { return Orvex_GetClkDAC(&f1); }, 1},
    {"Orvex_GetClkFilt", [] { return Orvex_GetClkFilt(&f1); }, 1},
    {"Orvex_GetUptime", [] { return Orvex_GetUptime(&d); }, 1},
}};

}  // namespace bench
