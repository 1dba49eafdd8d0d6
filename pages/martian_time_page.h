#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <string>

#include "decode/product_name.h"
#include "decode/time_page_values.h"
#include "platform/platform.h"

class QGridLayout;
class QLabel;
class QShowEvent;

namespace kobrix {

// "Martian Time page": the Martian times of the image last decoded. Every decode runs the
// page's computation (Martian Time Go, Button2Click) whether the page is shown or not; the
// menu item only shows it. Kept on top of other windows, centred on the desktop when it first
// opens. Value labels carry their control names: Label6 rover, Label8 landing time, Label63,
// Label61, Label59, Label57 sols and remainders, Label14 to Label17 the whole units, Label47
// the local solar time of capture.
class MartianTimePage : public QWidget {
    Q_OBJECT
  public:
    explicit MartianTimePage(Platform& platform, QWidget* parent = nullptr);

    // Takes the rover number the panel showed and both rovers' seconds from landing, and
    // runs the computation.
    void ShowDecoded(const DecodeState& state);

    void Button1Click();  // Close
    void Button2Click();  // Martian Time Go: works out and shows the values of the last input

    const MartianPageValues& Values() const { return values_; }
    QLabel* Value(const char* controlName) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* AddRow(QGridLayout& grid, const char* caption, const char* controlName);
    QLabel* AddGroupHeading(QGridLayout& grid, const char* text);

    Platform& platform_;
    std::string shownRoverNumber_;
    std::array<std::int32_t, 2> secondsFromLanding_{};
    MartianPageValues values_;
    bool centred_ = false;
};

}  // namespace kobrix
