// The settings file as one load or one save sees it. Nothing is opened when
// the object is made and nothing is kept between calls: every read and every
// write goes to the file at the moment it is called.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace pictrim::settings {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // The stored value, or `defaultValue` when the file, section or key is
  // absent. A key present with an empty value gives the empty text.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The stored value as an integer text ("0x1F" reads as hexadecimal too);
  // `defaultValue`, silently, when it is absent or no integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // Any non-zero integer is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Each raises EIniFileException naming the file when it cannot be written.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  std::string path_;
};

}  // namespace pictrim::settings
