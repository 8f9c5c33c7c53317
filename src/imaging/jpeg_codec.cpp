#include "imaging/jpeg_codec.h"

#include <algorithm>

#include "imaging/codec_errors.h"
#include "platform/errors.h"

// The callbacks libjpeg calls. They run inside libjpeg's C frames, so none of
// them lets a C++ exception out.
extern "C" {

static void ExitToTrap(j_common_ptr codec) {
  std::longjmp(reinterpret_cast<pictrim::imaging::CodecErrorManager*>(codec->err)->jump, 1);
}

// Warnings (corrupt data, a premature end) and trace messages are dropped:
// the codec carries on, and the program shows nothing for them.
static void DropMessage(j_common_ptr, int) {}
static void ShowNothing(j_common_ptr) {}
static void FormatNothing(j_common_ptr, char* buffer) { buffer[0] = '\0'; }

static void ResetMessages(j_common_ptr codec) {
  codec->err->num_warnings = 0;
  codec->err->msg_code = 0;
}

static void StartReading(j_decompress_ptr) {}

static boolean FillFromMemory(j_decompress_ptr codec) {
  auto* source = reinterpret_cast<pictrim::imaging::MemorySource*>(codec->src);
  if (source->offset < source->size) {
    const std::size_t unit = std::min(pictrim::imaging::kCodecUnitBytes, source->size - source->offset);
    source->pub.next_input_byte = source->data + source->offset;
    source->pub.bytes_in_buffer = unit;
    source->offset += unit;
    return TRUE;
  }
  if (source->size == 0) ERREXIT(codec, JERR_INPUT_EMPTY);
  // Insert a fake EOI marker so that a cut-off file ends like a whole one.
  static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
  WARNMS(codec, JWRN_JPEG_EOF);
  source->pub.next_input_byte = kEndOfImage;
  source->pub.bytes_in_buffer = sizeof kEndOfImage;
  return TRUE;
}

static void SkipInMemory(j_decompress_ptr codec, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* source = codec->src;
  auto remaining = static_cast<std::size_t>(count);
  while (remaining > source->bytes_in_buffer) {
    remaining -= source->bytes_in_buffer;
    (void)source->fill_input_buffer(codec);  // never suspends
  }
  source->next_input_byte += remaining;
  source->bytes_in_buffer -= remaining;
}

static void StopReading(j_decompress_ptr) {}

static void StartWriting(j_compress_ptr codec) {
  auto* destination = reinterpret_cast<pictrim::imaging::MemoryDestination*>(codec->dest);
  destination->pub.next_output_byte = destination->unit;
  destination->pub.free_in_buffer = sizeof destination->unit;
}

}  // extern "C"

namespace {

// False when the vector cannot grow; nothing may be thrown into libjpeg.
bool AppendBytes(std::vector<unsigned char>& output, const JOCTET* bytes, std::size_t count) noexcept {
  try {
    output.insert(output.end(), bytes, bytes + count);
    return true;
  } catch (...) {
    return false;
  }
}

void StoreBytes(j_compress_ptr codec, std::size_t count) {
  auto* destination = reinterpret_cast<pictrim::imaging::MemoryDestination*>(codec->dest);
  if (!AppendBytes(*destination->output, destination->unit, count)) {
    destination->outputFull = true;
    ERREXIT(codec, JERR_FILE_WRITE);
  }
}

}  // namespace

extern "C" {

static boolean EmptyUnit(j_compress_ptr codec) {
  // libjpeg hands over the whole unit here, whatever free_in_buffer says.
  StoreBytes(codec, pictrim::imaging::kCodecUnitBytes);
  StartWriting(codec);
  return TRUE;
}

static void FinishWriting(j_compress_ptr codec) {
  StoreBytes(codec, pictrim::imaging::kCodecUnitBytes - codec->dest->free_in_buffer);
}

}  // extern "C"

namespace pictrim::imaging {

namespace {

void InstallErrorManager(CodecErrorManager& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ExitToTrap;
  errors.pub.emit_message = DropMessage;
  errors.pub.output_message = ShowNothing;
  errors.pub.format_message = FormatNothing;
  errors.pub.reset_error_mgr = ResetMessages;
}

}  // namespace

namespace detail {

// The setjmp frame: it holds nothing that a longjmp could skip the cleanup of.
bool RunTrapped(CodecErrorManager& errors, void (*body)(void* context), void* context) {
  if (setjmp(errors.jump) != 0) return false;
  body(context);
  return true;
}

void RaiseCodecError(const CodecErrorManager& errors) {
  throw EJPEG(Release6aMessageCode(errors.pub.msg_code));
}

}  // namespace detail

Decompressor::Decompressor(const std::vector<unsigned char>& bytes) {
  InstallErrorManager(errors_);
  info_.err = &errors_.pub;
  auto create = [this] { jpeg_create_decompress(&info_); };
  if (!detail::RunStepTrapped(errors_, create)) {
    // The destructor will not run; free what the creation got.
    jpeg_destroy_decompress(&info_);
    detail::RaiseCodecError(errors_);
  }
  source_.pub.init_source = StartReading;
  source_.pub.fill_input_buffer = FillFromMemory;
  source_.pub.skip_input_data = SkipInMemory;
  source_.pub.resync_to_restart = jpeg_resync_to_restart;
  source_.pub.term_source = StopReading;
  source_.data = bytes.data();
  source_.size = bytes.size();
  info_.src = &source_.pub;
}

Decompressor::~Decompressor() { jpeg_destroy_decompress(&info_); }

Compressor::Compressor(std::vector<unsigned char>& output) {
  InstallErrorManager(errors_);
  info_.err = &errors_.pub;
  auto create = [this] { jpeg_create_compress(&info_); };
  if (!detail::RunStepTrapped(errors_, create)) {
    jpeg_destroy_compress(&info_);
    detail::RaiseCodecError(errors_);
  }
  destination_.pub.init_destination = StartWriting;
  destination_.pub.empty_output_buffer = EmptyUnit;
  destination_.pub.term_destination = FinishWriting;
  destination_.output = &output;
  info_.dest = &destination_.pub;
}

Compressor::~Compressor() { jpeg_destroy_compress(&info_); }

void Compressor::RaiseFailure() const {
  if (destination_.outputFull) throw EStreamError::MemoryStreamFull();
  detail::RaiseCodecError(errors_);
}

}  // namespace pictrim::imaging
