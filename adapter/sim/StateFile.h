// The module's settings kept in a text file between runs: one line per
// setting, "CC=HEX", the command code and the bytes the module answers for
// it, both in hexadecimal. Lines starting with '#' and empty lines are
// comments.
#pragma once

#include <optional>
#include <string>

#include "ModuleModel.h"

namespace tarvish::sim {

// The settings in the file. A missing file gives none and no problem; an
// unreadable or malformed one gives none and says why in problem.
std::optional<Settings> loadState(const std::string& path, std::string& problem);

// Replaces the file with these settings (written beside it, then renamed
// over it, so that a reader never sees half a file). Empty on success, else
// what went wrong.
std::string saveState(const std::string& path, const Settings& settings);

}  // namespace tarvish::sim
