// The failures pictrim reports. Every one carries the exact text the error box
// shows; nothing in the program catches them except the error box itself.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pictrim {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Silent cancellation: the error box passes over it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
  static EConvertError NotAnInteger(std::string_view text) {
    return EConvertError("'" + std::string(text) + "' は整数ではありません");
  }
};

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class EJPEG : public EInvalidGraphic {
 public:
  explicit EJPEG(int code)
      : EInvalidGraphic("JPEG エラー #" + std::to_string(code)), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

class EStreamError : public Exception {
 public:
  using Exception::Exception;
  static EStreamError MemoryStreamFull() {
    return EStreamError("メモリストリームの拡大中にメモリが足りなくなりました");
  }
};

class EFOpenError : public EStreamError {
 public:
  explicit EFOpenError(std::string_view path)
      : EStreamError("ファイル " + std::string(path) + " は開けません") {}
};

class EFCreateError : public EStreamError {
 public:
  explicit EFCreateError(std::string_view path)
      : EStreamError("ファイル " + std::string(path) + " を作成できません") {}
};

class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("ストリームからの読み込みエラー") {}
};

class EWriteError : public EStreamError {
 public:
  EWriteError() : EStreamError("ストリームへの書き込みエラー") {}
};

class EIniFileException : public Exception {
 public:
  explicit EIniFileException(std::string_view iniPath)
      : Exception(std::string(iniPath) + " に書き込めません") {}
};

class EOutOfMemory : public Exception {
 public:
  EOutOfMemory() : Exception("メモリが足りません") {}

 protected:
  using Exception::Exception;
};

class EOutOfResources : public EOutOfMemory {
 public:
  EOutOfResources() : EOutOfMemory("システム リソースが足りません") {}
};

class EInvalidOperation : public Exception {
 public:
  EInvalidOperation() : Exception("Canvas に対する描画ができません") {}
};

class EMathError : public Exception {
 public:
  using Exception::Exception;
};

class EZeroDivide : public EMathError {
 public:
  EZeroDivide() : EMathError("0 による浮動小数点数除算") {}
};

class EInvalidOp : public EMathError {
 public:
  EInvalidOp() : EMathError("不正な浮動小数点数演算命令") {}
};

}  // namespace pictrim
