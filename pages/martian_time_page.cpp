#include "pages/martian_time_page.h"

#include <QAction>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "widgets/controls.h"
#include "widgets/window_placement.h"

namespace kobrix {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

MartianTimePage::MartianTimePage(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), platform_(platform) {
    setObjectName("MSTspUnit200713");
    setWindowTitle("Martian Time page");
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* values = new QWidget(this);
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(3);
    AddRow(*grid, "Martian Exploration Rover", "Label6");
    AddRow(*grid, "Landed at", "Label8");
    // The landing time's unit follows it on the same row.
    grid->addWidget(PlainLabel("Local Martian Solar Time", values), grid->rowCount() - 1, 2);

    AddGroupHeading(*grid, "Martian time transpired since landing");
    AddRow(*grid, "Martian Days or SOLS", "Label63");
    AddRow(*grid, "Martian Hours", "Label61");
    AddRow(*grid, "Martian Minutes", "Label59");
    AddRow(*grid, "Martian Seconds", "Label57");

    AddGroupHeading(*grid,
                    "Martian time transpired since landing displayed as whole units of Martian "
                    "time");
    AddRow(*grid, "Sols", "Label14");
    AddRow(*grid, "Martian Hours", "Label15");
    AddRow(*grid, "Martian Minutes", "Label16");
    AddRow(*grid, "Martian Seconds", "Label17");

    AddGroupHeading(*grid, "");
    QLabel* local = AddRow(*grid, "Martian local standard time of image capture", "Label47");
    QFont large = local->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    local->setFont(large);
    auto* note = PlainLabel("Standard time = Solar time, error approx. +/- 1hr.", values);
    MakeItalic(*note);
    grid->addWidget(note, grid->rowCount(), 0, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &MartianTimePage::Button1Click);
    // Martian Time Go is run by every decode, never by the user.
    QPushButton* go =
        AddHiddenAction(*this, "Button2", "Martian Time Go", [this] { Button2Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(go);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(14, 12, 14, 12);
    root->addWidget(values);
    root->addStretch(1);
    root->addSpacing(6);
    root->addLayout(buttons);
}

QLabel* MartianTimePage::AddRow(QGridLayout& grid, const char* caption, const char* controlName) {
    return AddValueRow(grid, caption, controlName, QString(), QColor(0x80, 0, 0));
}

QLabel* MartianTimePage::AddGroupHeading(QGridLayout& grid, const char* text) {
    auto* heading = PlainLabel(text, grid.parentWidget());
    MakeBold(*heading);
    heading->setWordWrap(true);
    heading->setContentsMargins(0, 10, 0, 2);
    grid.addWidget(heading, grid.rowCount(), 0, 1, 3);
    return heading;
}

QLabel* MartianTimePage::Value(const char* controlName) const {
    return findChild<QLabel*>(controlName);
}

void MartianTimePage::ShowDecoded(const DecodeState& state) {
    shownRoverNumber_ = state.times.MarsRoverNumber;
    secondsFromLanding_ = state.times.SecondsFromLanding;
    Button2Click();
}

void MartianTimePage::Button1Click() {
    hide();
}

void MartianTimePage::Button2Click() {
    values_ = ComputeMartianPageValues(shownRoverNumber_, secondsFromLanding_);
    const MartianPageValues& v = values_;
    const std::pair<const char*, const std::string*> shown[] = {
        {"Label6", &v.rover},       {"Label8", &v.landedAt},      {"Label14", &v.sols},
        {"Label15", &v.totalHours}, {"Label16", &v.totalMinutes}, {"Label17", &v.totalSeconds},
        {"Label57", &v.seconds},    {"Label59", &v.minutes},      {"Label61", &v.hours},
        {"Label63", &v.sols},       {"Label47", &v.localTime},
    };
    for (const auto& [control, text] : shown) Value(control)->setText(Q(*text));
}

void MartianTimePage::showEvent(QShowEvent* event) {
    CentreOnFirstShow(*this, platform_.desktop, *event, centred_);
    QWidget::showEvent(event);
}

}  // namespace kobrix
