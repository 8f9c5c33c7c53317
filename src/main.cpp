// pictrim: shrinks the JPEG photos it is given, or shows its settings window.
// The window and its message boxes live in a module of their own that is
// loaded only when there is a display; a batch without one runs on the core
// alone.
#include <cstdio>

#include <dlfcn.h>

#include "app/startup.h"
#include "platform/locale.h"
#include "platform/process.h"
#include "text/path_parts.h"
#include "ui/window_entry.h"

namespace {

// Beside the executable in a build tree; in the library directory once
// installed.
WindowEntry LoadWindowEntry(const pictrim::app::StartupContext& context) {
  const std::string directory = pictrim::text::DirectoryPrefix(context.executablePath, context.Syntax());
  for (const std::string& candidate :
       {directory + kWindowModuleName, directory + PICTRIM_INSTALLED_MODULE_DIR + kWindowModuleName}) {
    if (void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      return reinterpret_cast<WindowEntry>(::dlsym(module, kWindowEntryName));
    }
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  pictrim::app::StartupContext context;
  context.lead = pictrim::platform::InitLocale();
  context.executablePath = pictrim::platform::ExecutablePath(argc > 0 ? argv[0] : nullptr);
  context.arguments = pictrim::platform::FileArguments(argc, argv);

  if (pictrim::platform::HasDisplay()) {
    if (WindowEntry runWithDisplay = LoadWindowEntry(context)) return runWithDisplay(&argc, argv, &context);
    std::fprintf(stderr, "%s: the settings window is not installed (%s); running without it\n",
                 context.Title().c_str(), kWindowModuleName);
  }
  return pictrim::app::RunWithoutDisplay(context, stderr);
}
