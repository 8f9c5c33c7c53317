// The one entry point of the window module (pictrim-window.so).
#pragma once

#include "app/startup.h"

inline constexpr const char* kWindowModuleName = "pictrim-window.so";
inline constexpr const char* kWindowEntryName = "pictrim_run_with_display";

extern "C" {
using WindowEntry = int (*)(int* argc, char** argv, const pictrim::app::StartupContext* context);
int pictrim_run_with_display(int* argc, char** argv, const pictrim::app::StartupContext* context);
}
