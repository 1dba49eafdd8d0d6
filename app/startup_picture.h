#pragma once

#include <QImage>

namespace kobrix {

// The picture the main window shows before the first image: a red planet over a dark sky.
QImage StartupPicture(int width = 361, int height = 363);

}  // namespace kobrix
