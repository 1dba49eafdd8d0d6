#pragma once

#include <QWidget>

#include "platform/platform.h"

class QLabel;
class QPlainTextEdit;

namespace kobrix {

// A read-only page of fixed text, lime on black in a scrolling box, with one button, "Close"
// (Button1), that hides it. The box is Memo1.
class InformationTextPage : public QWidget {
    Q_OBJECT
  public:
    void Button1Click();  // Close

    QPlainTextEdit* TextBox() const { return memo_; }
    QString Text() const;

  protected:
    // `heading` is shown above the box when it is not empty.
    InformationTextPage(Platform& platform, const char* objectName, const char* title,
                        const QString& heading, const QString& text, QWidget* parent);

  private:
    QPlainTextEdit* memo_ = nullptr;
};

// "Martian Calendar": the time units that the program's Martian times are counted in.
class MartianCalendarPage : public InformationTextPage {
    Q_OBJECT
  public:
    explicit MartianCalendarPage(Platform& platform, QWidget* parent = nullptr);
    static QString HeadingText();
    static QString CalendarText();
};

// "Data Decoding Information": a chart of the product file name, position by position.
class DataDecodingPage : public InformationTextPage {
    Q_OBJECT
  public:
    explicit DataDecodingPage(Platform& platform, QWidget* parent = nullptr);
    static QString ChartText();
};

}  // namespace kobrix
