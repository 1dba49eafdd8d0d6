#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "colour/core/composite.h"
#include "platform/platform.h"

class QCheckBox;
class QLabel;

namespace kobrix {

// "KOBRIX Colour processor": the message of the automatic colour run, and in manual mode the
// question which band the current picture goes into (at most one box ticked).
//
// Controls by object name: Label1 the message, CheckBox1..3 "RED BAND", "GREEN BAND", "BLUE
// BAND", Button1 "CONTINUE", Button2 "CANCEL"; Timer1 the not-found timer, Timer2 the close
// timer, both 5000 ms and stopped at start.
class ColourProcessorWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ColourProcessorWindow(Platform& platform, QWidget* parent = nullptr);
    // What CONTINUE runs before the window hides: the band identification.
    void OnContinue(std::function<void()> action) { continue_ = std::move(action); }

    void SetMessage(const QString& text, const QColor& colour);
    QString Message() const;
    TickedBand Ticked() const;
    void Tick(TickedBand band);  // ticks one box, unticks the others (None unticks all)

    void Button1Click();  // CONTINUE
    void Button2Click();  // CANCEL
    // Timer steps; the timers call them, tests call them directly.
    void Timer1Timer();  // nothing loaded in time: the not-found message
    void Timer2Timer();  // closes the message again
    QTimer& NotFoundTimer() { return timer1_; }
    QTimer& CloseTimer() { return timer2_; }

  private:
    Platform& platform_;
    std::function<void()> continue_;
    QLabel* message_ = nullptr;
    QCheckBox* boxes_[3] = {};  // red, green, blue
    QTimer timer1_;
    QTimer timer2_;
};

}  // namespace kobrix
