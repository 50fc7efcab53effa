// Program entry: the application and its title, the five windows of the
// run, the main window shown (its show handler sets everything up), then the
// event loop until the main window closes. A stop request from outside
// (Ctrl+C, SIGTERM) closes whatever box is open and then the main window as
// its close box does.
#include "data/operator_io.h"
#include "platform/stop_request.h"
#include "text/texts.h"
#include "ui/main_loop.h"
#include "ui/message_box_prompts.h"
#include "ui/startup_forms.h"
#include "ui/velmot_application.h"

int main(int argc, char** argv) {
  TVelmotApplication app(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  TMessageBoxPrompts prompts;
  SetPrompts(&prompts);
  const TStopRequest stopRequest;
  int result = 0;
  {
    TStartupForms forms(StartupFromProcess());
    result = RunMainWindow(*forms.GenMFrmARM, stopRequest);
  }
  SetPrompts(nullptr);
  return result;
}
