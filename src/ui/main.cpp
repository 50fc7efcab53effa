// Program entry: the application and its title, the five windows of the
// run, the main window shown (its show handler sets everything up), then the
// event loop until the main window closes.
#include "data/operator_io.h"
#include "text/texts.h"
#include "ui/message_box_prompts.h"
#include "ui/startup_forms.h"
#include "ui/velmot_application.h"

int main(int argc, char** argv) {
  TVelmotApplication app(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  TMessageBoxPrompts prompts;
  SetPrompts(&prompts);
  int result = 0;
  {
    TStartupForms forms(StartupFromProcess());
    forms.GenMFrmARM->show();
    result = app.exec();
  }
  SetPrompts(nullptr);
  return result;
}
