// Makes the adapter calls named on its command line through the adapter
// library and prints one line per call, so that tests can watch what the
// library does under given environment variables:
//   open | flush | version | getslot | check | errors
//   slot N | send HEX FINAL | recv COUNT | recvs MAXLENGTH
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Hex.h"
#include "Tarvish.h"

int main(int argc, char** argv) {
  using tarvish::hexBytes;
  using tarvish::parseHexBytes;
  for (int i = 1; i < argc; ++i) {
    const std::string command = argv[i];
    const auto argument = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
    if (command == "open") {
      std::printf("open %d\n", Tarvish_Open());
    } else if (command == "flush") {
      std::printf("flush %d\n", Tarvish_Flush_LPT());
    } else if (command == "version") {
      std::printf("version 0x%04X\n", static_cast<unsigned>(Tarvish_Version()));
    } else if (command == "getslot") {
      std::uint8_t slot = 0;
      const int status = Tarvish_GetSlot(&slot, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP);
      std::printf("getslot %d %d\n", status, slot);
    } else if (command == "check") {
      std::uint8_t present = 9;
      const int status = Tarvish_Check(TARVISH_PORT, &present);
      std::printf("check %d %d\n", status, present);
    } else if (command == "errors") {
      const std::string io = Tarvish_IO_ErrorMessage();
      std::printf("errors %s | %s\n", Tarvish_ErrorMessage(), io.c_str());
    } else if (command == "slot") {
      const auto slot = static_cast<std::uint8_t>(std::atoi(argument().c_str()));
      std::printf("slot %d\n", Tarvish_SetSlot(slot, TARVISH_SLOT_MODULE, TARVISH_SLOT_KEEP));
    } else if (command == "send") {
      const std::vector<std::uint8_t> data =
          parseHexBytes(argument()).value_or(std::vector<std::uint8_t>{});
      const int final = std::atoi(argument().c_str());
      std::printf("send %d\n", Tarvish_Send(TARVISH_PORT, data.data(),
                                            static_cast<std::int32_t>(data.size()), final));
    } else if (command == "recv") {
      std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::atoi(argument().c_str())));
      const int status = Tarvish_Receive(TARVISH_PORT, buffer.data(),
                                         static_cast<std::int32_t>(buffer.size()), TARVISH_FINAL);
      std::printf("recv %d %s\n", status, status == 0 ? hexBytes(buffer, "").c_str() : "");
    } else if (command == "recvs") {
      std::vector<char> buffer(static_cast<std::size_t>(std::atoi(argument().c_str())), '\0');
      const int status = Tarvish_ReceiveString(
          TARVISH_PORT, buffer.data(), static_cast<std::int32_t>(buffer.size()), TARVISH_FINAL);
      std::printf("recvs %d %s\n", status, status == 0 ? buffer.data() : "");
    } else {
      std::fprintf(stderr, "tarvish_probe: unknown command '%s'\n", command.c_str());
      return 2;
    }
  }
  return 0;
}
