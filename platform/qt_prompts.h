#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompts.h"

namespace kobrix {

// Real message boxes and dialogs. Box titles are the application's name; texts are shown as
// plain text, so a file name with "<" in it is never taken for markup.
class QtPrompts final : public Prompts {
  public:
    // `parent` is the window the boxes are centred on; none centres them on the screen.
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    void SetParent(QWidget* parent) { parent_ = parent; }

    void Information(const QString& text) override;
    void Warning(const QString& text) override;
    void Message(const QString& text) override;
    void Error(const QString& text) override;
    bool YesCancel(const QString& text) override;

    FileChoice OpenPicture(const QString& title, const QStringList& filters, int selectedFilter,
                           const QString& initial) override;
    FileChoice SavePicture(const QString& title, const QStringList& filters, int selectedFilter,
                           const QString& initial) override;

    QColor ChooseColour(const QColor& initial) override;
    // Qt's font dialog has no colour choice: the colour comes back as it was passed.
    FontChoice ChooseFont(const QFont& initial, const QColor& colour) override;
    bool ChoosePrinter(QPrinter& printer) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace kobrix
