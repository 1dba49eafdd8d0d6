#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/platform.h"

class QLabel;

namespace kobrix {

// What the typeface page acts on around it.
struct KlingonHooks {
    std::function<QString()> programDirectory;           // where "BKLINGON.TTF" may be
    std::function<void(const QString&)> makeMainWindow;  // the main window in the typeface
    std::function<void(const QString&)> tagOnly;         // the tagging tool's font, in red
};

// "tlhIngan Hol": makes the Klingon font of the program directory available and sets it on
// the main window or on the tagging tool. It closes itself when its countdown runs out.
class KlingonPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kFontFile = "BKLINGON.TTF";
    static constexpr const char* kTypeface = "BernyKlingon";

    explicit KlingonPage(Platform& platform, QWidget* parent = nullptr);
    void Attach(KlingonHooks hooks) { hooks_ = std::move(hooks); }

    void Open();      // the Options menu item: counts down from 25
    void Tick();      // the timer
    void Activate();  // the caption link
    void MakeKlingon();
    void TagOnly();

    int Countdown() const { return countdown_; }
    QTimer& Timer() { return timer_; }

  private:
    Platform& platform_;
    KlingonHooks hooks_;
    int countdown_ = 30;
    QTimer timer_;
    QLabel* link_ = nullptr;
    QLabel* count_ = nullptr;
};

}  // namespace kobrix
