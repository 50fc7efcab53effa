// The application object. Its default error handling: an exception that
// leaves an event handler (a port that cannot be opened, a number that does
// not convert, a file error) ends that handler and its text is shown in a
// message box; the program goes on.
#pragma once

#include <QApplication>

class TVelmotApplication : public QApplication {
 public:
  TVelmotApplication(int& argc, char** argv) : QApplication(argc, argv) {}

  bool notify(QObject* receiver, QEvent* event) override;
};
