#pragma once

#include <string>

#include "browse/working_tree.h"
#include "decode/product_name.h"

namespace kobrix {

// What the tool windows may ask of the main window and do to its browsing. The main window
// implements it; the tools never touch its controls. Paths are the file list's own (UTF-8);
// the picture on display is a window's business (PictureLink, beside the picture control).
class BrowsingLink {
  public:
    virtual ~BrowsingLink() = default;

    // The working directories as the latest check computed them.
    virtual const WorkingTree& Tree() const = 0;
    // The file list: its directory and selected entry (-1 for none).
    virtual std::string ListDirectory() const = 0;
    virtual int ListSelection() const = 0;
    // The full path of the selected entry (empty for none).
    virtual std::string SelectedPath() const = 0;
    // Shows `directory` in the file list, as a choice in the directory list would.
    virtual void ShowListDirectory(const std::string& directory) = 0;
    // Back to `directory` with entry `index` selected, and that entry displayed again.
    virtual void RestoreList(const std::string& directory, int index) = 0;
    // The path of the picture on display (empty before the first).
    virtual std::string DisplayedPath() const = 0;
    // The decode of the file on display: the record and the panel's texts.
    virtual const DecodeState& Decoded() const = 0;
    // Reads and decodes the selected file again and displays it (the "Image" action).
    virtual void DisplayCurrent() = 0;
    // Stops the slideshow timer and moves the selection `delta` entries, without displaying.
    virtual void StepList(int delta) = 0;
    // The slideshow switch, its menu mark and timer, on or off.
    virtual void SetSlideshow(bool on) = 0;
    // The "User Tag" switch: while on, new pictures keep the user's tag font.
    virtual bool UserTag() const = 0;
    virtual void SetUserTag(bool on) = 0;
    // Selects entry `index` of the file list without displaying it.
    virtual void SelectListEntry(int index) = 0;
    // Hides the lists laid over the file list (the multi-select copy list).
    virtual void HideAuxiliaryLists() = 0;
    // The large image page's "Next Image" (delta 1) or "Previous Image" (-1).
    virtual void StepImage(int delta) = 0;
    // The character set (by its code) of the capture-time displays in UTC and local time.
    virtual void SetCaptureTimeCharset(int code) = 0;
};

}  // namespace kobrix
