#include "pages/klingon_page.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "pages/page_controls.h"
#include "widgets/controls.h"

namespace kobrix {

KlingonPage::KlingonPage(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform) {
    setObjectName("KlingonPage");
    setWindowTitle("tlhIngan Hol");
    PaintBackground(*this, Qt::black);
    auto* layout = new QVBoxLayout(this);
    QLabel* text = PlainLabel(
        "Klingon script for the program: put the font file BKLINGON.TTF into the program "
        "directory, click the caption below, then choose where it shows.",
        this);
    text->setWordWrap(true);
    SetTextColour(*text, Qt::white);
    layout->addWidget(text);
    link_ = new QLabel("<a href=\"activate\" style=\"color:#ff4040\">tlhIngan Hol</a>", this);
    link_->setObjectName("ActivateLink");
    link_->setTextFormat(Qt::RichText);
    link_->setProperty("link", true);
    link_->setToolTip("Activate tlhlngan Hol Tag");
    QFont big = link_->font();
    big.setPointSize(big.pointSize() + 8);
    link_->setFont(big);
    connect(link_, &QLabel::linkActivated, this,
            [this] { RunGuarded(platform_.prompts, [this] { Activate(); }); });
    layout->addWidget(link_, 0, Qt::AlignHCenter);
    count_ = NamedLabel("CountdownLabel", QString::number(countdown_), this);
    SetTextColour(*count_, QColor(255, 200, 0));
    layout->addWidget(count_, 0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* caption, void (KlingonPage::*handler)()) {
        QPushButton* b = PlainButton(caption, caption, this);
        connect(b, &QPushButton::clicked, this, [this, handler] {
            RunGuarded(platform_.prompts, [this, handler] { (this->*handler)(); });
        });
        buttons->addWidget(b);
    };
    button("Make Klingon", &KlingonPage::MakeKlingon);
    button("TagOnly", &KlingonPage::TagOnly);
    QPushButton* close = HideButton(*this);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    timer_.setObjectName("CountdownTimer");
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &KlingonPage::Tick);
}

void KlingonPage::Open() {
    countdown_ = 25;
    timer_.start();
    show();
    raise();
}

void KlingonPage::Tick() {
    count_->setText(QString::number(countdown_));
    timer_.stop();
    if (countdown_ > 0) {
        --countdown_;
        timer_.start();
        count_->setText(QString::number(countdown_));
    }
    if (countdown_ < 1) hide();
}

void KlingonPage::Activate() {
    const QString directory = hooks_.programDirectory ? hooks_.programDirectory() : QString();
    const QString file = QDir(directory).filePath(kFontFile);
    // Without the font file the typeface requests fall back to the system's substitute.
    if (QFileInfo::exists(file)) platform_.desktop.AddFontFile(file);
    TagOnly();
    link_->setText("<a href=\"activate\" style=\"color:#ff4040\">Activated</a>");
    countdown_ = 2;
}

void KlingonPage::MakeKlingon() {
    if (hooks_.makeMainWindow) hooks_.makeMainWindow(kTypeface);
}

void KlingonPage::TagOnly() {
    QFont own = font();
    own.setFamily(kTypeface);
    setFont(own);
    if (hooks_.tagOnly) hooks_.tagOnly(kTypeface);
}

}  // namespace kobrix
