#include "pages/earth_time_page.h"

#include <QAction>
#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "decode/mission_time.h"
#include "decode/time_page_values.h"
#include "widgets/controls.h"

namespace kobrix {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The widest texts the value column shows, so that the page is wide enough from the start.
QStringList WidestValues(const DateNames& names) {
    const auto longest = [](const auto& list) {
        std::string widest;
        for (const std::string& name : list) {
            if (name.size() > widest.size()) widest = name;
        }
        return QString::fromStdString(widest);
    };
    return {"Invalid Spacecraft Clock Value", "99999 Days, 23 Hours, 59 Minutes, 59 Seconds.",
            longest(names.days) + " 30 of " + longest(names.months) + " 2007 23:59:59",
            "TimeZone really UNKNOWN"};
}

QLabel* Note(const char* text, QWidget* parent) {
    auto* label = PlainLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

EarthTimePage::EarthTimePage(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform), clock_(&EarthTimePage::SystemUtcNow) {
    setObjectName("TimeVariablesUnit20073");
    setWindowTitle("Various Time Variables and Constants relative to Earth");
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* heading = PlainLabel("Data relevant to currently selected image", this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.2);
    heading->setFont(headingFont);

    auto* values = new QWidget(this);
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(3);
    AddRow(*grid, "Rover Initiation Time  in Windows Time Format", "Label63",
           std::to_string(kClockEpochDosDateTime).c_str());
    AddRow(*grid, "Seconds passed since Jan 01 2000, 11:58:55.816 UTC", "Label41");
    AddRow(*grid, "Total Whole Minutes (secs / 60 rounded off)", "Label43");
    AddRow(*grid, "Convert Minutes To Seconds (mins * 60)", "Label47");
    AddRow(*grid, "Remainder Seconds", "Label45");
    AddRow(*grid, "Total Whole Hours (mins / 60 rounded off)", "Label49");
    AddRow(*grid, "Convert Hours to Minutes (hours * 60)", "Label51");
    AddRow(*grid, "Remainder Minutes", "Label53");
    AddRow(*grid, "Total Whole Days (hours / 24 rounded off)", "Label55");
    AddRow(*grid, "Convert Days to Hours (days * 24)", "Label57");
    AddRow(*grid, "Remainder Hours", "Label59");
    AddRow(*grid, "Earth Time Elapsed Between Rover Initiation and Image Capture", "Label61");
    AddRow(*grid, "Earth Time of Image Capture (UTC)", "Label5");
    AddRow(*grid, "This Computers Time Zone", "Label15");
    AddRow(*grid, "Earth Time of Image Capture (Local)", "Label13");
    AddRow(*grid, "Earth Time Now (Local)", "Label10");
    AddRow(*grid, "Earth Time Now (UTC)", "Label11");
    grid->setColumnStretch(1, 1);
    QFont bold = font();
    bold.setBold(true);
    int widest = 0;
    for (const QString& text : WidestValues(platform.dateNames)) {
        widest = std::max(widest, QFontMetrics(bold).horizontalAdvance(text));
    }
    grid->setColumnMinimumWidth(1, widest + 8);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &EarthTimePage::Button1Click);
    // Display Time is run by the main window's menu item, never by the user.
    QPushButton* displayTime =
        AddHiddenAction(*this, "Button2", "Display Time", [this] { Button2Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(displayTime);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(14, 12, 14, 12);
    root->setSpacing(6);
    root->addWidget(heading);
    root->addSpacing(4);
    root->addWidget(values);
    root->addSpacing(4);
    root->addWidget(rule);
    root->addWidget(
        Note("Both Rover's onboard clocks were initiated at 11:58:55.816 January 01 2000.", this));
    root->addWidget(Note("Note: Spirit is MER-A or MER-2, Opportunity is MER-B or MER-1", this));
    root->addWidget(
        Note("Spirit landed on Mars in Gusev crater at (14.82 S, 184.85 W), 4:35 UTC "
             "on Jan. 4, 2004, bouncing 28 times before rolling and coming to rest.",
             this));
    root->addWidget(
        Note("Opportunity landed on Mars at Meridiani Planum at (2.07 S, 6.08 W), "
             "5:05 UTC on Jan. 25, 2004, bouncing 27 times before rolling and coming "
             "to rest.",
             this));
    root->addStretch(1);
    root->addLayout(buttons);
}

QLabel* EarthTimePage::AddRow(QGridLayout& grid, const char* caption, const char* controlName,
                              const char* text) {
    return AddValueRow(grid, caption, controlName, text, QColor(0, 0, 0x80));
}

DateTime EarthTimePage::SystemUtcNow() {
    return static_cast<double>(kUnixEpochDays) +
           static_cast<double>(QDateTime::currentMSecsSinceEpoch()) /
               static_cast<double>(kMsPerDay);
}

QLabel* EarthTimePage::Value(const char* controlName) const {
    return findChild<QLabel*>(controlName);
}

void EarthTimePage::ShowDecoded(const DecodeState& state) {
    // The clock comes before the local time conversion, so even a decode that stopped there
    // had shown it.
    clockText_ = state.panel.clock;
    clockSeconds_ = state.product.ClockSeconds;
    SetTimeZoneName(state.panel.timeZone);
    if (state.failure.empty()) Value("Label13")->setText(Q(state.panel.localTime));
}

void EarthTimePage::SetTimeZoneName(const std::string& name) {
    Value("Label15")->setText(Q(name));
}

void EarthTimePage::Button1Click() {
    hide();
}

void EarthTimePage::Button2Click() {
    const DateNames& names = platform_.dateNames;
    const EarthPageValues v = ComputeEarthPageValues(clockText_, clockSeconds_, names);
    const std::pair<const char*, const std::string*> shown[] = {
        {"Label41", &v.clock},
        {"Label43", &v.minutes},
        {"Label45", &v.seconds},
        {"Label47", &v.minutesInSeconds},
        {"Label49", &v.hours},
        {"Label51", &v.hoursInMinutes},
        {"Label53", &v.remainderMinutes},
        {"Label55", &v.days},
        {"Label57", &v.daysInHours},
        {"Label59", &v.remainderHours},
        {"Label61", &v.elapsed},
        {"Label5", &v.captureUtc},
    };
    for (const auto& [control, text] : shown) Value(control)->setText(Q(*text));
    imageTimeUtc_ = v.imageTimeUtc;

    // A snapshot of the present; the page does not tick.
    const DateTime nowUtc = clock_();
    const LocalTimeResult local = UtcToLocal(nowUtc, platform_.timeZone, nullptr);
    Value("Label10")->setText(local.ok ? Q(FormatEarthTimeOf(local.local, names)) : Q(local.error));
    Value("Label11")->setText(Q(FormatEarthTimeOf(nowUtc, names)));
}

}  // namespace kobrix
