#include "imaging/jpeg_image.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "imaging/jpeg_library.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace pictrim::imaging {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes TestData(const std::string& name) {
  Bytes bytes = ReadFileBytes(std::string(PICTRIM_TEST_DATA) + "/" + name);
  EXPECT_FALSE(bytes.empty()) << name << " is missing from the test data";
  return bytes;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ScratchDirectory {
 public:
  ScratchDirectory() {
    char pattern[] = "/tmp/pictrim-imaging-XXXXXX";
    if (::mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    WriteFileBytes(Path(name), bytes);
    return Path(name);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

 private:
  std::string path_;
};

// A colour picture with detail in every pixel, so that any pixel taken from
// the wrong place shows.
Bytes PatternedRgb(int width, int height) {
  Bytes samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      samples.push_back(static_cast<unsigned char>(x * 4 + y * 2 + ((x ^ y) & 7) * 16));
      samples.push_back(static_cast<unsigned char>(y * 5 + (x % 3) * 60));
      samples.push_back(static_cast<unsigned char>(x * y * 3));
    }
  }
  return samples;
}

Bytes PatternedGrey(int width, int height) {
  Bytes samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) samples.push_back(static_cast<unsigned char>(x * 3 + y * 2 + (x * y) % 11));
  }
  return samples;
}

// Fixtures are written with libjpeg itself; it ends the test run on failure.
Bytes EncodeFixture(const Bytes& samples, int width, int height, J_COLOR_SPACE space, int components,
                    const std::function<void(jpeg_compress_struct&)>& tune = {}) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* output = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &output, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (tune) tune(info);
  jpeg_start_compress(&info, TRUE);
  const auto stride = static_cast<std::size_t>(width * components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes bytes(output, output + size);
  std::free(output);
  jpeg_destroy_compress(&info);
  return bytes;
}

struct Frame {
  int width = 0;
  int height = 0;
  Bytes rgb;
  const unsigned char* Pixel(std::int64_t x, std::int64_t y) const { return rgb.data() + (y * width + x) * 3; }
};

// The whole picture decoded at once, with the program's decoding parameters:
// the reference that the row-by-row stretch must match.
Frame DecodeWholeFrame(const Bytes& jpeg) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.dct_method = JDCT_FLOAT;
  info.do_block_smoothing = TRUE;
  const bool grey = info.out_color_space == JCS_GRAYSCALE;
  if (grey) {
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = 236;
  }
  jpeg_start_decompress(&info);
  Frame frame;
  frame.width = static_cast<int>(info.output_width);
  frame.height = static_cast<int>(info.output_height);
  const auto stride = static_cast<std::size_t>(frame.width * info.output_components);
  Bytes decoded(stride * static_cast<std::size_t>(frame.height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = decoded.data() + info.output_scanline * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  if (grey) {
    for (unsigned char index : decoded) frame.rgb.insert(frame.rgb.end(), 3, info.colormap[0][index]);
  } else {
    frame.rgb = decoded;
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return frame;
}

// Every target pixel must be the source pixel at (x * W / w, y * H / h).
void ExpectNearestNeighbourOf(const Frame& source, const TargetBitmap& target) {
  ASSERT_TRUE(target.HasPixels());
  for (std::int64_t y = 0; y < target.height(); ++y) {
    for (std::int64_t x = 0; x < target.width(); ++x) {
      const std::int64_t sourceX = x * source.width / target.width();
      const std::int64_t sourceY = y * source.height / target.height();
      ASSERT_EQ(0, std::memcmp(target.Row(static_cast<std::int32_t>(y)) + x * 3, source.Pixel(sourceX, sourceY), 3))
          << "target " << target.width() << "x" << target.height() << " pixel (" << x << ", " << y
          << ") should be source pixel (" << sourceX << ", " << sourceY << ")";
    }
  }
}

SourceImage InMemory(Bytes bytes) {
  SourceImage image;
  image.bytes = std::move(bytes);
  return image;
}

std::size_t MarkerOffset(const Bytes& jpeg, unsigned char marker) {
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i;
  }
  ADD_FAILURE() << "no marker " << std::hex << int(marker);
  return 0;
}

int ExpectEjpeg(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const EJPEG& error) {
    EXPECT_EQ(std::string(error.what()), "JPEG エラー #" + std::to_string(error.code()));
    return error.code();
  }
  ADD_FAILURE() << "no EJPEG raised";
  return -1;
}

