#pragma once

#include <functional>
#include <vector>

#include "platform/desktop.h"

namespace kobrix::testing {

// Records what the program asked of the desktop; nothing is opened or started, waits are
// instant. The results of the calls that can fail are settable.
class FakeDesktop final : public Desktop {
  public:
    std::vector<QString> urls;
    std::vector<QString> editorFiles;
    std::vector<QString> programs;
    int beeps = 0;
    QImage clipboard;
    std::vector<UiPriority> priorities;  // every level that took effect, in order
    std::vector<QString> fontFiles;
    std::vector<int> waits;
    int endProgramCalls = 0;

    QSize screen{1024, 768};
    int ppi = 96;
    QString language = QStringLiteral("en_GB");
    bool urlOpens = true;
    bool editorOpens = true;
    bool programStarts = true;
    bool priorityAccepted = true;
    bool fontAdds = true;

    // Runs inside Wait, where a real wait would let timers and other windows run.
    std::function<void(int milliseconds)> onWait;

    // The last level set; Normal when none was.
    UiPriority CurrentPriority() const;

    bool OpenUrl(const QString& url) override;
    bool OpenInTextEditor(const QString& path) override;
    bool StartProgram(const QString& path) override;
    void Beep() override { ++beeps; }
    QImage ClipboardImage() override { return clipboard; }
    void SetClipboardImage(const QImage& image) override { clipboard = image; }
    QSize ScreenSize() override { return screen; }
    int PixelsPerInch() override { return ppi; }
    bool SetUiPriority(UiPriority priority, QString* why = nullptr) override;
    bool AddFontFile(const QString& path) override;
    QString DefaultLanguage() override { return language; }
    void Wait(int milliseconds) override;
    void EndProgram() override { ++endProgramCalls; }
};

}  // namespace kobrix::testing
