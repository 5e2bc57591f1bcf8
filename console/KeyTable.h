// The key table: which key runs which command.
#pragma once

#include "Context.h"

namespace orvex::console {

enum class Case {
  Exact,   // the key code must match
  Either,  // letters match in either case
};

struct KeyBinding {
  int key;  // for Case::Either the upper-case letter
  Case match;
  void (*run)(Context&);
};

// The command bound to a key code, or nullptr. Keys without a character
// (and failed reads) match nothing.
const KeyBinding* findCommand(int key);

}  // namespace orvex::console
