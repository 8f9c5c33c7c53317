#include "settings/settings_store.h"

#include "settings/ini_file.h"

namespace pictrim::settings {

std::string SettingsFilePath(std::string_view executablePath, const text::PathSyntax& syntax) {
  return text::DirectoryPrefix(executablePath, syntax) + std::string(kSettingsFileName);
}

// Each value goes into its holder as soon as it is read: the window position
// defaults to wherever the holders stand at that moment.
void LoadSettings(SettingsHolders& holders, const std::string& iniPath) {
  const IniFile ini(iniPath);
  holders.SetTypeIndex(ini.ReadInteger(kSection, "type", 0));
  holders.SetRateText(ini.ReadString(kSection, "rate", "50"));
  holders.SetLeft(ini.ReadInteger(kSection, "left", holders.Left()));
  holders.SetTop(ini.ReadInteger(kSection, "top", holders.Top()));
  holders.SetWidthText(ini.ReadString(kSection, "x", "100"));
  holders.SetHeightText(ini.ReadString(kSection, "y", "100"));
  holders.SetSuffixText(ini.ReadString(kSection, "name_bottom", "_x"));
  holders.SetPrefixText(ini.ReadString(kSection, "name_top", ""));
  holders.SetQualityText(ini.ReadString(kSection, "grp", "80"));
  holders.SetLowerCase(ini.ReadBool(kSection, "komoji", false));
}

// One key per write, in a fixed order, so a failure part-way leaves the keys
// before it saved and the later ones as they were.
void SaveSettings(const SettingsHolders& holders, const std::string& iniPath) {
  IniFile ini(iniPath);
  ini.WriteInteger(kSection, "type", holders.TypeIndex());
  ini.WriteString(kSection, "rate", holders.RateText());
  ini.WriteInteger(kSection, "left", holders.Left());
  ini.WriteInteger(kSection, "top", holders.Top());
  ini.WriteString(kSection, "x", holders.WidthText());
  ini.WriteString(kSection, "y", holders.HeightText());
  ini.WriteString(kSection, "name_bottom", holders.SuffixText());
  ini.WriteString(kSection, "name_top", holders.PrefixText());
  ini.WriteString(kSection, "grp", holders.QualityText());
  ini.WriteBool(kSection, "komoji", holders.LowerCase());
}

}  // namespace pictrim::settings
