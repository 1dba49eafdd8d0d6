#include "colour/colour_processor_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/controls.h"

namespace kobrix {

ColourProcessorWindow::ColourProcessorWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("MsgUnit200731");
    setWindowTitle("KOBRIX Colour processor");
    // Yellow and aqua messages want a dark ground.
    PaintBackground(*this, Qt::black);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    auto* root = new QVBoxLayout(this);
    message_ = NamedLabel("Label1", "PROCESSING! PLEASE WAIT!", this);
    MakeBold(*message_);
    message_->setWordWrap(true);
    message_->setMinimumWidth(message_->fontMetrics().horizontalAdvance(
        "Sorry, all required images not found, or not in sequence."));
    root->addWidget(message_);
    const char* names[] = {"CheckBox1", "CheckBox2", "CheckBox3"};
    const char* captions[] = {"RED BAND", "GREEN BAND", "BLUE BAND"};
    auto* boxes = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        boxes_[i] = new QCheckBox(captions[i], this);
        boxes_[i]->setObjectName(names[i]);
        boxes->addWidget(boxes_[i]);
        connect(boxes_[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (!on) return;
            for (int other = 0; other < 3; ++other) {
                if (other != i) boxes_[other]->setChecked(false);
            }
        });
    }
    root->addLayout(boxes);
    auto* buttons = new QHBoxLayout;
    auto* go = PlainButton("Button1", "CONTINUE", this);
    auto* cancel = PlainButton("Button2", "CANCEL", this);
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    root->addLayout(buttons);
    connect(go, &QPushButton::clicked, this,
            [this] { RunGuarded(platform_.prompts, [this] { Button1Click(); }); });
    connect(cancel, &QPushButton::clicked, this, &ColourProcessorWindow::Button2Click);

    for (auto [timer, name, step] :
         {std::tuple{&timer1_, "Timer1", &ColourProcessorWindow::Timer1Timer},
          {&timer2_, "Timer2", &ColourProcessorWindow::Timer2Timer}}) {
        timer->setObjectName(name);
        timer->setInterval(5000);
        connect(timer, &QTimer::timeout, this, step);
    }
}

void ColourProcessorWindow::SetMessage(const QString& text, const QColor& colour) {
    message_->setText(text);
    SetTextColour(*message_, colour);
}

QString ColourProcessorWindow::Message() const {
    return message_->text();
}

TickedBand ColourProcessorWindow::Ticked() const {
    if (boxes_[0]->isChecked()) return TickedBand::Red;
    if (boxes_[1]->isChecked()) return TickedBand::Green;
    if (boxes_[2]->isChecked()) return TickedBand::Blue;
    return TickedBand::None;
}

void ColourProcessorWindow::Tick(TickedBand band) {
    for (int i = 0; i < 3; ++i) {
        boxes_[i]->setChecked(static_cast<int>(band) == i + 1);
    }
}

void ColourProcessorWindow::Button1Click() {
    // The window goes whether or not the loads succeed.
    struct Hide {
        QWidget& window;
        ~Hide() { window.hide(); }
    } hide{*this};
    if (continue_) continue_();
}

void ColourProcessorWindow::Button2Click() {
    hide();
}

void ColourProcessorWindow::Timer1Timer() {
    timer1_.stop();
    SetMessage("Sorry, all required images not found, or not in sequence.", QColor(0, 255, 255));
    show();
    raise();
    timer2_.start();
}

void ColourProcessorWindow::Timer2Timer() {
    timer2_.stop();
    hide();
}

}  // namespace kobrix
