#include "pages/dedication_page.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/controls.h"

namespace kobrix {

const QStringList& DedicationPage::Names() {
    // From the public record: the crews and astronauts lost in flight, in training and on the
    // ground, in the order of the dates they died.
    static const QStringList names = {
        "Valentin Bondarenko, 23 March 1961",
        "Theodore Freeman, 31 October 1964",
        "Elliot See and Charles Bassett, 28 February 1966",
        "Virgil \"Gus\" Grissom, Edward White and Roger Chaffee, Apollo 1, 27 January 1967",
        "Vladimir Komarov, Soyuz 1, 24 April 1967",
        "Clifton Williams, 5 October 1967",
        "Michael Adams, X-15, 15 November 1967",
        "Robert Lawrence, 8 December 1967",
        "Yuri Gagarin, 27 March 1968",
        "Georgy Dobrovolsky, Vladislav Volkov and Viktor Patsayev, Soyuz 11, 30 June 1971",
        "Francis Scobee, Michael Smith, Judith Resnik, Ellison Onizuka,",
        "Ronald McNair, Gregory Jarvis and Christa McAuliffe, Challenger, 28 January 1986",
        "Rick Husband, William McCool, Michael Anderson, Kalpana Chawla,",
        "David Brown, Laurel Clark and Ilan Ramon, Columbia, 1 February 2003",
        "Michael Alsbury, SpaceShipTwo, 31 October 2014",
        "and all who gave their lives so that we may reach the stars.",
    };
    return names;
}

DedicationPage::DedicationPage(Platform&, QWidget* parent)
    : QWidget(parent, Qt::Window), lines_(Names()) {
    setObjectName("DedicationPage");
    setWindowTitle("Remember them");
    PaintBackground(*this, Qt::black);
    auto* layout = new QVBoxLayout(this);
    QLabel* heading = PlainLabel("In memory of those who went before us.", this);
    SetTextColour(*heading, QColor(255, 255, 160));
    MakeBold(*heading);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    QLabel* text = PlainLabel(
        "They lost their lives in the exploration of space. Every picture a rover sends home "
        "stands on their work.",
        this);
    text->setWordWrap(true);
    SetTextColour(*text, Qt::white);
    layout->addWidget(text);
    caption_ = NamedLabel("CaptionLine", QString(), this);
    caption_->setWordWrap(true);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setMinimumSize(520, 60);
    SetTextColour(*caption_, QColor(160, 220, 255));
    QFont font = caption_->font();
    font.setPointSize(font.pointSize() + 3);
    caption_->setFont(font);
    layout->addWidget(caption_, 1);
    QPushButton* close = PlainButton("Close", "Close", this);
    connect(close, &QPushButton::clicked, this, &DedicationPage::CloseStep);
    layout->addWidget(close, 0, Qt::AlignRight);

    sequence_.setObjectName("SequenceTimer");
    sequence_.setInterval(1000);
    hold_.setObjectName("HoldTimer");
    hold_.setInterval(2000);
    fade_.setObjectName("FadeTimer");
    fade_.setInterval(25);
    connect(&sequence_, &QTimer::timeout, this, &DedicationPage::ShowStep);
    connect(&hold_, &QTimer::timeout, this, &DedicationPage::AdvanceStep);
    connect(&fade_, &QTimer::timeout, this, [this] {
        fade_.stop();
        FadeStep();
    });
}

QString DedicationPage::CaptionLine() const {
    return caption_->text();
}

void DedicationPage::SetOpacity(int opacity) {
    opacity_ = opacity;
    setWindowOpacity(opacity_ / 255.0);
}

void DedicationPage::Start() {
    fade_.stop();  // opened again while it faded: it starts over, fully visible
    sequence_.start();
    SetOpacity(255);
    show();
    raise();
}

void DedicationPage::ShowStep() {
    // A running hold timer keeps its time: one line every two seconds, whatever the sequence
    // timer does meanwhile.
    if (!hold_.isActive()) hold_.start();
    const int line = counter_ - 1;
    // Before the first line and after the last there is nothing to show.
    caption_->setText(line >= 0 && line < lines_.size() ? lines_[line] : QString());
}

void DedicationPage::AdvanceStep() {
    hold_.stop();
    ++counter_;
    if (lines_.size() < counter_) {
        // The last line was shown: the page fades out on its own timer alone.
        sequence_.stop();
        FadeStep();
        return;
    }
    ShowStep();
}

void DedicationPage::FadeStep() {
    SetOpacity(opacity_ - 2);
    if (opacity_ >= 2) {
        fade_.start();
        return;
    }
    CloseStep();
    counter_ = 0;
}

void DedicationPage::CloseStep() {
    sequence_.stop();
    hold_.stop();
    fade_.stop();
    // Closed during the fade: the next opening starts from the first line, not at the end.
    if (counter_ > lines_.size()) counter_ = 0;
    hide();
}

}  // namespace kobrix
