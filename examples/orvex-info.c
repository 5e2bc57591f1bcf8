/*
 * orvex-info: opens the adapter, finds the Orvex module and prints its
 * identification, housekeeping values and filter settings.
 *
 *   cc orvex-info.c $(pkg-config --cflags --libs orvex) -o orvex-info
 */
#include <stdio.h>

#include <Orvex.h>
#include <Tarvish.h>

static int failed(const char* what, int32_t status) {
  fprintf(stderr, "%s failed (%d): %s\n", what, (int)status, Tarvish_ErrorMessage());
  return 1;
}

int main(void) {
  int32_t status;
  uint8_t present = 0;
  uint16_t version = 0;
  uint32_t number = 0;
  char date[16] = "";
  char id[81] = "";
  float v5 = 0, v3 = 0, kelvin = 0;
  double uptime = 0;

  printf("Device library %u.%02u, adapter library %u.%02u\n", Orvex_Version() >> 8,
         Orvex_Version() & 0xFF, Tarvish_Version() >> 8, Tarvish_Version() & 0xFF);
  if ((status = Tarvish_Open()) != 0) return failed("Tarvish_Open", status);
  if ((status = Orvex_Check(&present)) != 0) return failed("Orvex_Check", status);
  if (!present) {
    fprintf(stderr, "No Orvex module in the selected slot\n");
    return 2;
  }
  if ((status = Orvex_Prod_ID(id)) != 0) return failed("Orvex_Prod_ID", status);
  if ((status = Orvex_Prod_No(&number)) != 0) return failed("Orvex_Prod_No", status);
  if ((status = Orvex_FW_Ver(&version)) != 0) return failed("Orvex_FW_Ver", status);
  if ((status = Orvex_FW_Date(date)) != 0) return failed("Orvex_FW_Date", status);
  printf("Product: %s, number %u, firmware %u-%02u of %s\n", id, (unsigned)number, version >> 8,
         version & 0xFF, date);

  if ((status = Orvex_Get5V(&v5)) != 0) return failed("Orvex_Get5V", status);
  if ((status = Orvex_Get3V(&v3)) != 0) return failed("Orvex_Get3V", status);
  if ((status = Orvex_GetTemp(&kelvin)) != 0) return failed("Orvex_GetTemp", status);
  if ((status = Orvex_GetUptime(&uptime)) != 0) return failed("Orvex_GetUptime", status);
  printf("Supplies: %.3f V, %.3f V; temperature %.2f K; uptime %.3f s\n", v5, v3, kelvin, uptime);

  for (uint8_t channel = 0; channel < 2; ++channel) {
    uint16_t alpha = 0;
    uint8_t beta = 0, tau = 0;
    if ((status = Orvex_GetLPF(channel, &alpha, &beta)) != 0) return failed("Orvex_GetLPF", status);
    printf("Ch %c: LPF %.3f Hz, damping %.2f", channel == 0 ? 'X' : 'Y',
           Orvex_GetLPF_Frequency(alpha, beta), Orvex_GetLPF_Damping(alpha, beta));
    if ((status = Orvex_GetHPF_Tau(channel, &tau)) != 0) return failed("Orvex_GetHPF_Tau", status);
    printf(", HPF %.3f Hz", Orvex_GetHPF_Frequency(tau));
    if ((status = Orvex_GetFLT(channel, &alpha, &beta)) != 0) return failed("Orvex_GetFLT", status);
    printf(", amplitude LPF %.3f Hz, damping %.2f\n", Orvex_GetFLT_Frequency(alpha, beta),
           Orvex_GetFLT_Damping(alpha, beta));
  }
  return 0;
}
