#include "platform/directory_search.h"

#include <cstring>
#include <memory>

#include <dirent.h>
#include <fnmatch.h>
#include <locale.h>

namespace pictrim::platform {

namespace {

// fnmatch would give "[" and "\\" meanings of their own; in a photo's name
// they are plain bytes. "[[]" is a bracket expression holding only "[".
std::string LiteralBrackets(const std::string& pattern) {
  std::string escaped;
  for (char c : pattern) {
    if (c == '[') {
      escaped += "[[]";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// The "C" locale makes fnmatch compare bytes and fold ASCII letters only.
class CLocaleScope {
 public:
  CLocaleScope() : c_(::newlocale(LC_ALL_MASK, "C", nullptr)) {
    if (c_) previous_ = ::uselocale(c_);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;
  ~CLocaleScope() {
    if (c_) {
      ::uselocale(previous_);
      ::freelocale(c_);
    }
  }

 private:
  locale_t c_;
  locale_t previous_ = nullptr;
};

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool NameMatches(const std::string& pattern, const std::string& name) {
  CLocaleScope scope;
  return ::fnmatch(LiteralBrackets(pattern).c_str(), name.c_str(), FNM_NOESCAPE | FNM_CASEFOLD) == 0;
}

std::optional<std::string> FindStoredName(const std::string& directory, const std::string& pattern) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.empty() ? "." : directory.c_str()));
  if (!dir || pattern.empty()) return std::nullopt;

  CLocaleScope scope;
  const std::string fnPattern = LiteralBrackets(pattern);
  std::optional<std::string> first;
  while (const dirent* entry = ::readdir(dir.get())) {
    const char* name = entry->d_name;
    if (pattern == name) return std::string(name);
    if (::fnmatch(fnPattern.c_str(), name, FNM_NOESCAPE | FNM_CASEFOLD) != 0) continue;
    if (!first || std::strcmp(name, first->c_str()) < 0) first = name;
  }
  return first;
}

}  // namespace pictrim::platform
