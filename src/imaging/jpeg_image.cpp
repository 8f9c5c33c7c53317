#include "imaging/jpeg_image.h"

#include <cstring>
#include <new>
#include <string_view>

#include "imaging/jpeg_codec.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace pictrim::imaging {

namespace {

// No target this large is a sensible shrink; refusing it early keeps a wild
// size from exhausting memory.
constexpr std::uint64_t kMaxTargetBytes = std::uint64_t{4} << 30;

// Release 6a's JERR_ARITH_NOTIMPL: arithmetic-coded files are refused, as
// the program always has, although the linked codec could decode them.
constexpr int kArithmeticCodingRefused = 1;

// Release 6a's JERR_EMPTY_IMAGE: a target without pixels would encode to no
// bytes at all, and an empty .jpg must never replace a photo.
constexpr int kEmptyImage = 31;

// Greyscale files come out in this many evenly spaced levels, dithered.
constexpr int kGreyLevels = 236;

enum class DecodedFormat {
  kRgb,        // three samples a pixel
  kGreyIndex,  // one colour-map index a pixel
  kCmyk,       // four ink samples a pixel
  kAdobeCmyk,  // four ink samples a pixel, stored inverted (Adobe's habit)
};

// Sets everything the header left to us and says what the rows will hold.
DecodedFormat SetDecodeParameters(jpeg_decompress_struct& info) {
  info.scale_num = 1;
  info.scale_denom = 1;
  info.dct_method = JDCT_FLOAT;
  info.do_block_smoothing = TRUE;
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      info.quantize_colors = TRUE;
      info.desired_number_of_colors = kGreyLevels;
      return DecodedFormat::kGreyIndex;
    case JCS_CMYK:
    case JCS_YCCK:
      info.out_color_space = JCS_CMYK;
      return info.saw_Adobe_marker ? DecodedFormat::kAdobeCmyk : DecodedFormat::kCmyk;
    default:
      // YCbCr and RGB files already come out as RGB; for anything else the
      // codec refuses the conversion with its own error.
      info.out_color_space = JCS_RGB;
      return DecodedFormat::kRgb;
  }
}

int SamplesPerPixel(DecodedFormat format) {
  switch (format) {
    case DecodedFormat::kGreyIndex: return 1;
    case DecodedFormat::kRgb: return 3;
    default: return 4;
  }
}

// For each target column, the offset in a decoded row of the source pixel it
// takes: column x takes source column x * sourceWidth / targetWidth.
std::vector<std::size_t> SampledColumnOffsets(std::int64_t sourceWidth, std::int32_t targetWidth,
                                              int samplesPerPixel) {
  std::vector<std::size_t> offsets(static_cast<std::size_t>(targetWidth));
  for (std::int64_t x = 0; x < targetWidth; ++x) {
    offsets[static_cast<std::size_t>(x)] =
        static_cast<std::size_t>(x * sourceWidth / targetWidth * samplesPerPixel);
  }
  return offsets;
}

// Plain CMYK holds ink amounts; Adobe's holds 255 minus them.
template <bool kInverted>
unsigned char InkToLight(unsigned colourInk, unsigned blackInk) {
  if constexpr (kInverted) {
    return static_cast<unsigned char>(colourInk * blackInk / 255);
  } else {
    return static_cast<unsigned char>((255 - colourInk) * (255 - blackInk) / 255);
  }
}

template <bool kInverted>
void SampleCmykRow(const JSAMPLE* scanline, const std::size_t* columns, std::int32_t width,
                   unsigned char* out) noexcept {
  for (std::int32_t x = 0; x < width; ++x, out += 3) {
    const JSAMPLE* ink = scanline + columns[x];
    out[0] = InkToLight<kInverted>(ink[0], ink[3]);
    out[1] = InkToLight<kInverted>(ink[1], ink[3]);
    out[2] = InkToLight<kInverted>(ink[2], ink[3]);
  }
}

// Carries decoded rows into the target as they come from the codec. It owns
// nothing, so a codec failure may leave it by longjmp.
struct RowPlacer {
  TargetBitmap* target;
  const std::size_t* columns;
  std::int64_t sourceWidth;
  std::int64_t sourceHeight;
  DecodedFormat format;
  const JSAMPLE* greyLevels;  // colour map for kGreyIndex
  std::int64_t nextTargetRow;

  // Row y of the target takes source row y * sourceHeight / targetHeight.
  bool Takes(std::int64_t targetRow, std::int64_t sourceRow) const noexcept {
    return targetRow < target->height() && targetRow * sourceHeight / target->height() == sourceRow;
  }

  void SampleRow(const JSAMPLE* scanline, unsigned char* out) const noexcept {
    const std::int32_t width = target->width();
    switch (format) {
      case DecodedFormat::kRgb:
        if (width == sourceWidth) {
          std::memcpy(out, scanline, static_cast<std::size_t>(width) * 3);
          return;
        }
        for (std::int32_t x = 0; x < width; ++x, out += 3) {
          std::memcpy(out, scanline + columns[x], 3);
        }
        return;
      case DecodedFormat::kGreyIndex:
        for (std::int32_t x = 0; x < width; ++x, out += 3) {
          out[0] = out[1] = out[2] = greyLevels[scanline[columns[x]]];
        }
        return;
      case DecodedFormat::kCmyk:
        SampleCmykRow<false>(scanline, columns, width, out);
        return;
      case DecodedFormat::kAdobeCmyk:
        SampleCmykRow<true>(scanline, columns, width, out);
        return;
    }
  }

