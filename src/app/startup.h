// How a run starts: settings load, mode switch, and the choice between the
// batch and the settings window.
#pragma once

#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_holders.h"
#include "text/lead_bytes.h"
#include "text/path_parts.h"

namespace pictrim::app {

struct StartupContext {
  std::string executablePath;
  std::vector<std::string> arguments;  // the files to convert
  text::LeadByteSet lead;

  text::PathSyntax Syntax() const { return text::PathSyntax::Posix(lead); }
  std::string SettingsPath() const;
  std::string Title() const;  // the application title
};

enum class StartupOutcome { kSettingsMode, kBatchDone };

// The window's creation handler: loads the settings into `holders`, runs
// `modeSwitch` once, and with arguments runs the batch. Failures propagate
// to the caller's error box.
StartupOutcome FormCreate(settings::SettingsHolders& holders, const std::function<void()>& modeSwitch,
                          const StartupContext& context);

// The text the error box shows for a failure, or nothing for a silent abort.
std::optional<std::string> ErrorBoxMessage(std::exception_ptr failure, const text::LeadByteSet& lead);

// A run without a display: the batch alone, errors to `errors` as
// "<title>: <message>". Returns the exit status: 0 after a complete batch,
// 1 after a failed one, 2 (with a usage line) when there is nothing to do.
int RunWithoutDisplay(const StartupContext& context, std::FILE* errors);

}  // namespace pictrim::app
