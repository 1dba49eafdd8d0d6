#include "app/slideshow_delay_window.h"
#include "widgets/controls.h"
#include "widgets/window_placement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "browse/browse_texts.h"

namespace kobrix {

SlideshowDelayWindow::SlideshowDelayWindow(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
    setObjectName("SlideshowDelayUnit200715");
    setWindowTitle("Slideshow Delay");
    setModal(false);
    // Wide enough for the title on the frame.
    setMinimumWidth(260);

    auto* prompt = PlainLabel("Enter New Delay in Milliseconds", this);
    edit_ = new QLineEdit("2000", this);
    edit_->setObjectName("Edit1");

    auto* save = new QPushButton("Save", this);
    save->setObjectName("Button1");
    save->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Button2");
    cancel->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &SlideshowDelayWindow::Save);
    connect(cancel, &QPushButton::clicked, this, &SlideshowDelayWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addSpacing(6);
    layout->addLayout(buttons);
}

QString SlideshowDelayWindow::NotAPositiveDelayText() {
    return "The delay must be at least 1 millisecond.";
}

void SlideshowDelayWindow::Open(int currentDelayMs) {
    edit_->setText(QString::number(currentDelayMs));
    edit_->selectAll();
    edit_->setFocus();
    show();
    raise();
    activateWindow();
}

void SlideshowDelayWindow::Save() {
    const QString text = edit_->text();
    const std::optional<int> delay = ParseWholeNumber(text.toStdString());
    if (!delay) {
        platform_.prompts.Error(QString::fromStdString(NotAnIntegerText(text.toStdString())));
        return;
    }
    // A timer without a delay fires continuously and the program stops responding.
    if (*delay <= 0) {
        platform_.prompts.Error(NotAPositiveDelayText());
        return;
    }
    emit delaySaved(*delay);
    accept();
}

void SlideshowDelayWindow::showEvent(QShowEvent* event) {
    CentreOnFirstShow(*this, platform_.desktop, *event, centred_);
    QDialog::showEvent(event);
}

}  // namespace kobrix