// ---------------------------------------------------------------------------

TEST(TargetBitmap, StartsWhite) {
  const TargetBitmap target(5, 3);
  ASSERT_TRUE(target.HasPixels());
  EXPECT_EQ(target.width(), 5);
  EXPECT_EQ(target.height(), 3);
  for (std::int32_t y = 0; y < 3; ++y) {
    for (int i = 0; i < 15; ++i) EXPECT_EQ(target.Row(y)[i], 255) << "row " << y << " byte " << i;
  }
}

TEST(TargetBitmap, SideOfZeroGivesNoPixelsAndNoFailure) {
  const std::pair<std::int32_t, std::int32_t> sizes[] = {{0, 0}, {0, 7}, {7, 0}, {0, -5}, {-5, 0}};
  for (const auto& [width, height] : sizes) {
    const TargetBitmap target(width, height);
    EXPECT_FALSE(target.HasPixels()) << width << "x" << height;
    EXPECT_EQ(target.width(), width);
    EXPECT_EQ(target.height(), height);
  }
}

TEST(TargetBitmap, NegativeOrOversizedSidesAreOutOfResources) {
  const std::pair<std::int32_t, std::int32_t> sizes[] = {
      {-1, 5}, {5, -1}, {-1, -1}, {INT32_MIN, 1}, {70000, 70000}, {INT32_MAX, INT32_MAX}};
  for (const auto& [width, height] : sizes) {
    EXPECT_THROW(TargetBitmap(width, height), EOutOfResources) << width << "x" << height;
  }
}

// ---------------------------------------------------------------------------

TEST(LoadJpegFile, KeepsTheWholeFileAndReadsTheFrameSize) {
  const SourceImage image = LoadJpegFile(std::string(PICTRIM_TEST_DATA) + "/testorig.jpg");
  EXPECT_EQ(image.width, 227);
  EXPECT_EQ(image.height, 149);
  EXPECT_EQ(image.bytes, TestData("testorig.jpg"));
}

TEST(LoadJpegFile, EmptyFileLoadsAsZeroByZero) {
  ScratchDirectory directory;
  const SourceImage image = LoadJpegFile(directory.Write("empty.jpg", {}));
  EXPECT_TRUE(image.bytes.empty());
  EXPECT_EQ(image.width, 0);
  EXPECT_EQ(image.height, 0);
}

TEST(LoadJpegFile, UnopenableInputNamesThePath) {
  ScratchDirectory directory;
  for (const std::string& path : {directory.Path("missing.jpg"), directory.Path("")}) {
    try {
      LoadJpegFile(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const EFOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "ファイル " + path + " は開けません");
    }
  }
}

// ---------------------------------------------------------------------------
// Malformed input: the exact codec code, and which step reports it.

enum class FailingStep { kLoad, kStretch };

struct MalformedCase {
  const char* name;
  std::function<Bytes()> make;
  FailingStep step;
  int code;
};

Bytes PatchedOriginal(const std::function<void(Bytes&, std::size_t frameHeader)>& patch) {
  Bytes bytes = TestData("testorig.jpg");
  patch(bytes, MarkerOffset(bytes, 0xC0));
  return bytes;
}

void PutBigEndian16(Bytes& bytes, std::size_t at, unsigned value) {
  bytes[at] = static_cast<unsigned char>(value >> 8);
  bytes[at + 1] = static_cast<unsigned char>(value & 0xFF);
}

