#include "app/startup.h"

#include <cstdio>
#include <new>

#include "app/batch.h"
#include "platform/errors.h"
#include "platform/locale.h"
#include "settings/settings_store.h"
#include "text/messages.h"

namespace pictrim::app {

std::string StartupContext::SettingsPath() const {
  return settings::SettingsFilePath(executablePath, Syntax());
}

std::string StartupContext::Title() const {
  return text::ApplicationTitle(executablePath, Syntax(), platform::LocaleLower);
}

StartupOutcome FormCreate(settings::SettingsHolders& holders, const std::function<void()>& modeSwitch,
                          const StartupContext& context) {
  settings::LoadSettings(holders, context.SettingsPath());
  modeSwitch();
  if (context.arguments.empty()) return StartupOutcome::kSettingsMode;
  RunBatch(holders, context.arguments, context.Syntax());
  return StartupOutcome::kBatchDone;
}

std::optional<std::string> ErrorBoxMessage(std::exception_ptr failure, const text::LeadByteSet& lead) {
  try {
    std::rethrow_exception(failure);
  } catch (const EAbort&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return text::ErrorBoxText(EOutOfMemory().what(), lead);
  } catch (const std::exception& e) {
    return text::ErrorBoxText(e.what(), lead);
  } catch (...) {
    return text::ErrorBoxText("Unknown failure", lead);
  }
}

int RunWithoutDisplay(const StartupContext& context, std::FILE* errors) {
  if (context.arguments.empty()) {
    std::fprintf(errors, "usage: %s PHOTO.JPG... (without a display there is no settings window)\n",
                 context.Title().c_str());
    return 2;
  }
  settings::SettingsRecord holders;
  try {
    FormCreate(holders, [] {}, context);
    return 0;
  } catch (...) {
    if (auto message = ErrorBoxMessage(std::current_exception(), context.lead)) {
      std::fprintf(errors, "%s: %s\n", context.Title().c_str(), message->c_str());
    }
    return 1;
  }
}

}  // namespace pictrim::app
