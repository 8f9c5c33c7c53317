// Moving the settings values between pictrim.ini and their holders.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings_holders.h"
#include "text/path_parts.h"

namespace pictrim::settings {

inline constexpr std::string_view kSection = "main";
inline constexpr std::string_view kSettingsFileName = "pictrim.ini";

// The directory prefix of the executable's path followed by pictrim.ini.
std::string SettingsFilePath(std::string_view executablePath, const text::PathSyntax& syntax);

// Puts each of the ten values into its holder, as read or as its default.
// Reports nothing: a missing file, key or unreadable number gives defaults.
void LoadSettings(SettingsHolders& holders, const std::string& iniPath);

// Writes the ten values in their fixed order, one key at a time. Raises
// EIniFileException at the first key that cannot be written.
void SaveSettings(const SettingsHolders& holders, const std::string& iniPath);

}  // namespace pictrim::settings
