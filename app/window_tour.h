#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/desktop.h"
#include "platform/prompts.h"

namespace kobrix {

class WindowGallery;
class Windows;

// Answers for a run nobody watches: Yes to every question, Cancel to every dialog; the texts
// of the boxes go to standard error.
class UnattendedPrompts final : public Prompts {
  public:
    void Information(const QString& text) override;
    void Warning(const QString& text) override;
    void Message(const QString& text) override;
    void Error(const QString& text) override;
    bool YesCancel(const QString& text) override;
    FileChoice OpenPicture(const QString&, const QStringList&, int, const QString&) override {
        return {};
    }
    FileChoice SavePicture(const QString&, const QStringList&, int, const QString&) override {
        return {};
    }
    QColor ChooseColour(const QColor&) override { return {}; }
    FontChoice ChooseFont(const QFont&, const QColor&) override { return {}; }
    bool ChoosePrinter(QPrinter&) override { return false; }
};

// The desktop of a run nobody watches: nothing is opened or started and nothing beeps, the
// clipboard is the run's own (the user's is left alone), and each wait can be looked in on.
// The screen, the fonts, the priority and the waits themselves are the real desktop's.
class UnattendedDesktop final : public Desktop {
  public:
    explicit UnattendedDesktop(Desktop& real) : real_(real) {}

    // Runs after every wait, inside the handler that waited.
    std::function<void()> afterWait;

    bool OpenUrl(const QString&) override { return false; }
    bool OpenInTextEditor(const QString&) override { return false; }
    bool StartProgram(const QString&) override { return false; }
    void Beep() override {}
    QImage ClipboardImage() override { return clipboard_; }
    void SetClipboardImage(const QImage& image) override { clipboard_ = image; }
    QSize ScreenSize() override { return real_.ScreenSize(); }
    int PixelsPerInch() override { return real_.PixelsPerInch(); }
    bool SetUiPriority(UiPriority priority, QString* why = nullptr) override {
        return real_.SetUiPriority(priority, why);
    }
    bool AddFontFile(const QString& path) override { return real_.AddFontFile(path); }
    QString DefaultLanguage() override { return real_.DefaultLanguage(); }
    void Wait(int milliseconds) override;
    void EndProgram() override { real_.EndProgram(); }

  private:
    Desktop& real_;
    QImage clipboard_;
};

// The file each window's picture is saved as: its place in the creation order and its
// caption, e.g. "01-kobrix-2007.png".
QString WindowPictureName(int index, const QString& caption);

// Shows every window in turn, the main window first, and saves a picture of each in
// `directory`. With a gallery each window is first put to work by it, else it shows what it
// holds. Windows that were hidden are hidden again. Returns the names of the files written.
QStringList SaveWindowPictures(Windows& windows, const QString& directory,
                               WindowGallery* gallery = nullptr);

}  // namespace kobrix
