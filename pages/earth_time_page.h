#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "decode/date_time.h"
#include "decode/product_name.h"
#include "platform/platform.h"

class QGridLayout;
class QLabel;

namespace kobrix {

// "Various Time Variables and Constants relative to Earth": how the capture time of the image
// last decoded follows from its spacecraft clock, with the present time beside it. The values
// are worked out by Display Time (Button2Click), which the main window runs before showing
// the page; the page does not tick. Value labels carry their control names (Label41 the
// clock, Label61 the elapsed sentence, Label5 the capture time in UTC, Label15 the time zone,
// Label13 the capture time in local time, Label10 and Label11 the present time).
class EarthTimePage : public QWidget {
    Q_OBJECT
  public:
    // The present instant in UTC; replaceable so that a test can fix it.
    using Clock = std::function<DateTime()>;

    explicit EarthTimePage(Platform& platform, QWidget* parent = nullptr);

    void SetClock(Clock clock) { clock_ = std::move(clock); }
    static DateTime SystemUtcNow();

    // Every decode hands over the clock text and seconds, the time zone name and the local
    // capture time. A decode that stopped at the local time conversion leaves the local
    // capture time of the one before.
    void ShowDecoded(const DecodeState& state);
    void SetTimeZoneName(const std::string& name);

    void Button1Click();  // Close
    void Button2Click();  // Display Time

    // The capture instant worked out by the last Display Time.
    DateTime ImageTimeUtc() const { return imageTimeUtc_; }
    QLabel* Value(const char* controlName) const;

  private:
    QLabel* AddRow(QGridLayout& grid, const char* caption, const char* controlName,
                   const char* text = "");

    Platform& platform_;
    Clock clock_;
    std::string clockText_;
    std::int32_t clockSeconds_ = 0;
    DateTime imageTimeUtc_ = 0;
};

}  // namespace kobrix
