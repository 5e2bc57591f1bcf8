// Commands for the adapter and the module's identity: bus scan, ZPB slot,
// firmware date and version, product identification and number.
#include <cstdio>
#include <string>

#include "../Entry.h"
#include "../Report.h"
#include "Commands.h"
#include "Orvex.h"
#include "Tarvish.h"

namespace orvex::console {

namespace {

constexpr std::uint32_t kSlotCount = 256;
// The slot entry is one word of at most 10 characters.
constexpr std::size_t kSlotEntryLength = 10;

}  // namespace

void scanBus(Context& ctx) {
  printDebug(ctx, "Scanning the bus for the device:\n");
  std::uint8_t present = 0;
  const std::int32_t status = Orvex_Check(&present);
  // The result starts at the left margin even when the row held text.
  ctx.term.moveTo(1, ctx.term.row());
  ctx.term.clearToEndOfLine();
  if (status != 0) return reportFailure(ctx, "Orvex_Check");
  std::printf("Device %s\n", present != 0 ? "found" : "not found");
  printDebug(ctx, "Scan finished\n");
}

void getSlot(Context& ctx) {
  printDebug(ctx, "Getting the ZPB slot number:\n");
  std::uint8_t slot = 0;
  if (Tarvish_GetSlot(&slot, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP) != 0) {
    return reportFailure(ctx, "Tarvish_GetSlot");
  }
  std::printf("ZPB slot number: %02Xh (%u)\n", slot, slot);
}

void setSlot(Context& ctx) {
  printDebug(ctx, "Setting the ZPB slot number:\n");
  std::printf("Enter the new ZPB slot number: ");
  std::string entry;
  std::uint32_t slot = 0;
  // An entry that is not a number, or none at all, sets nothing.
  if (readWord(ctx.term, entry, kSlotEntryLength) == EntryResult::End ||
      String2ULong(entry.c_str(), slot) != 0) {
    std::printf("Wrong value specified!\n");
    return;
  }
  if (slot >= kSlotCount) {
    std::printf("Wrong value specified! The ZPB slot number must be lower than 100h (256)\n");
    return;
  }
  if (Tarvish_SetSlot(static_cast<std::uint8_t>(slot), TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP) !=
      0) {
    return reportFailure(ctx, "Tarvish_SetSlot");
  }
  if (ctx.modes.debug) std::printf("ZPB slot number set to %02Xh (%u)\n", slot, slot);
}

void getFirmwareDate(Context& ctx) {
  printDebug(ctx, "Getting firmware date:\n");
  char text[20] = "";
  if (Orvex_FW_Date(text) != 0) return reportFailure(ctx, "Orvex_FW_Date");
  std::printf("Firmware date: %.*s\n", static_cast<int>(sizeof text), text);
}

void getFirmwareVersion(Context& ctx) {
  printDebug(ctx, "Getting firmware version:\n");
  std::uint16_t version = 0;
  if (Orvex_FW_Ver(&version) != 0) return reportFailure(ctx, "Orvex_FW_Ver");
  std::printf("Firmware version: %u-%02u\n", version >> 8u, version & 0xFFu);
}

void getProductId(Context& ctx) {
  printDebug(ctx, "Getting product identification:\n");
  char text[84] = "";
  if (Orvex_Prod_ID(text) != 0) return reportFailure(ctx, "Orvex_prod_ID");
  std::printf("Product identification: %.*s\n", static_cast<int>(sizeof text), text);
}

void getProductNumber(Context& ctx) {
  printDebug(ctx, "Getting product number:\n");
  std::uint32_t number = 0;
  if (Orvex_Prod_No(&number) != 0) return reportFailure(ctx, "Orvex_prod_No");
  std::printf("Product number: %u\n", static_cast<unsigned>(number));
}

}  // namespace orvex::console
