#pragma once

#include <QString>
#include <QStringList>

#include "platform/prompts.h"

namespace kobrix {

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

// The file each window's picture is saved as: its place in the creation order and its
// caption, e.g. "01-kobrix-2007.png".
QString WindowPictureName(int index, const QString& caption);

// Shows every window in turn, the main window first (with the file chosen in it), then each
// tool and page with its initial contents, and saves a picture of each in `directory`.
// Returns the names of the files written.
QStringList SaveWindowPictures(Windows& windows, const QString& directory);

}  // namespace kobrix
