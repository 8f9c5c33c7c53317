// What the user's locale tells pictrim about its texts.
#pragma once

#include <string>
#include <string_view>

#include "text/lead_bytes.h"

namespace pictrim::platform {

// The lead bytes of a code set: code page 932's for Shift_JIS and its
// aliases, none otherwise (UTF-8 sequences never contain ASCII bytes). A
// language of the single-byte Western list has none either.
text::LeadByteSet LeadBytesFor(std::string_view codeset, std::string_view language);

// The language code of a locale name: "ja" for "ja_JP.SJIS", "" for "C".
std::string LanguageOf(std::string_view localeName);

// Adopts the environment's locale and returns its lead bytes.
text::LeadByteSet InitLocale();

// Lower case by the locale's rules (every letter it knows, not only ASCII);
// bytes that are no valid text in the locale fall back to ASCII rules.
std::string LocaleLower(std::string_view text);

}  // namespace pictrim::platform
