#pragma once

#include "imaging/bitmap24.h"

namespace kobrix {

// What the main window asks of the image tagging tool: its tags on the main picture, the font
// fitted to each new picture, and the tool's part in the slideshow step.
class TagTool {
  public:
    virtual ~TagTool() = default;

    // The size preset for a picture of this width: origin, "Arial", yellow, the size.
    virtual void ApplySizePreset(int pictureWidth) = 0;
    // The size the tool draws with, in points.
    virtual int DrawingFontSize() const = 0;
    // "Tag": the picture into the tool, the automatic tag entered and placed; the tagged
    // picture comes back.
    virtual Bitmap24 TagPicture(const Bitmap24& picture) = 0;
    // The "Watermark Tool" menu item: the tool on the current picture.
    virtual void OpenFromMenu() = 0;
    // "User Tag" clicked: the tool shows the user's font choice and opens.
    virtual void UserTagClicked() = 0;

    // What the slideshow step reads, and what it runs with "AUTO" on.
    virtual bool SlideshowOn() const = 0;
    virtual bool AutoOn() const = 0;
    virtual bool EarthMinsSecsOn() const = 0;
    virtual void EnterAutoTagAndPlace() = 0;

    // What the AVI creation tool drives, frame by frame.
    virtual void LoadRefresh() = 0;
    virtual void BuildImageName() = 0;
    virtual void EnterAutoTag() = 0;
    virtual void PlaceText() = 0;
    virtual void SetAuto(bool on) = 0;
    virtual bool UserTextOnly() const = 0;
    virtual const Bitmap24& Picture() const = 0;
    virtual void ShowTool() = 0;
};

}  // namespace kobrix
