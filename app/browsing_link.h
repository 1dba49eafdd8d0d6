#pragma once

#include <QImage>
#include <QString>

#include "app/working_tree.h"

namespace kobrix {

// What the tool windows may ask of the main window and do to its browsing. The main window
// implements it; the tools never touch its controls.
class BrowsingLink {
  public:
    virtual ~BrowsingLink() = default;

    // The working directories as the latest check computed them.
    virtual const WorkingTree& Tree() const = 0;
    // The file list: its directory and selected entry (-1 for none).
    virtual QString ListDirectory() const = 0;
    virtual int ListSelection() const = 0;
    // Shows `directory` in the file list, as a choice in the directory list would.
    virtual void ShowListDirectory(const QString& directory) = 0;
    // Back to `directory` with entry `index` selected, and that entry displayed again.
    virtual void RestoreList(const QString& directory, int index) = 0;
    // The picture on display and the path of its file (empty before the first).
    virtual QImage DisplayedPicture() const = 0;
    virtual QString DisplayedPath() const = 0;
};

}  // namespace kobrix
