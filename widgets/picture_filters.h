#pragma once

#include <QStringList>

namespace kobrix {

// The type list of the dialogs that open pictures: the program's own types, and the planetary
// archive's files (".IMG", a detached ".LBL", a PDS4 ".xml" label), named in both letter cases
// since the dialog matches them as written. Saving offers the program's own types only.
inline QStringList OpenPictureFilters() {
    return {"All (*.jpg;*.jpeg;*.bmp;*.IMG;*.img;*.LBL;*.lbl;*.xml)", "JPEG Image File (*.jpg)",
            "JPEG Image File (*.jpeg)", "Bitmaps (*.bmp)",
            "Planetary archive (*.IMG;*.img;*.LBL;*.lbl;*.xml)"};
}

}  // namespace kobrix