  void Place(const JSAMPLE* scanline, std::int64_t sourceRow) noexcept {
    if (!target->HasPixels() || !Takes(nextTargetRow, sourceRow)) return;
    const auto rowBytes = static_cast<std::size_t>(target->width()) * 3;
    const unsigned char* first = target->Row(static_cast<std::int32_t>(nextTargetRow));
    SampleRow(scanline, target->Row(static_cast<std::int32_t>(nextTargetRow)));
    // Enlarging: further target rows repeat the same source row.
    while (Takes(++nextTargetRow, sourceRow)) {
      std::memcpy(target->Row(static_cast<std::int32_t>(nextTargetRow)), first, rowBytes);
    }
  }
};

// Decodes the whole of `bytes`, every row in order, so that the dithering and
// the reported errors are those of a full decode, while keeping only the rows
// and columns the target takes.
void DecodeInto(const std::vector<unsigned char>& bytes, TargetBitmap& target) {
  Decompressor decoder(bytes);
  jpeg_decompress_struct& info = decoder.info();
  decoder.Run([&] { jpeg_read_header(&info, TRUE); });
  if (info.arith_code) throw EJPEG(kArithmeticCodingRefused);
  const DecodedFormat format = SetDecodeParameters(info);
  decoder.Run([&] { jpeg_start_decompress(&info); });

  const std::int64_t sourceWidth = info.output_width;
  const std::vector<std::size_t> columns =
      SampledColumnOffsets(sourceWidth, target.HasPixels() ? target.width() : 0, SamplesPerPixel(format));
  std::vector<JSAMPLE> scanline(static_cast<std::size_t>(sourceWidth) *
                                static_cast<std::size_t>(info.output_components));
  RowPlacer placer{&target,
                   columns.data(),
                   sourceWidth,
                   info.output_height,
                   format,
                   format == DecodedFormat::kGreyIndex ? info.colormap[0] : nullptr,
                   0};
  JSAMPROW row = scanline.data();
  decoder.Run([&] {
    while (info.output_scanline < info.output_height) {
      const std::int64_t sourceRow = info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
      placer.Place(row, sourceRow);
    }
    jpeg_finish_decompress(&info);
  });
}

}  // namespace

TargetBitmap::TargetBitmap(std::int32_t width, std::int32_t height) : width_(width), height_(height) {
  if (width == 0 || height == 0) return;
  if (width < 0 || height < 0) throw EOutOfResources();
  const std::uint64_t bytes = std::uint64_t(width) * std::uint64_t(height) * 3;
  if (bytes > kMaxTargetBytes) throw EOutOfResources();
  pixels_.reset(new (std::nothrow) unsigned char[bytes]);
  if (!pixels_) throw EOutOfResources();
  std::memset(pixels_.get(), 0xFF, bytes);  // a new target is white
}

SourceImage LoadJpegFile(const std::string& path) {
  SourceImage image;
  switch (platform::ReadWholeFile(path, image.bytes)) {
    case platform::ReadResult::kOk: break;
    case platform::ReadResult::kCannotOpen: throw EFOpenError(path);
    case platform::ReadResult::kShortRead: throw EReadError();
  }
  // An empty file loads as 0 x 0; decoding it reports it.
  if (image.bytes.empty()) return image;

  Decompressor decoder(image.bytes);
  jpeg_decompress_struct& info = decoder.info();
  decoder.Run([&] { jpeg_read_header(&info, TRUE); });
  // The codec refuses sides above 65500, so both fit.
  image.width = static_cast<std::int32_t>(info.image_width);
  image.height = static_cast<std::int32_t>(info.image_height);
  return image;
}

TargetBitmap StretchInto(const SourceImage& source, std::int32_t width, std::int32_t height) {
  TargetBitmap target(width, height);
  DecodeInto(source.bytes, target);
  return target;
}

EncodedImage EncodeJpeg(const TargetBitmap& target, std::uint8_t quality) {
  if (!target.HasPixels()) throw EJPEG(kEmptyImage);
  EncodedImage image;
  Compressor encoder(image.bytes);
  jpeg_compress_struct& info = encoder.info();
  encoder.Run([&] {
    info.image_width = static_cast<JDIMENSION>(target.width());
    info.image_height = static_cast<JDIMENSION>(target.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
      // libjpeg only reads the row, whatever its signature says.
      JSAMPROW row = const_cast<JSAMPLE*>(target.Row(static_cast<std::int32_t>(info.next_scanline)));
      jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
  });
  return image;
}

void SaveJpegFile(const EncodedImage& image, const std::string& path) {
  const std::string_view bytes(reinterpret_cast<const char*>(image.bytes.data()), image.bytes.size());
  switch (platform::ReplaceFileContents(path, bytes)) {
    case platform::ReplaceResult::kOk: return;
    case platform::ReplaceResult::kCannotCreate: throw EFCreateError(path);
    case platform::ReplaceResult::kWriteFailed: throw EWriteError();
  }
}

}  // namespace pictrim::imaging
