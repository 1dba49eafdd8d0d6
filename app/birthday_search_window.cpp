#include "app/birthday_search_window.h"

#include "widgets/controls.h"

#include <QCalendarWidget>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_window.h"

namespace kobrix {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ShortDate(int year, int month, int day) {
    return QLocale().toString(QDate(year, month, day), QLocale::ShortFormat).toStdString();
}

}  // namespace

BirthdaySearchWindow::BirthdaySearchWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform), search_(ShortDate) {
    setObjectName("BirthdayUnit200724");
    setWindowTitle("My Birthday Searcher");
    PaintBackground(*this, Qt::yellow);

    auto* prompt = NamedLabel("Label1", "Select the Month of your Birth", this);
    months_ = new QListWidget(this);
    months_->setObjectName("ListBox1");
    for (const char* name : BirthdaySearch::MonthNames()) months_->addItem(name);
    months_->setMaximumWidth(150);
    connect(months_, &QListWidget::currentRowChanged, this, &BirthdaySearchWindow::ListBox1Click);
    auto* monthColumn = new QVBoxLayout;
    monthColumn->addWidget(prompt);
    monthColumn->addWidget(months_, 1);

    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName("MonthCalendar1");
    calendar_->setAutoFillBackground(true);
    // The window keeps its shape while the calendar waits for a month.
    QSizePolicy keep = calendar_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    calendar_->setSizePolicy(keep);
    connect(calendar_, &QCalendarWidget::selectionChanged, this,
            &BirthdaySearchWindow::MonthCalendar1Change);

    auto* top = new QHBoxLayout;
    top->addLayout(monthColumn);
    top->addWidget(calendar_, 1);

    // "Searching 2004 For images taken on, August 25"
    monthCaption_ = NamedLabel("Label2", QString(), this);
    monthCaption_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    monthCaption_->setMinimumWidth(90);
    dayCaption_ = NamedLabel("Label3", QString(), this);
    yearCaption_ = NamedLabel("Label4", QString(), this);
    auto* searching = new QHBoxLayout;
    searching->addWidget(NamedLabel("Label5", "Searching", this));
    searching->addWidget(yearCaption_);
    searching->addWidget(NamedLabel("Label6", "For images taken on,", this));
    searching->addWidget(monthCaption_);
    searching->addWidget(dayCaption_);
    searching->addStretch(1);

    cameraCaption_ = NamedLabel("Label7", QString(), this);
    message_ = NamedLabel("Label8", QString(), this);
    MakeBold(*message_);
    date1_ = NamedLabel("Label9", QString(), this);
    date2_ = NamedLabel("Label10", QString(), this);
    // Room for any short date and for the caption of a year without the day.
    const int dateWidth = date1_->fontMetrics().horizontalAdvance(
        QString::fromStdString(BirthdaySearch::NotInYearText(9, 29, 2000)) + "  ");
    date1_->setMinimumWidth(dateWidth);
    date2_->setMinimumWidth(dateWidth);
    auto* dates = new QHBoxLayout;
    dates->addWidget(date1_);
    dates->addSpacing(20);
    dates->addWidget(date2_);
    dates->addStretch(1);

    auto* search = PlainButton("Button1", "Search for My Birthday", this);
    search->setDefault(true);
    auto* stop = PlainButton("Button2", "STOP", this);
    auto* close = PlainButton("Button3", "Close", this);
    continue_ = PlainButton("Button4", "Continue searching for more Birthday images.", this);
    connect(search, &QPushButton::clicked, this, &BirthdaySearchWindow::Button1Click);
    connect(stop, &QPushButton::clicked, this, &BirthdaySearchWindow::Button2Click);
    connect(close, &QPushButton::clicked, this, &BirthdaySearchWindow::Button3Click);
    connect(continue_, &QPushButton::clicked, this, &BirthdaySearchWindow::Button4Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(search);
    buttons->addWidget(stop);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(searching);
    layout->addWidget(cameraCaption_);
    layout->addWidget(message_);
    layout->addLayout(dates);
    layout->addLayout(buttons);
    layout->addWidget(continue_, 0, Qt::AlignLeft);

    timer1_.setInterval(1);
    connect(&timer1_, &QTimer::timeout, this, &BirthdaySearchWindow::Timer1Timer);
    ShowView();
}

void BirthdaySearchWindow::OpenFromMenu() {
    search_.ResetYear();
    show();
    raise();
    activateWindow();
}

void BirthdaySearchWindow::StopTimer() {
    timer1_.stop();
    if (stepping_) stoppedDuringStep_ = true;
}

void BirthdaySearchWindow::ListBox1Click(int row) {
    search_.ChooseMonth(row + 1);
    ShowView();
}

void BirthdaySearchWindow::MonthCalendar1Change() {
    search_.ChooseDay(calendar_->selectedDate().day());
    ShowView();
}

void BirthdaySearchWindow::Button1Click() {
    timer1_.start();
}

void BirthdaySearchWindow::Button2Click() {
    timer1_.stop();
}

void BirthdaySearchWindow::Button3Click() {
    timer1_.stop();
    hide();
}

void BirthdaySearchWindow::Timer1Timer() {
    // A message box of the display pass lets further timer events in; they wait for this step.
    if (!main_ || stepping_) return;
    stepping_ = true;
    BirthdayStepResult result;
    bool completed = false;
    main_->Drive([&] {
        result = search_.Step(main_->GetBrowser());
        completed = true;
    });
    stepping_ = false;
    // A step that failed would fail again every millisecond.
    if (result.stopTimer || !completed) timer1_.stop();
    ShowView();
    if (result.beep) platform_.desktop.Beep();
    if (!result.warning.empty()) platform_.prompts.Warning(Q(result.warning));
}

void BirthdaySearchWindow::Button4Click() {
    if (!main_ || stepping_) return;
    stepping_ = true;
    stoppedDuringStep_ = false;
    bool completed = false;
    main_->Drive([&] {
        search_.Continue(main_->GetBrowser());
        completed = true;
    });
    stepping_ = false;
    // The end of the directory may have stopped the search on the way.
    if (completed && !stoppedDuringStep_) timer1_.start();
    ShowView();
}

void BirthdaySearchWindow::ShowView() {
    const BirthdaySearchView& view = search_.View();
    monthCaption_->setText(Q(view.monthCaption));
    dayCaption_->setText(Q(view.dayCaption));
    yearCaption_->setText(Q(view.yearCaption));
    cameraCaption_->setText(Q(view.cameraCaption));
    message_->setText(Q(view.message));
    date1_->setText(Q(view.date1));
    date2_->setText(Q(view.date2));
    calendar_->setVisible(view.calendarVisible);
    continue_->setVisible(view.continueVisible);
    GrowToFit(*this);
}

}  // namespace kobrix
