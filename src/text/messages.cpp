#include "text/messages.h"

namespace pictrim::text {

std::string ErrorBoxText(std::string_view message, const LeadByteSet& lead) {
  std::string text(message);
  if (!text.empty()) {
    const auto last = static_cast<unsigned char>(text[LastCharacterStart(text, lead)]);
    if (last > '.') text += '.';
  }
  return text;
}

std::string ApplicationTitle(std::string_view executablePath, const PathSyntax& syntax,
                             const std::function<std::string(std::string_view)>& lowerRest) {
  std::string name = FileNamePart(executablePath, syntax);
  name = name.substr(0, name.find('.'));
  if (name.empty()) return name;
  const std::size_t firstLength =
      (syntax.lead.Contains(static_cast<unsigned char>(name[0])) && name.size() > 1) ? 2 : 1;
  return name.substr(0, firstLength) + lowerRest(std::string_view(name).substr(firstLength));
}

}  // namespace pictrim::text
