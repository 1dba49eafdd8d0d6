#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "platform/platform.h"

class QLabel;

namespace kobrix {

// "Remember them": the names of the people who lost their lives in space exploration, one
// every two seconds in the caption line, then the page fades out and hides itself.
// Steps: Start (the Remember menu), ShowStep (every tick of the sequence timer), AdvanceStep
// (the hold timer), FadeStep (the fade timer), CloseStep ("Close").
class DedicationPage : public QWidget {
    Q_OBJECT
  public:
    explicit DedicationPage(Platform& platform, QWidget* parent = nullptr);

    static const QStringList& Names();
    void SetLines(const QStringList& lines) { lines_ = lines; }

    void Start();
    void ShowStep();
    void AdvanceStep();
    void FadeStep();
    void CloseStep();

    QString CaptionLine() const;
    int Counter() const { return counter_; }
    int Opacity() const { return opacity_; }  // of 255
    QTimer& SequenceTimer() { return sequence_; }
    QTimer& HoldTimer() { return hold_; }
    QTimer& FadeTimer() { return fade_; }

  private:
    void SetOpacity(int opacity);

    QStringList lines_;
    int counter_ = 0;
    int opacity_ = 255;
    QLabel* caption_ = nullptr;
    QTimer sequence_;
    QTimer hold_;
    QTimer fade_;
};

}  // namespace kobrix
