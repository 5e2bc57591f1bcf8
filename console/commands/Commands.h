// The commands of the key table, by group.
#pragma once

#include "../Context.h"

namespace orvex::console {

// Adapter and identification commands.
void scanBus(Context& ctx);
void getSlot(Context& ctx);
void setSlot(Context& ctx);
void getFirmwareDate(Context& ctx);
void getFirmwareVersion(Context& ctx);
void getProductId(Context& ctx);
void getProductNumber(Context& ctx);

// Monitoring displays.
void showUptime(Context& ctx);
void showMeasuredAmplitude(Context& ctx);
void getHousekeeping(Context& ctx);
void getClocks(Context& ctx);

// Channel output settings: one read and one set command per setting.
void readChannelSetting(Context& ctx);
void setChannelSetting(Context& ctx);

// Filters: one show and one set command per filter.
void showFilter(Context& ctx);
void setFilter(Context& ctx);

}  // namespace orvex::console
