// Identification exports: library version, presence test, firmware and
// product data.
#include <bit>

#include "Export.h"
#include "Orvex.h"
#include "Transaction.h"

using namespace orvex;

// Firmware version and product number are received straight into the
// caller's variable, which reads them as little-endian words.
static_assert(std::endian::native == std::endian::little);

ORVEX_API uint16_t Orvex_Version(void) { return 0x0100; }

ORVEX_API int32_t Orvex_Check(uint8_t* present) { return presence(present); }

ORVEX_API int32_t Orvex_FW_Ver(uint16_t* version) {
  return query(Cmd::FirmwareVersion, 0, version);
}

ORVEX_API int32_t Orvex_FW_Date(char* text) { return queryText(Cmd::FirmwareDate, text); }

ORVEX_API int32_t Orvex_Prod_ID(char* text) { return queryText(Cmd::ProductId, text); }

ORVEX_API int32_t Orvex_Prod_No(uint32_t* number) { return query(Cmd::ProductNumber, 0, number); }
