// Double-byte character sets. pictrim's texts are byte strings in the
// locale's code page; in code page 932 a backslash or an ASCII letter can be
// the second byte of a kanji, so every text rule asks this set before it
// trusts a byte.
#pragma once

#include <bitset>
#include <cstddef>
#include <string_view>

namespace pictrim::text {

class LeadByteSet {
 public:
  LeadByteSet() = default;  // no lead bytes: single-byte code pages and UTF-8

  static LeadByteSet None() { return {}; }
  static LeadByteSet Cp932();  // 0x81-0x9F and 0xE0-0xFC

  bool Contains(unsigned char byte) const { return bytes_.test(byte); }
  bool Empty() const { return bytes_.none(); }

 private:
  std::bitset<256> bytes_;
};

// True when the byte at index `index` (0-based) is the second byte of a
// double-byte character: the lead bytes right before it form an unbroken run
// of odd length.
bool IsSecondByte(std::string_view text, std::size_t index, const LeadByteSet& lead);

// Index of the first byte of the last character of a non-empty text.
std::size_t LastCharacterStart(std::string_view text, const LeadByteSet& lead);

}  // namespace pictrim::text
