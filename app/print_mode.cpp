#include "app/print_mode.h"

#include <QAction>
#include <QCheckBox>
#include <QMainWindow>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>

namespace kobrix {
namespace {

// The client area: a main window's menu bar is not part of its picture.
QWidget& ClientArea(QWidget& window) {
    if (auto* main = qobject_cast<QMainWindow*>(&window); main && main->centralWidget()) {
        return *main->centralWidget();
    }
    return window;
}

}  // namespace

PrintMode::PrintMode(Platform& platform, QObject* parent) : QObject(parent), platform_(platform) {}

void PrintMode::Set(bool clipboard) {
    clipboard_ = clipboard;
    Show();
}

void PrintMode::BindSwitches(QCheckBox& checkBox, QAction& menuItem) {
    checkBox_ = &checkBox;
    menuItem_ = &menuItem;
    connect(&checkBox, &QCheckBox::clicked, this, [this] { Toggle(); });
    connect(&menuItem, &QAction::triggered, this, [this] { Toggle(); });
    Show();
}

void PrintMode::Register(QPushButton* button) {
    if (!button) return;
    buttons_.append(button);
    Show();
}

void PrintMode::Show() {
    if (checkBox_) {
        const QSignalBlocker block(checkBox_);
        checkBox_->setChecked(clipboard_);
    }
    if (menuItem_) {
        const QSignalBlocker block(menuItem_);
        menuItem_->setChecked(clipboard_);
    }
    buttons_.removeAll(nullptr);
    for (const QPointer<QPushButton>& button : buttons_) {
        button->setText(clipboard_ ? QStringLiteral("Clipboard") : QStringLiteral("Print"));
    }
}

void PrintMode::PrintOrCopy(QWidget& window) {
    if (clipboard_) {
        platform_.desktop.SetClipboardImage(ClientArea(window).grab().toImage());
        platform_.prompts.Information(QStringLiteral("Image saved to clipboard!"));
        return;
    }
    QPrinter printer;
    if (!platform_.prompts.ChoosePrinter(printer)) return;
    const QImage picture = ClientArea(window).grab().toImage();
    QPainter painter;
    if (!painter.begin(&printer)) {
        platform_.prompts.Error(QStringLiteral("The printer could not be started."));
        return;
    }
    const QRect page = painter.viewport();
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), size), picture);
    painter.end();
}

}  // namespace kobrix
