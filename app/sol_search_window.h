#pragma once

#include <QTimer>
#include <QWidget>
#include <array>

#include "browse/sol_search.h"
#include "platform/platform.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kobrix {

class MainWindow;

// "SOL searcher": walks the main window's file list until an image of the chosen rover and
// camera taken on the chosen sol is on display, or offers the gallery page when the sol is not
// in the directory. Controls by object name: Label1 the instruction line, CheckBox1
// "Opportunity", CheckBox2 "Spirit", CheckBox3 to CheckBox8 the cameras ("Fwd HAZCAM", "Rear
// HAZCAM", "NAVCAM", "PANCAM", "Microscopic", "Descent"), Edit1 the sol box, Button1 "Search
// for SOL", Button2 "STOP search", Button3 "Close", Button4 "Find at NASA" with its note Label3,
// Label2 the status line; the values under "Searching for MER", "Searching for Camera",
// "Searching for SOL" are Label7 to Label9, those under "Found MER", "Found Camera", "Found SOL"
// Label13 to Label15.
class SolSearchWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SolSearchWindow(Platform& platform, QWidget* parent = nullptr);

    // The main window whose file list the search walks.
    void Attach(MainWindow& main) { main_ = &main; }

    // "SOL / Camera Search Tool": rover 1, camera "F", sol 100 for the search, then the window
    // shows (its controls keep what the user last set).
    void OpenFromMenu();
    // The end of the directory reached with looping off.
    void StopTimer();

    void Button1Click();  // Search for SOL
    void Button2Click();  // STOP search
    void Button3Click();  // Close
    void Button4Click();  // Find at NASA
    void Timer1Timer();   // one search step

    QTimer& SearchTimer() { return timer1_; }
    const SolSearch& Search() const { return search_; }

  private:
    QCheckBox* AddCheckBox(const char* objectName, const char* text, bool checked);
    void RoverClicked(QCheckBox* box, bool checked);
    void CameraClicked(QCheckBox* box, bool checked);
    SolSearchControls ReadControls() const;
    void RunStep(bool fromButton);
    void ShowView();

    Platform& platform_;
    MainWindow* main_ = nullptr;
    SolSearch search_;
    QCheckBox* opportunity_ = nullptr;
    QCheckBox* spirit_ = nullptr;
    std::array<QCheckBox*, 6> cameras_{};
    QLineEdit* solBox_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* findAtNasa_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* status_ = nullptr;
    QWidget* results_ = nullptr;
    std::array<QLabel*, 6> values_{};  // searching rover, camera, sol; found rover, camera, sol
    QTimer timer1_;
    bool stepping_ = false;
    bool stoppedDuringStep_ = false;
};

}  // namespace kobrix
