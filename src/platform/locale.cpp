#include "platform/locale.h"

#include <array>
#include <clocale>
#include <cwchar>
#include <cwctype>

#include <langinfo.h>

#include "text/ascii_case.h"

namespace pictrim::platform {

namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return text::AsciiUpper(a) == text::AsciiUpper(b);
}

}  // namespace

text::LeadByteSet LeadBytesFor(std::string_view codeset, std::string_view language) {
  static constexpr std::array<std::string_view, 13> kSingleByteLanguages = {
      "", "da", "de", "en", "es", "fi", "fr", "it", "nl", "no", "nb", "pt", "sv"};
  for (std::string_view excluded : kSingleByteLanguages) {
    if (EqualsIgnoringAsciiCase(language, excluded)) return text::LeadByteSet::None();
  }
  static constexpr std::array<std::string_view, 5> kCp932Names = {"SHIFT_JIS", "SJIS", "CP932",
                                                                  "WINDOWS-31J", "MS_KANJI"};
  for (std::string_view name : kCp932Names) {
    if (EqualsIgnoringAsciiCase(codeset, name)) return text::LeadByteSet::Cp932();
  }
  return text::LeadByteSet::None();
}

std::string LanguageOf(std::string_view localeName) {
  const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@"));
  if (language == "C" || language == "POSIX") return "";  // the neutral locale
  return std::string(language);
}

text::LeadByteSet InitLocale() {
  std::setlocale(LC_ALL, "");
  const char* ctype = std::setlocale(LC_CTYPE, nullptr);
  return LeadBytesFor(nl_langinfo(CODESET), LanguageOf(ctype ? ctype : ""));
}

std::string LocaleLower(std::string_view text) {
  std::string input(text);
  std::mbstate_t state{};
  const char* source = input.c_str();
  const std::size_t wideLength = std::mbsrtowcs(nullptr, &source, 0, &state);
  if (wideLength == static_cast<std::size_t>(-1)) return text::AsciiLower(text);

  std::wstring wide(wideLength, L'\0');
  source = input.c_str();
  state = {};
  std::mbsrtowcs(wide.data(), &source, wide.size(), &state);
  for (wchar_t& c : wide) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));

  const wchar_t* wideSource = wide.c_str();
  state = {};
  const std::size_t length = std::wcsrtombs(nullptr, &wideSource, 0, &state);
  if (length == static_cast<std::size_t>(-1)) return text::AsciiLower(text);
  std::string result(length, '\0');
  wideSource = wide.c_str();
  state = {};
  std::wcsrtombs(result.data(), &wideSource, result.size() + 1, &state);
  return result;
}

}  // namespace pictrim::platform
