#pragma once

#include <QImage>

#include "browse/browsing_link.h"

namespace kobrix {

// The browsing link of the tools that show or draw on the main window's picture.
class PictureLink : public BrowsingLink {
  public:
    // The picture on display, as the main window shows it.
    virtual QImage DisplayedPicture() const = 0;
};

}  // namespace kobrix
