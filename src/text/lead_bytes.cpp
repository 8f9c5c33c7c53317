#include "text/lead_bytes.h"

namespace pictrim::text {

LeadByteSet LeadByteSet::Cp932() {
  LeadByteSet set;
  for (int b = 0x81; b <= 0x9F; ++b) set.bytes_.set(b);
  for (int b = 0xE0; b <= 0xFC; ++b) set.bytes_.set(b);
  return set;
}

bool IsSecondByte(std::string_view text, std::size_t index, const LeadByteSet& lead) {
  std::size_t run = 0;
  while (run < index && lead.Contains(static_cast<unsigned char>(text[index - run - 1]))) ++run;
  return run % 2 == 1;
}

std::size_t LastCharacterStart(std::string_view text, const LeadByteSet& lead) {
  const std::size_t last = text.size() - 1;
  return IsSecondByte(text, last, lead) ? last - 1 : last;
}

}  // namespace pictrim::text