// Offsets in a frame header: marker 0-1, length 2-3, precision 4, height 5-6, width 7-8.
const MalformedCase kMalformedCases[] = {
    {"PngSignature", [] { return Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D}; },
     FailingStep::kLoad, 52},
    {"SingleByte", [] { return Bytes{0xFF}; }, FailingStep::kLoad, 52},
    {"CutBeforeFrameHeader",
     [] {
       Bytes bytes = TestData("testorig.jpg");
       bytes.resize(MarkerOffset(bytes, 0xC0));
       return bytes;
     },
     FailingStep::kLoad, 50},
    // With a frame header read, the codec names the missing scan instead.
    {"CutBetweenFrameHeaderAndScan",
     [] {
       Bytes bytes = TestData("testorig.jpg");
       bytes.resize(MarkerOffset(bytes, 0xDA));
       return bytes;
     },
     FailingStep::kLoad, 58},
    {"EndOfImageBeforeFirstScan", [] { return Bytes{0xFF, 0xD8, 0xFF, 0xD9}; }, FailingStep::kLoad, 50},
    {"LosslessFrame", [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { b[sof + 1] = 0xC3; }); },
     FailingStep::kLoad, 59},
    {"HierarchicalFrame", [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { b[sof + 1] = 0xC5; }); },
     FailingStep::kLoad, 59},
    {"ReservedFrameC8", [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { b[sof + 1] = 0xC8; }); },
     FailingStep::kLoad, 59},
    {"ZeroWidth", [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { PutBigEndian16(b, sof + 7, 0); }); },
     FailingStep::kLoad, 31},
    {"ZeroHeight", [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { PutBigEndian16(b, sof + 5, 0); }); },
     FailingStep::kLoad, 31},
    {"TwelveBitSamples", [] { return TestData("monkey12.jpg"); }, FailingStep::kLoad, 13},
    {"WidthAbove65500",
     [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { PutBigEndian16(b, sof + 7, 65501); }); },
     FailingStep::kLoad, 40},
    {"HeightAbove65500",
     [] { return PatchedOriginal([](Bytes& b, std::size_t sof) { PutBigEndian16(b, sof + 5, 65501); }); },
     FailingStep::kLoad, 40},
    {"EmptyFile", [] { return Bytes{}; }, FailingStep::kStretch, 41},
    {"ArithmeticCoding", [] { return TestData("testimgari.jpg"); }, FailingStep::kStretch, 1},
};

class MalformedInput : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedInput, ReportsTheCodecCodeAtTheRightStep) {
  const MalformedCase& input = GetParam();
  ScratchDirectory directory;
  const std::string path = directory.Write("input.jpg", input.make());
  if (input.step == FailingStep::kLoad) {
    EXPECT_EQ(ExpectEjpeg([&] { LoadJpegFile(path); }), input.code);
    return;
  }
  const SourceImage source = LoadJpegFile(path);
  EXPECT_EQ(ExpectEjpeg([&] { StretchInto(source, 10, 10); }), input.code);
  // A target without pixels still has its source decoded.
  EXPECT_EQ(ExpectEjpeg([&] { StretchInto(source, 0, 10); }), input.code);
}

