#include "platform/files.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pictrim::platform {

namespace {

WriteFunction g_write = nullptr;

ssize_t WriteBytes(int fd, const void* data, size_t size) {
  return g_write ? g_write(fd, data, size) : ::write(fd, data, size);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closing can report a deferred write error, so it counts as part of the write.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = WriteBytes(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void SyncDirectory(const std::string& directory) {
  FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
  // O_NONBLOCK keeps a pipe named like a photo from hanging the batch.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return ReadResult::kCannotOpen;
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return ReadResult::kShortRead;
    done += static_cast<std::size_t>(got);
  }
  return ReadResult::kOk;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

ReplaceResult ReplaceFileContents(const std::string& path, std::string_view bytes) {
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && (S_ISDIR(old.st_mode) || IsReadOnlyFile(path))) return ReplaceResult::kCannotCreate;

  const std::string directory = DirectoryOf(path);
  std::string pattern = directory + "/.pictrim-XXXXXX";
  FileDescriptor file(::mkstemp(pattern.data()));
  if (file.get() < 0) return ReplaceResult::kCannotCreate;
  TemporaryFile temporary(pattern);

  const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  ::fchmod(file.get(), mode);
  if (exists) {
    // Only root can give the file back to its owner; for anyone else the
    // owner is already right.
    [[maybe_unused]] int ignored = ::fchown(file.get(), old.st_uid, old.st_gid);
  }

  if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0 || !file.Close()) {
    return ReplaceResult::kWriteFailed;
  }
  if (::rename(temporary.path().c_str(), path.c_str()) != 0) return ReplaceResult::kCannotCreate;
  temporary.Keep();
  SyncDirectory(directory);
  return ReplaceResult::kOk;
}

void SetWriteFunctionForTesting(WriteFunction write) { g_write = write; }

}  // namespace pictrim::platform
