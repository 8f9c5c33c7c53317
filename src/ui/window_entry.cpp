// The window program, loaded by pictrim only when a display is there, so
// that a batch without one never maps the Qt libraries.
#include "ui/unit1.h"
#include "ui/window_entry.h"

extern "C" int pictrim_run_with_display(int* argc, char** argv, const pictrim::app::StartupContext* context) {
  return pictrim::ui::RunWithDisplay(*argc, argv, *context);
}
