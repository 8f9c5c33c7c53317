#include "settings/ini_file.h"

#include "platform/errors.h"
#include "platform/private_profile.h"
#include "text/integer_text.h"

namespace pictrim::settings {

namespace {

// "0x" becomes "$" only with digits after it, so a bare "0x" stays no number.
std::string WithDollarForHexPrefix(const std::string& text) {
  if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
    return "$" + text.substr(2);
  }
  return text;
}

}  // namespace

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  return platform::ReadProfileString(path_, section, key).value_or(std::string(defaultValue));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
  const std::string text = WithDollarForHexPrefix(ReadString(section, key, ""));
  return text::ParseIntegerText(text).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!platform::WriteProfileString(path_, section, key, value)) throw EIniFileException(path_);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

}  // namespace pictrim::settings
