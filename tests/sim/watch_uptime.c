/* A plain C program over the device library and the simulated adapter:
 * opens the adapter, scans the bus for the module, reads every
 * identification and housekeeping value, sets and reads back every setting,
 * and watches the uptime advance. Exits non-zero on the first mismatch. */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "Orvex.h"
#include "Tarvish.h"

static int failures = 0;

static void expect(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "watch_uptime: %s failed (%s / %s)\n", what, Tarvish_ErrorMessage(),
            Tarvish_IO_ErrorMessage());
    ++failures;
  }
}

static void pause_ms(long ms) {
  struct timespec delay = {0, ms * 1000000L};
  nanosleep(&delay, NULL);
}

int main(void) {
  uint8_t present = 0, found = 0, byte = 0;
  int slot;
  uint16_t version = 0, alpha = 0;
  uint32_t number = 0;
  char date[16], id[81];
  float value = 0;
  double start = 0, now = 0;
  int tries;
  uint8_t channel;

  expect(Tarvish_Version() >> 8 == 1, "adapter version");
  expect(Tarvish_Open() == 0, "Tarvish_Open");
  expect(Tarvish_Flush_LPT() == 0, "Tarvish_Flush_LPT");

  for (slot = 0; slot < 256 && !found; ++slot) {
    expect(Tarvish_SetSlot((uint8_t)slot, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP) == 0, "SetSlot");
    expect(Orvex_Check(&present) == 0, "Orvex_Check");
    found = present;
  }
  if (!found) {
    fprintf(stderr, "watch_uptime: no module on the bus\n");
    return 1;
  }
  printf("module in slot %d\n", slot - 1);

  expect(Orvex_FW_Ver(&version) == 0 && version >> 8 == 1, "Orvex_FW_Ver");
  expect(Orvex_FW_Date(date) == 0 && strlen(date) < 16, "Orvex_FW_Date");
  expect(Orvex_Prod_ID(id) == 0 && strlen(id) < 81, "Orvex_Prod_ID");
  expect(Orvex_Prod_No(&number) == 0, "Orvex_Prod_No");
  printf("%s, firmware %d-%02d of %s, product %u\n", id, version >> 8, version & 0xFF, date,
         (unsigned)number);
  expect(Orvex_Get5V(&value) == 0 && fabsf(value - 5.0f) < 0.1f, "Orvex_Get5V");
  expect(Orvex_Get3V(&value) == 0 && fabsf(value - 3.3f) < 0.1f, "Orvex_Get3V");
  expect(Orvex_GetTemp(&value) == 0 && value > 270 && value < 330, "Orvex_GetTemp");
  expect(Orvex_GetClkCPU(&value) == 0 && value > 0, "Orvex_GetClkCPU");
  expect(Orvex_GetClkPer(&value) == 0 && value > 0, "Orvex_GetClkPer");
  expect(Orvex_GetClkADC(&value) == 0 && value > 0, "Orvex_GetClkADC");
  expect(Orvex_GetClkDAC(&value) == 0 && value > 0, "Orvex_GetClkDAC");
  expect(Orvex_GetClkFilt(&value) == 0 && value > 0, "Orvex_GetClkFilt");

  for (channel = 0; channel < 2; ++channel) {
    expect(Orvex_SetAmplification(channel, 1.5f + channel) == 0, "Orvex_SetAmplification");
    expect(Orvex_GetAmplification(channel, &value) == 0 && value == 1.5f + channel,
           "Orvex_GetAmplification");
    expect(Orvex_SetPolarity(channel, 1) == 0, "Orvex_SetPolarity");
    expect(Orvex_GetPolarity(channel, &byte) == 0 && byte == 1, "Orvex_GetPolarity");
    expect(Orvex_SetOffset(channel, -1.0f) == 0, "Orvex_SetOffset");
    expect(Orvex_GetOffset(channel, &value) == 0 && fabsf(value + 1.0f) < 0.0004f,
           "Orvex_GetOffset");
    expect(Orvex_SetAmplitude(channel, 2.5f) == 0, "Orvex_SetAmplitude");
    expect(Orvex_GetAmplitude(channel, &value) == 0 && fabsf(value - 2.5f) < 0.0011f,
           "Orvex_GetAmplitude");
    expect(Orvex_SetOperMode(channel, 2) == 0, "Orvex_SetOperMode");
    expect(Orvex_GetOperMode(channel, &byte) == 0 && byte == 2, "Orvex_GetOperMode");
    expect(Orvex_GetMeasAmplit(channel, &value) == 0 && value >= 0, "Orvex_GetMeasAmplit");
    expect(Orvex_SetHPF_Tau(channel, 7) == 0, "Orvex_SetHPF_Tau");
    expect(Orvex_GetHPF_Tau(channel, &byte) == 0 && byte == 7, "Orvex_GetHPF_Tau");
    expect(Orvex_SetLPF(channel, 12) == 0, "Orvex_SetLPF");
    expect(Orvex_GetLPF(channel, &alpha, &byte) == 0 && byte == 12 &&
               alpha == Orvex_GetLPF_Alpha(12, 0.8660254f),
           "Orvex_GetLPF");
    expect(Orvex_SetFLT(channel, 8) == 0, "Orvex_SetFLT");
    expect(Orvex_GetFLT(channel, &alpha, &byte) == 0 && byte == 8 &&
               alpha == Orvex_GetFLT_Alpha(8, 0.8660254f),
           "Orvex_GetFLT");
  }
  expect(Orvex_SetOffsetRange(5.0f) == 0, "Orvex_SetOffsetRange");
  expect(Orvex_GetOffsetRange(&value) == 0 && fabsf(value - 5.0f) < 0.011f, "Orvex_GetOffsetRange");

  expect(Orvex_GetUptime(&start) == 0, "Orvex_GetUptime");
  now = start;
  for (tries = 0; tries < 200 && now <= start; ++tries) { /* at most 2 s */
    pause_ms(10);
    expect(Orvex_GetUptime(&now) == 0, "Orvex_GetUptime");
  }
  expect(now > start, "uptime advancing");
  printf("uptime %.4f s -> %.4f s\n", start, now);
  return failures == 0 ? 0 : 1;
}
