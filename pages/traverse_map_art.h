#pragma once

#include <QImage>
#include <QSize>

namespace kobrix {

enum class TraverseRover { Spirit, Opportunity };

// The map stored with each traverse-map viewer: the rover's route through its main
// landmarks (their published positions, rounded, in kilometres from the landing site), with
// the sols it reached them, a scale bar and north. A sketch, not a survey.
QImage DrawTraverseMap(TraverseRover rover, QSize size = QSize(800, 600));

}  // namespace kobrix
