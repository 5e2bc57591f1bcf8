// Every export of the device library once, with the bus transfers it makes
// over a module that answers: a query or a setting one, the presence test
// two (the probe, then the identification query), a pure computation none.
#pragma once

#include <array>
#include <cstdint>

namespace bench {

struct DeviceExport {
  const char* name;
  std::int32_t (*call)();  // the export's status; 0 for those without one
  int busTransfers;
};

extern const std::array<DeviceExport, 43> kDeviceExports;

}  // namespace bench
