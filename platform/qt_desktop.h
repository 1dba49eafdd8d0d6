#pragma once

#include <QThread>

#include "platform/desktop.h"

namespace kobrix {

// The desktop services through Qt: the desktop's default handlers for pages and text files,
// the system clipboard, the primary screen.
class QtDesktop final : public Desktop {
  public:
    // `uiThread` is the thread whose priority SetUiPriority changes: the application's thread
    // unless given. Another thread must be running an event loop (tests pass one of their own,
    // so that the idle level never slows the test program itself).
    explicit QtDesktop(QThread* uiThread = nullptr);

    bool OpenUrl(const QString& url) override;
    bool OpenInTextEditor(const QString& path) override;
    // Tries the path as given, then with ".exe" removed or added, and starts the first one that
    // exists. Never searches PATH.
    bool StartProgram(const QString& path) override;
    void Beep() override;

    QImage ClipboardImage() override;
    void SetClipboardImage(const QImage& image) override;

    QSize ScreenSize() override;
    int PixelsPerInch() override;

    bool SetUiPriority(UiPriority priority, QString* why = nullptr) override;
    bool AddFontFile(const QString& path) override;
    QString DefaultLanguage() override;

    void Wait(int milliseconds) override;
    void EndProgram() override;

    // The last level that took effect; Normal until one is set.
    UiPriority CurrentPriority() const { return priority_; }

    static QThread::Priority ThreadPriorityFor(UiPriority priority);
    // The nice value a level gives the thread where the system has one per thread.
    static int Niceness(UiPriority priority);
    // The paths StartProgram tries, in order.
    static QStringList ProgramCandidates(const QString& path);

  private:
    QThread* uiThread_;
    UiPriority priority_ = UiPriority::Normal;
};

}  // namespace kobrix
