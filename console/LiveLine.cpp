#include "LiveLine.h"

#include <cstdio>

namespace orvex::console {

LiveLine::LiveLine(Terminal& term, std::vector<const char*> labels)
    : term_(term), labels_(std::move(labels)), values_(labels_.size()) {
  if (!term_.isScreen()) return;
  for (const char* label : labels_) {
    term_.writeDirect(label);
    columns_.push_back(term_.column());
  }
}

void LiveLine::set(std::size_t field, const std::string& text) {
  if (term_.isScreen()) {
    term_.moveToColumn(columns_[field]);
    term_.writeDirect(text);
    return;
  }
  values_[field] = text;
  changed_ = true;
}

void LiveLine::refreshed() {
  if (!changed_) return;
  changed_ = false;
  std::string line;
  for (std::size_t i = 0; i < labels_.size(); ++i) line += labels_[i] + values_[i];
  std::printf("%s\n", line.c_str());
}

void LiveLine::close() {
  if (term_.isScreen()) std::printf("\n");
}

std::string format(const char* fmt, double value) {
  char text[64];
  std::snprintf(text, sizeof text, fmt, value);
  return text;
}

}  // namespace orvex::console