INSTANTIATE_TEST_SUITE_P(Codes, MalformedInput, testing::ValuesIn(kMalformedCases),
                         [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(MalformedInput, ArithmeticCodedFileLoadsItsSize) {
  const SourceImage source = LoadJpegFile(std::string(PICTRIM_TEST_DATA) + "/testimgari.jpg");
  EXPECT_EQ(source.width, 227);
  EXPECT_EQ(source.height, 149);
}

// ---------------------------------------------------------------------------

TEST(StretchInto, SameSizeGivesTheDecodedPixels) {
  for (const Bytes& jpeg : {TestData("testorig.jpg"), EncodeFixture(PatternedRgb(61, 43), 61, 43, JCS_RGB, 3)}) {
    const Frame reference = DecodeWholeFrame(jpeg);
    const TargetBitmap target = StretchInto(InMemory(jpeg), reference.width, reference.height);
    ExpectNearestNeighbourOf(reference, target);
  }
}

TEST(StretchInto, TakesTheNearestSourcePixelAtEverySize) {
  const Bytes jpeg = EncodeFixture(PatternedRgb(61, 43), 61, 43, JCS_RGB, 3);
  const Frame reference = DecodeWholeFrame(jpeg);
  const std::pair<std::int32_t, std::int32_t> sizes[] = {{1, 1},   {30, 21}, {31, 22}, {60, 42},  {62, 44},
                                                         {7, 100}, {200, 3}, {122, 86}, {183, 43}, {61, 1}};
  for (const auto& [width, height] : sizes) {
    ExpectNearestNeighbourOf(reference, StretchInto(InMemory(jpeg), width, height));
  }
}

TEST(StretchInto, EnlargingRepeatsPixelsIntoBlocks) {
  const Bytes jpeg = TestData("testorig.jpg");
  const Frame reference = DecodeWholeFrame(jpeg);
  const TargetBitmap target = StretchInto(InMemory(jpeg), 227 * 3, 149 * 2);
  for (std::int32_t y = 0; y < target.height(); ++y) {
    for (std::int32_t x = 0; x < target.width(); ++x) {
      ASSERT_EQ(0, std::memcmp(target.Row(y) + x * 3, reference.Pixel(x / 3, y / 2), 3)) << x << ", " << y;
    }
  }
}

TEST(StretchInto, GreyscaleComesOutIn236DitheredGreyLevels) {
  const Bytes jpeg = EncodeFixture(PatternedGrey(64, 48), 64, 48, JCS_GRAYSCALE, 1);
  std::set<int> levels;
  for (int j = 0; j < 236; ++j) levels.insert((j * 255 + 117) / 235);

  const Frame reference = DecodeWholeFrame(jpeg);
  for (const auto& [width, height] : {std::pair{64, 48}, std::pair{32, 24}, std::pair{17, 31}}) {
    const TargetBitmap target = StretchInto(InMemory(jpeg), width, height);
    ExpectNearestNeighbourOf(reference, target);
    for (std::int32_t y = 0; y < height; ++y) {
      for (std::int32_t x = 0; x < width; ++x) {
        const unsigned char* pixel = target.Row(y) + x * 3;
        ASSERT_TRUE(pixel[0] == pixel[1] && pixel[1] == pixel[2]) << "not grey at " << x << ", " << y;
        ASSERT_TRUE(levels.count(pixel[0])) << int(pixel[0]) << " is not one of the 236 levels";
      }
    }
  }
}

struct InkCase {
  const char* name;
  std::function<void(jpeg_compress_struct&)> tune;
  bool inverted;
};

TEST(StretchInto, FourComponentFilesAreConvertedToRgb) {
  const unsigned char ink[4] = {200, 120, 40, 180};
  Bytes samples;
  for (int i = 0; i < 16 * 16; ++i) samples.insert(samples.end(), ink, ink + 4);
  const InkCase cases[] = {
      {"plain CMYK", [](jpeg_compress_struct& info) { info.write_Adobe_marker = FALSE; }, false},
      {"Adobe CMYK", [](jpeg_compress_struct&) {}, true},
      {"Adobe YCCK", [](jpeg_compress_struct& info) { jpeg_set_colorspace(&info, JCS_YCCK); }, true},
  };
  for (const InkCase& inkCase : cases) {
    const Bytes jpeg = EncodeFixture(samples, 16, 16, JCS_CMYK, 4, [&](jpeg_compress_struct& info) {
      jpeg_set_quality(&info, 100, TRUE);
      inkCase.tune(info);
    });
    const TargetBitmap target = StretchInto(InMemory(jpeg), 8, 8);
    for (int channel = 0; channel < 3; ++channel) {
      const int expected = inkCase.inverted ? ink[channel] * ink[3] / 255
                                            : (255 - ink[channel]) * (255 - ink[3]) / 255;
      EXPECT_NEAR(target.Row(4)[4 * 3 + channel], expected, 3) << inkCase.name << " channel " << channel;
    }
  }
}

TEST(StretchInto, ProgressiveFileDecodesInFull) {
  const Bytes jpeg = EncodeFixture(PatternedRgb(61, 43), 61, 43, JCS_RGB, 3,
                                   [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); });
  ASSERT_NE(MarkerOffset(jpeg, 0xC2), 0u);
  ScratchDirectory directory;
  const SourceImage source = LoadJpegFile(directory.Write("progressive.jpg", jpeg));
  EXPECT_EQ(source.width, 61);
  EXPECT_EQ(source.height, 43);
  ExpectNearestNeighbourOf(DecodeWholeFrame(jpeg), StretchInto(source, 61, 43));
}

TEST(StretchInto, FileCutInsideScanDataDecodesWithoutError) {
  const Bytes whole = TestData("testorig.jpg");
  Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() * 6 / 10));
  ASSERT_GT(cut.size(), MarkerOffset(whole, 0xDA) + 100);

  const TargetBitmap target = StretchInto(InMemory(cut), 227, 149);
  ExpectNearestNeighbourOf(DecodeWholeFrame(cut), target);
  // The rows before the cut are the picture's own.
  const Frame original = DecodeWholeFrame(whole);
  for (std::int32_t y = 0; y < 32; ++y) {
    EXPECT_EQ(0, std::memcmp(target.Row(y), original.Pixel(0, y), 227 * 3)) << "row " << y;
  }

  const Bytes progressive = EncodeFixture(PatternedRgb(61, 43), 61, 43, JCS_RGB, 3,
                                          [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); });
  const Bytes progressiveCut(progressive.begin(), progressive.begin() + static_cast<std::ptrdiff_t>(progressive.size() / 2));
  ExpectNearestNeighbourOf(DecodeWholeFrame(progressiveCut), StretchInto(InMemory(progressiveCut), 61, 43));
}

