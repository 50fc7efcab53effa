// Program entry. The main window arrives in a later step; until then the
// program starts Qt, shows its title and exits.
#include <QApplication>
#include <cstdio>

#include "text/texts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(kApplicationTitle);
  std::printf("%s: the main window is not built yet.\n", kApplicationTitle);
  return 0;
}
