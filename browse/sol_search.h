#pragma once

#include <string>
#include <string_view>

#include "browse/browse_texts.h"

namespace kobrix {

class Browser;

// The sol searcher's check boxes and sol box as a step reads them.
struct SolSearchControls {
    bool opportunity = true;
    bool spirit = false;
    std::string cameraLetter = "F";  // of the checked camera box; empty when none is checked
    std::string solText = "100";
};

// What the window shows of a search, as the latest step or button left it.
struct SolSearchView {
    std::string status;  // the status line
    bool statusVisible = false;
    bool findAtNasaVisible = false;  // the "Find at NASA" button and its note
    bool resultsVisible = false;     // "STOP search" and the Searching / Found values
    std::string searchingRover, searchingCamera, searchingSol;
    std::string foundRover, foundCamera, foundSol;
};

struct SolStepResult {
    enum class Outcome { Moved, Found, Passed, Refused };
    Outcome outcome = Outcome::Moved;
    int matchLevel = 0;  // the level the step reached
    bool stopTimer = false;
    bool startTimer = false;  // set by Search only
    bool reachedEnd = false;  // the step's display pass had nothing more to show
    bool beep = false;
    std::string warning;     // a refused step: why
    std::string solBoxText;  // when not empty, the sol box shows it ("Descent")
};

// The sol and camera search: walks the main window's file list forward, one display pass a
// step, until an image of the chosen rover and camera was taken on the chosen sol or after it.
class SolSearch {
  public:
    static constexpr int kNothing = 0;
    static constexpr int kRover = 1;
    static constexpr int kRoverAndCamera = 2;
    static constexpr int kFinished = 3;

    // "SOL / Camera Search Tool": rover 1, camera "F", sol 100.
    void ResetSearchValues();
    // "Opportunity" checked.
    void ResetMatchLevel() { matchLevel_ = kNothing; }

    // "Search for SOL": one step, then the search values are shown and the timer starts,
    // unless the step refused the controls.
    SolStepResult Search(Browser& browser, const SolSearchControls& controls);
    // One step of the timer.
    SolStepResult Step(Browser& browser, const SolSearchControls& controls);
    // "Find at NASA": the gallery page of the shown search sol and the search camera.
    GalleryAddress FindAtNasaAddress();

    int SearchRover() const { return searchRover_; }
    const std::string& SearchCamera() const { return searchCamera_; }
    int SearchSol() const { return searchSol_; }
    int CurrentRover() const { return currentRover_; }
    const SolSearchView& View() const { return view_; }

    // The refusal of a sol box that does not hold a whole number.
    static std::string NotASolText(std::string_view solText);

  private:
    int searchRover_ = 1;
    std::string searchCamera_ = "F";
    int searchSol_ = 100;
    int matchLevel_ = kNothing;
    int currentRover_ = 0;
    std::string galleryBase_;
    SolSearchView view_;
};

}  // namespace kobrix