TEST(StretchInto, TargetWithoutPixelsStillDecodesTheSource) {
  const SourceImage good = InMemory(TestData("testorig.jpg"));
  for (const auto& [width, height] : {std::pair{0, 149}, std::pair{227, 0}, std::pair{0, -3}}) {
    const TargetBitmap target = StretchInto(good, width, height);
    EXPECT_FALSE(target.HasPixels());
    EXPECT_EQ(target.width(), width);
    EXPECT_EQ(target.height(), height);
  }
  EXPECT_EQ(ExpectEjpeg([] { StretchInto(InMemory({0x89, 'P', 'N', 'G'}), 0, 0); }), 52);
}

TEST(StretchInto, NegativeSideFailsBeforeDecoding) {
  // The empty source would fail with code 41 if it were decoded first.
  EXPECT_THROW(StretchInto(InMemory({}), -1, 5), EOutOfResources);
  EXPECT_THROW(StretchInto(InMemory({}), 5, -1), EOutOfResources);
}

// ---------------------------------------------------------------------------

struct Segment {
  unsigned char marker;
  Bytes payload;  // without the length field
};

// The marker segments from SOI up to and including SOS, and where the
// entropy-coded data begins.
std::vector<Segment> HeaderSegments(const Bytes& jpeg, std::size_t& scanData) {
  std::vector<Segment> segments;
  EXPECT_TRUE(jpeg.size() > 4 && jpeg[0] == 0xFF && jpeg[1] == 0xD8) << "no SOI first";
  std::size_t at = 2;
  while (at + 4 <= jpeg.size()) {
    EXPECT_EQ(jpeg[at], 0xFF) << "no marker at " << at;
    const unsigned char marker = jpeg[at + 1];
    const std::size_t length = jpeg[at + 2] * 256u + jpeg[at + 3];
    segments.push_back({marker, Bytes(jpeg.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                      jpeg.begin() + static_cast<std::ptrdiff_t>(at + 2 + length))});
    at += 2 + length;
    if (marker == 0xDA) break;
  }
  scanData = at;
  return segments;
}

Bytes EncodedPatternedRgb(int width, int height, std::uint8_t quality) {
  const Bytes samples = PatternedRgb(width, height);
  TargetBitmap target(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    std::memcpy(target.Row(y), samples.data() + y * width * 3, static_cast<std::size_t>(width) * 3);
  }
  return EncodeJpeg(target, quality).bytes;
}

