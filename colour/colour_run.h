#pragma once

#include <QString>

#include "colour/core/composite.h"
#include "platform/platform.h"

class QAction;

namespace kobrix {

class BrowsingLink;
class ColourProcessorWindow;
class ColourWindow;

// The main window's "Colour" button: puts the picture on display into its band of the colour
// window. In automatic mode ("Auto L4L5L6 RGB") a left-eye filter 4 picture brings in the
// filter 5 and 6 pictures that follow it in the file list, and the third band makes the
// composite; in manual mode the processor window asks for the band.
//
// Runs nest: the automatic stepping presses "Colour" again for the next two files from inside
// a run, and the busy and stepping flags keep those inner runs from stepping on their own.
class ColourRun {
  public:
    ColourRun(Platform& platform, BrowsingLink& link, ColourWindow& colour,
              ColourProcessorWindow& processor, QAction& autoOption, QAction& manualOption);

    void ColourButton();   // the main window's "Colour"
    void IdentifyBands();  // "FILTER BAND ID": picks the bands and loads them
    void LoadPicked(Band band);
    void Scan();  // the beep, and in automatic mode the stepping
    void Step();  // the next two files of the list, then back up
    // A straight combination: the run is over.
    void Combined();
    // The loaded check found three bands: the not-found message is not needed.
    void AllBandsLoaded();

    bool AutoMode() const;
    bool Busy() const { return busy_; }
    bool Stepping() const { return stepping_; }
    int Counter() const { return counter_; }
    const BandPicks& Picks() const { return picks_; }

  private:
    Platform& platform_;
    BrowsingLink& link_;
    ColourWindow& colour_;
    ColourProcessorWindow& processor_;
    QAction& autoOption_;
    QAction& manualOption_;
    BandPicks picks_;
    QString extension_;     // of the file selected when "Colour" was pressed
    QString selectedPath_;  // that file, for the manual dialogs
    bool busy_ = false;
    bool stepping_ = false;
    int counter_ = 0;
};

}  // namespace kobrix
