// Turning one JPEG file into a smaller one: load, stretch, encode, save.
// Each step takes the result of the one before; all of them report failure
// by raising (EFOpenError, EReadError, EJPEG, EOutOfResources,
// EFCreateError, EWriteError).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pictrim::imaging {

// The input file's compressed bytes and the frame header's size; both sides
// are 0 for an empty file. Nothing is decoded until the image is drawn.
struct SourceImage {
  std::vector<unsigned char> bytes;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The drawn target. Pixels exist only when both sides are positive:
// 8-bit RGB, top row first, rows packed at width * 3 bytes.
class TargetBitmap {
 public:
  TargetBitmap(std::int32_t width, std::int32_t height);  // raises EOutOfResources

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  bool HasPixels() const { return pixels_ != nullptr; }
  unsigned char* Row(std::int32_t y) { return pixels_.get() + RowOffset(y); }
  const unsigned char* Row(std::int32_t y) const { return pixels_.get() + RowOffset(y); }

 private:
  std::size_t RowOffset(std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3;
  }

  std::int32_t width_;
  std::int32_t height_;
  std::unique_ptr<unsigned char[]> pixels_;
};

// A complete JPEG datastream in memory.
struct EncodedImage {
  std::vector<unsigned char> bytes;
};

SourceImage LoadJpegFile(const std::string& path);

// Decodes `source` and draws it by nearest-neighbour sampling over the whole
// of a new width x height target.
TargetBitmap StretchInto(const SourceImage& source, std::int32_t width, std::int32_t height);

EncodedImage EncodeJpeg(const TargetBitmap& target, std::uint8_t quality);

// Creates or replaces the file at `path`, never leaving a half-written file.
void SaveJpegFile(const EncodedImage& image, const std::string& path);

}  // namespace pictrim::imaging