TEST(EncodeJpeg, WritesBaselineJfifWithNothingElse) {
  const Bytes jpeg = EncodedPatternedRgb(35, 21, 80);
  std::size_t scanData = 0;
  const std::vector<Segment> segments = HeaderSegments(jpeg, scanData);

  std::vector<unsigned char> markers;
  for (const Segment& segment : segments) markers.push_back(segment.marker);
  ASSERT_EQ(markers, (std::vector<unsigned char>{0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA}));

  EXPECT_EQ(segments[0].payload, (Bytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));
  EXPECT_EQ(segments[1].payload.size(), 65u);
  EXPECT_EQ(segments[1].payload[0], 0x00);  // 8-bit entries, table 0
  EXPECT_EQ(segments[2].payload.size(), 65u);
  EXPECT_EQ(segments[2].payload[0], 0x01);  // 8-bit entries, table 1
  EXPECT_EQ(segments[3].payload,
            (Bytes{8, 0, 21, 0, 35, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));  // 4:2:0 YCbCr
  // Table class and id of each DHT: DC 0, AC 0, DC 1, AC 1.
  EXPECT_EQ(segments[4].payload[0], 0x00);
  EXPECT_EQ(segments[5].payload[0], 0x10);
  EXPECT_EQ(segments[6].payload[0], 0x01);
  EXPECT_EQ(segments[7].payload[0], 0x11);
  // The standard tables, one to a segment.
  EXPECT_EQ(segments[4].payload.size(), 1u + 16 + 12);
  EXPECT_EQ(segments[5].payload.size(), 1u + 16 + 162);
  EXPECT_EQ(segments[8].payload, (Bytes{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));

  // Entropy-coded data to the end: only stuffed FF 00, no restart or other marker.
  ASSERT_GE(jpeg.size(), scanData + 2);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
  for (std::size_t i = scanData; i + 2 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF) {
      ASSERT_EQ(jpeg[i + 1], 0x00) << "marker inside the scan at " << i;
    }
  }
}

struct QualityCase {
  int quality;
  int firstLuminance;
  int firstChrominance;
  int everyEntry;  // 0 when the entries differ
};

class EncodeQuality : public testing::TestWithParam<QualityCase> {};

TEST_P(EncodeQuality, ScalesTheStandardTables) {
  const QualityCase& expected = GetParam();
  std::size_t scanData = 0;
  const std::vector<Segment> segments =
      HeaderSegments(EncodedPatternedRgb(16, 16, static_cast<std::uint8_t>(expected.quality)), scanData);
  ASSERT_GE(segments.size(), 3u);
  const Bytes& luminance = segments[1].payload;
  const Bytes& chrominance = segments[2].payload;
  ASSERT_EQ(luminance.size(), 65u);
  ASSERT_EQ(chrominance.size(), 65u);
  EXPECT_EQ(luminance[1], expected.firstLuminance);
  EXPECT_EQ(chrominance[1], expected.firstChrominance);
  if (expected.everyEntry != 0) {
    for (int i = 1; i <= 64; ++i) {
      EXPECT_EQ(luminance[i], expected.everyEntry) << "luminance entry " << i;
      EXPECT_EQ(chrominance[i], expected.everyEntry) << "chrominance entry " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Qualities, EncodeQuality,
                         testing::Values(QualityCase{80, 6, 7, 0}, QualityCase{90, 3, 3, 0},
                                         QualityCase{50, 16, 17, 0}, QualityCase{100, 1, 1, 1},
                                         QualityCase{101, 1, 1, 1}, QualityCase{255, 1, 1, 1},
                                         QualityCase{1, 255, 255, 255}, QualityCase{0, 255, 255, 255}),
                         [](const testing::TestParamInfo<QualityCase>& info) {
                           return "Q" + std::to_string(info.param.quality);
                         });

TEST(EncodeJpeg, KeepsThePicture) {
  const int width = 48;
  const int height = 32;
  TargetBitmap target(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      unsigned char* pixel = target.Row(y) + x * 3;
      pixel[0] = static_cast<unsigned char>(x * 5);
      pixel[1] = static_cast<unsigned char>(255 - y * 7);
      pixel[2] = static_cast<unsigned char>(100 + x + y);
    }
  }
  const Frame decoded = DecodeWholeFrame(EncodeJpeg(target, 95).bytes);
  ASSERT_EQ(decoded.width, width);
  ASSERT_EQ(decoded.height, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width * 3; ++x) {
      ASSERT_NEAR(decoded.rgb[static_cast<std::size_t>(y * width * 3 + x)], target.Row(y)[x], 12)
          << "byte " << x << " of row " << y;
    }
  }
}

TEST(EncodeJpeg, TargetWithoutPixelsIsAnEmptyImage) {
  for (const auto& [width, height] : {std::pair{0, 0}, std::pair{0, 10}, std::pair{10, 0}}) {
    const TargetBitmap target(width, height);
    EXPECT_EQ(ExpectEjpeg([&] { EncodeJpeg(target, 80); }), 31);
  }
}

TEST(EncodeJpeg, SideAbove65500IsTooBig) {
  EXPECT_EQ(ExpectEjpeg([] { EncodeJpeg(TargetBitmap(65501, 1), 80); }), 40);
  EXPECT_EQ(ExpectEjpeg([] { EncodeJpeg(TargetBitmap(1, 65501), 80); }), 40);
  EXPECT_NO_THROW(EncodeJpeg(TargetBitmap(65500, 1), 80));
}

// ---------------------------------------------------------------------------

class SaveJpegFileTest : public testing::Test {
 protected:
  void TearDown() override { platform::SetWriteFunctionForTesting(nullptr); }

  static std::string ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return std::to_string(info.st_mode & 07777);
  }

  ScratchDirectory directory_;
  const EncodedImage image_{EncodedPatternedRgb(20, 10, 80)};
  const Bytes old_{'o', 'l', 'd'};
};

