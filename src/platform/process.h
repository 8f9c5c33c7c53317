// What the process knows about how it was started.
#pragma once

#include <string>
#include <vector>

namespace pictrim::platform {

// The executable's full path, or argv[0] when the system will not say.
std::string ExecutablePath(const char* argv0);

// The files to convert: argv[1...] as given, ending at the first empty one.
std::vector<std::string> FileArguments(int argc, char** argv);

// True when a window can be shown: a display, or a Qt platform chosen.
bool HasDisplay();

}  // namespace pictrim::platform
