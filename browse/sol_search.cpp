#include "browse/sol_search.h"

#include <optional>

#include "browse/browser.h"

namespace kobrix {
namespace {

constexpr const char* kDescentLetter = "E";
constexpr const char* kInvalidRover = "Invalid File Name X Value";

}  // namespace

void SolSearch::ResetSearchValues() {
    searchRover_ = 1;
    searchCamera_ = "F";
    searchSol_ = 100;
}

std::string SolSearch::NotASolText(std::string_view solText) {
    return "The SOL box must hold a whole number, not '" + std::string(solText) +
           "'. Enter the SOL number and search again.";
}

SolStepResult SolSearch::Step(Browser& browser, const SolSearchControls& controls) {
    SolStepResult result;
    const bool descent = controls.cameraLetter == kDescentLetter;

    // 1. The controls. A sol that cannot be read ends the search before anything changes.
    const std::optional<int> sol =
        descent ? std::optional<int>(1) : ParseWholeNumber(controls.solText);
    if (!sol) {
        result.outcome = SolStepResult::Outcome::Refused;
        result.stopTimer = true;
        result.warning = NotASolText(controls.solText);
        return result;
    }
    if (controls.opportunity) {
        searchRover_ = 1;
    } else if (controls.spirit) {
        searchRover_ = 2;
    }
    if (!controls.cameraLetter.empty()) searchCamera_ = controls.cameraLetter;
    searchSol_ = *sol;
    if (descent) result.solBoxText = "1";

    // 2. The image on display.
    const DecodeState& decoded = browser.Decoded();
    view_.foundRover = decoded.product.RoverDigit;
    view_.foundCamera = decoded.product.CameraLetter;
    view_.foundSol = decoded.panel.sol;

    // 3. Its rover. A name without a rover number starts the search over from the top, and
    // the rover of an earlier image must not stand in for it.
    const std::optional<int> rover = ParseWholeNumber(decoded.product.RoverDigit);
    if (rover) {
        currentRover_ = *rover;
    } else {
        view_.status = kInvalidRover;
        browser.Files().Select(0);
    }

    // 4-7. How far it matches.
    if (rover && (currentRover_ == 1 || currentRover_ == 2) && currentRover_ == searchRover_) {
        matchLevel_ = kRover;
    }
    if (matchLevel_ == kRover && decoded.product.CameraLetter == searchCamera_) {
        matchLevel_ = kRoverAndCamera;
    }
    const int shownSol = decoded.times.SolNumber;
    if (matchLevel_ == kRoverAndCamera && shownSol == searchSol_) {
        matchLevel_ = kFinished;
        result.outcome = SolStepResult::Outcome::Found;
        view_.statusVisible = true;
        view_.status = "SOL " + std::to_string(searchSol_) + " images FOUND!";
    }
    if (matchLevel_ == kRoverAndCamera && shownSol > searchSol_) {
        matchLevel_ = kFinished;
        result.outcome = SolStepResult::Outcome::Passed;
        view_.statusVisible = true;
        view_.status = "CLICK the Find at NASA button above. SOL " + std::to_string(searchSol_) +
                       " images not present in your directory";
        view_.findAtNasaVisible = true;
        result.beep = true;
    }

    // 8. Stop, or on to the next image.
    if (matchLevel_ == kFinished) {
        result.stopTimer = true;
    } else {
        browser.Files().MoveNext();
        browser.Image();
        // A list without pictures would warn at every step, with no way left to reach "STOP
        // search"; one that ends in other files would start over from the top.
        if (browser.PassReachedEnd()) result.stopTimer = result.reachedEnd = true;
    }

    // 9.
    result.matchLevel = matchLevel_;
    matchLevel_ = kNothing;
    return result;
}

SolStepResult SolSearch::Search(Browser& browser, const SolSearchControls& controls) {
    SolStepResult result = Step(browser, controls);
    if (result.outcome == SolStepResult::Outcome::Refused) return result;
    view_.resultsVisible = true;
    view_.statusVisible = false;
    view_.findAtNasaVisible = false;
    view_.searchingRover = std::to_string(searchRover_);
    view_.searchingCamera = searchCamera_;
    view_.searchingSol = std::to_string(searchSol_);
    // The timer runs on unless the list has nothing more to show (see Step).
    result.startTimer = !result.reachedEnd;
    result.stopTimer = !result.startTimer;
    return result;
}

GalleryAddress SolSearch::FindAtNasaAddress() {
    if (std::optional<std::string> base = GalleryBaseFor(std::to_string(searchRover_))) {
        galleryBase_ = *base;
    }
    return GalleryPageAddress(galleryBase_, searchCamera_, view_.searchingSol);
}

}  // namespace kobrix
