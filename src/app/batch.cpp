#include "app/batch.h"

#include "app/output_name.h"
#include "app/target_size.h"
#include "imaging/jpeg_image.h"
#include "platform/directory_search.h"
#include "text/integer_text.h"

namespace pictrim::app {

std::string LongFileName(const std::string& argument, const text::PathSyntax& syntax) {
  const std::string pattern = text::FileNamePart(argument, syntax);
  auto stored = platform::FindStoredName(text::DirectoryPrefix(argument, syntax), pattern);
  return stored ? *stored : pattern;
}

namespace {

TargetSize TargetFor(const settings::SettingsHolders& holders, const imaging::SourceImage& source) {
  if (holders.TypeIndex() == 0) {
    return PercentTargetSize(source.width, source.height, text::StrToInt(holders.RateText()));
  }
  const std::int32_t x = text::StrToInt(holders.WidthText());
  const std::int32_t y = text::StrToInt(holders.HeightText());
  return FixedTargetSize(source.width, source.height, x, y);
}

}  // namespace

void ConvertFile(const settings::SettingsHolders& holders, const std::string& inputPath,
                 std::uint8_t quality, const text::PathSyntax& syntax) {
  const imaging::SourceImage source = imaging::LoadJpegFile(inputPath);
  const TargetSize size = TargetFor(holders, source);
  const imaging::TargetBitmap target = imaging::StretchInto(source, size.width, size.height);
  const imaging::EncodedImage encoded = imaging::EncodeJpeg(target, quality);
  const NamingRules naming{holders.SuffixText(), holders.PrefixText(), holders.LowerCase()};
  imaging::SaveJpegFile(encoded, OutputPath(inputPath, naming, syntax));
}

void RunBatch(const settings::SettingsHolders& holders, const std::vector<std::string>& arguments,
              const text::PathSyntax& syntax) {
  const std::uint8_t quality = QualityByte(text::StrToInt(holders.QualityText()));
  for (const std::string& argument : arguments) {
    const std::string inputPath = text::DirectoryPrefix(argument, syntax) + LongFileName(argument, syntax);
    if (!IsJpegName(inputPath, syntax)) continue;
    ConvertFile(holders, inputPath, quality, syntax);
  }
}

}  // namespace pictrim::app
