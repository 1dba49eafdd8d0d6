#pragma once

class QScrollBar;
class QWidget;

namespace kobrix {

class PictureView;

// A square picture view of `side` pixels that shows its whole picture, centred.
PictureView* FittedSquareView(const char* objectName, int side, QWidget* parent);
// A horizontal bar from 0 to 100 in steps of 1 at `position`.
QScrollBar* PercentBar(const char* objectName, int position, int minimumWidth, QWidget* parent);

}  // namespace kobrix
