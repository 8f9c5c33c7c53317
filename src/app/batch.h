// The batch: every argument whose stored name ends in .JPG is converted
// with the settings as their holders give them back.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_holders.h"
#include "text/path_parts.h"

namespace pictrim::app {

// The stored name of the entry that `argument` names (wildcards allowed in
// its file name); the argument's own file name when nothing matches, so
// that a vanished photo is reported when it is loaded rather than skipped.
std::string LongFileName(const std::string& argument, const text::PathSyntax& syntax);

// Loads, redraws, encodes and saves one photo.
void ConvertFile(const settings::SettingsHolders& holders, const std::string& inputPath,
                 std::uint8_t quality, const text::PathSyntax& syntax);

// Reads the quality, then converts each JPEG argument in order. The first
// failure ends the batch: files written before it stay, later arguments are
// not visited.
void RunBatch(const settings::SettingsHolders& holders, const std::vector<std::string>& arguments,
              const text::PathSyntax& syntax);

}  // namespace pictrim::app
