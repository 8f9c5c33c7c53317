// pictrim: shrinks the JPEG photos it is given, or shows its settings window.
#include <cstdio>

#include "app/startup.h"
#include "platform/locale.h"
#include "platform/process.h"
#include "ui/unit1.h"

int main(int argc, char** argv) {
  pictrim::app::StartupContext context;
  context.lead = pictrim::platform::InitLocale();
  context.executablePath = pictrim::platform::ExecutablePath(argc > 0 ? argv[0] : nullptr);
  context.arguments = pictrim::platform::FileArguments(argc, argv);

  if (!pictrim::platform::HasDisplay()) return pictrim::app::RunWithoutDisplay(context, stderr);
  return pictrim::ui::RunWithDisplay(argc, argv, context);
}
