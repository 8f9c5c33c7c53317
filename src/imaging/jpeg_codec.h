// libjpeg's decompressor and compressor, each owned by one object and fed
// from or into memory. libjpeg reports a fatal error by calling error_exit,
// which must not return: ours longjmps back to a setjmp in a small frame of
// our own, and only after that frame has returned does the failure become a
// C++ exception. Code run as a codec step may therefore be left by longjmp
// and must own nothing with a destructor.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <vector>

#include "imaging/jpeg_library.h"

namespace pictrim::imaging {

// libjpeg reads and writes memory in units of this many bytes.
inline constexpr std::size_t kCodecUnitBytes = 4096;

struct CodecErrorManager {
  jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is a pointer to us
  std::jmp_buf jump;
};

struct MemorySource {
  jpeg_source_mgr pub;  // first, as above
  const JOCTET* data;
  std::size_t size;
  std::size_t offset;
};

struct MemoryDestination {
  jpeg_destination_mgr pub;  // first, as above
  std::vector<unsigned char>* output;
  bool outputFull;  // the output vector could not grow
  JOCTET unit[kCodecUnitBytes];
};

namespace detail {

// Calls body(context) with error_exit armed; false when libjpeg failed.
bool RunTrapped(CodecErrorManager& errors, void (*body)(void* context), void* context);

template <typename Step>
bool RunStepTrapped(CodecErrorManager& errors, Step& step) {
  return RunTrapped(errors, [](void* context) { (*static_cast<Step*>(context))(); }, &step);
}

[[noreturn]] void RaiseCodecError(const CodecErrorManager& errors);

}  // namespace detail

class Decompressor {
 public:
  // Reads `bytes`, which must outlive the decompressor. Raises EJPEG.
  explicit Decompressor(const std::vector<unsigned char>& bytes);
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
  ~Decompressor();

  jpeg_decompress_struct& info() { return info_; }

  // Runs `step` (which calls libjpeg); a libjpeg failure raises EJPEG.
  template <typename Step>
  void Run(Step&& step) {
    if (!detail::RunStepTrapped(errors_, step)) detail::RaiseCodecError(errors_);
  }

 private:
  CodecErrorManager errors_{};
  MemorySource source_{};
  jpeg_decompress_struct info_{};
};

class Compressor {
 public:
  // Appends the datastream to `output`, which must outlive the compressor.
  // Raises EJPEG.
  explicit Compressor(std::vector<unsigned char>& output);
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
  ~Compressor();

  jpeg_compress_struct& info() { return info_; }

  // Runs `step` (which calls libjpeg); a libjpeg failure raises EJPEG, an
  // output that cannot grow EStreamError.
  template <typename Step>
  void Run(Step&& step) {
    if (!detail::RunStepTrapped(errors_, step)) RaiseFailure();
  }

 private:
  [[noreturn]] void RaiseFailure() const;

  CodecErrorManager errors_{};
  MemoryDestination destination_{};
  jpeg_compress_struct info_{};
};

}  // namespace pictrim::imaging
