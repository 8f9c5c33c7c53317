#include "platform/process.h"

#include <cstdlib>

#include <limits.h>
#include <unistd.h>

namespace pictrim::platform {

std::string ExecutablePath(const char* argv0) {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
    return std::string(buffer, static_cast<std::size_t>(length));
  }
  return argv0 ? argv0 : "";
}

std::vector<std::string> FileArguments(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc && argv[i] && argv[i][0] != '\0'; ++i) files.emplace_back(argv[i]);
  return files;
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace pictrim::platform
