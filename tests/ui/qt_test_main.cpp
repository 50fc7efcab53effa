// Window tests run in the program's own application object, drawn offscreen
// whatever display there is.
#include <gtest/gtest.h>

#include "text/texts.h"
#include "ui/velmot_application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TVelmotApplication app(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  return RUN_ALL_TESTS();
}
