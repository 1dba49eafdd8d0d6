#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "platform/platform.h"

class QAction;
class QCheckBox;
class QPushButton;
class QWidget;

namespace kobrix {

// What the "Print" buttons of the program do: print their window (the mode off, as at start)
// or put a picture of it on the clipboard (the mode on). The main window's check box and its
// Options menu item both show the mode; every registered button reads "Clipboard" or "Print".
class PrintMode : public QObject {
    Q_OBJECT
  public:
    explicit PrintMode(Platform& platform, QObject* parent = nullptr);

    bool ClipboardOn() const { return clipboard_; }
    void Set(bool clipboard);
    void Toggle() { Set(!clipboard_); }

    // The two switches of the mode; clicking either inverts it and the other follows.
    void BindSwitches(QCheckBox& checkBox, QAction& menuItem);
    // A "Print" button whose caption follows the mode; a destroyed button is forgotten.
    void Register(QPushButton* button);

    // The button's action on `window`. Mode on: a picture of its client area goes to the
    // clipboard and "Image saved to clipboard!" is shown. Mode off: the print dialog, then the
    // picture on the chosen printer, scaled to the page with its proportions kept.
    void PrintOrCopy(QWidget& window);

  private:
    void Show();

    Platform& platform_;
    bool clipboard_ = false;
    QPointer<QCheckBox> checkBox_;
    QPointer<QAction> menuItem_;
    QList<QPointer<QPushButton>> buttons_;
};

}  // namespace kobrix