TEST_F(SaveJpegFileTest, WritesANewFile) {
  SaveJpegFile(image_, directory_.Path("new.jpg"));
  EXPECT_EQ(ReadFileBytes(directory_.Path("new.jpg")), image_.bytes);
  EXPECT_EQ(directory_.Names(), std::vector<std::string>{"new.jpg"});
}

TEST_F(SaveJpegFileTest, ReplacesAFileKeepingItsPermissions) {
  const std::string path = directory_.Write("photo.jpg", old_);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  SaveJpegFile(image_, path);
  EXPECT_EQ(ReadFileBytes(path), image_.bytes);
  EXPECT_EQ(ModeOf(path), std::to_string(0640));
}

TEST_F(SaveJpegFileTest, FailedWriteKeepsTheOldFileWhole) {
  const std::string path = directory_.Write("photo.jpg", old_);
  platform::SetWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  });
  EXPECT_THROW(SaveJpegFile(image_, path), EWriteError);
  EXPECT_EQ(ReadFileBytes(path), old_);
  EXPECT_EQ(directory_.Names(), std::vector<std::string>{"photo.jpg"});
}

TEST_F(SaveJpegFileTest, ReadOnlyFileCannotBeCreated) {
  const std::string path = directory_.Write("photo.jpg", old_);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  try {
    SaveJpegFile(image_, path);
    ADD_FAILURE() << "read-only file replaced";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "ファイル " + path + " を作成できません");
  }
  EXPECT_EQ(ReadFileBytes(path), old_);
  EXPECT_EQ(directory_.Names(), std::vector<std::string>{"photo.jpg"});
}

TEST_F(SaveJpegFileTest, MissingDirectoryCannotBeCreated) {
  const std::string path = directory_.Path("no-such-directory/photo.jpg");
  try {
    SaveJpegFile(image_, path);
    ADD_FAILURE() << "saved into a missing directory";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "ファイル " + path + " を作成できません");
  }
}

TEST_F(SaveJpegFileTest, OutputMayReplaceItsOwnInput) {
  const std::string path = directory_.Write("photo.jpg", TestData("testorig.jpg"));
  const SourceImage source = LoadJpegFile(path);
  SaveJpegFile(EncodeJpeg(StretchInto(source, 113, 74), 80), path);
  const SourceImage result = LoadJpegFile(path);
  EXPECT_EQ(result.width, 113);
  EXPECT_EQ(result.height, 74);
  EXPECT_NO_THROW(StretchInto(result, 113, 74));
}

// ---------------------------------------------------------------------------
// Damaged files: whatever the bytes, decoding ends in a photo or in EJPEG,
// never in a crash, a hang or another failure (run under the sanitizers in CI).

TEST(DamagedInput, EveryMutationDecodesOrRaisesEjpeg) {
  const std::vector<Bytes> originals = {
      TestData("testorig.jpg"),
      EncodeFixture(PatternedRgb(61, 43), 61, 43, JCS_RGB, 3,
                    [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); }),
      EncodeFixture(PatternedGrey(40, 30), 40, 30, JCS_GRAYSCALE, 1),
  };
  std::mt19937 random(20261211);  // fixed: a failure must reproduce
  int decoded = 0;
  int refused = 0;
  for (const Bytes& original : originals) {
    for (int round = 0; round < 2000; ++round) {
      Bytes damaged = original;
      const int changes = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < changes; ++i) {
        const std::size_t at = random() % damaged.size();
        switch (random() % 3) {
          case 0: damaged[at] = static_cast<unsigned char>(random()); break;  // flip a byte
          case 1: damaged.resize(std::max<std::size_t>(at, 1)); break;        // cut the file
          default: damaged.insert(damaged.begin() + static_cast<long>(at), 0xFF); break;
        }
      }
      try {
        const TargetBitmap target = StretchInto(InMemory(damaged), 17, 13);
        ASSERT_TRUE(target.HasPixels());
        ++decoded;
      } catch (const EJPEG&) {
        ++refused;
      }
    }
  }
  // Both outcomes occur, so the mutations reach past the header.
  EXPECT_GT(decoded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace pictrim::imaging
