#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <stdexcept>

#include "operator_fakes.h"

namespace {

// Refuses its first user event the way a handler meets a bad number.
class TFailingOnce : public QObject {
 public:
  int Handled = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    if (++Handled == 1) throw std::invalid_argument("'12x' is not a valid integer value");
    return true;
  }
};

TEST(Application, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
  TFakePrompts prompts;
  TFailingOnce object;
  QEvent first(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &first));
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{"'12x' is not a valid integer value"});
  QEvent second(QEvent::User);
  EXPECT_TRUE(QCoreApplication::sendEvent(&object, &second));
  EXPECT_EQ(object.Handled, 2);
  EXPECT_EQ(prompts.Shown.size(), 1u);

  // A timer's handler that fails: shown, and the next tick runs.
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] {
    if (++ticks == 1) throw std::runtime_error("I/O error 5");
  });
  timer.start(0);
  while (ticks < 2) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_EQ(prompts.Shown.size(), 2u);
  EXPECT_EQ(prompts.Shown[1], "I/O error 5");
}

}  // namespace
