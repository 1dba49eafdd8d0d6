#include "tools/clipboard_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "browse/browsing_link.h"
#include "browse/file_operations.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "tools/core/lens.h"
#include "widgets/controls.h"
#include "widgets/picture_view.h"

namespace kobrix {

ClipboardWindow::ClipboardWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), platform_(platform) {
    setObjectName("ClipboardSeeUnit43");
    setWindowTitle("Kobrix Clipboard Viewer           Kobrix Clipboard");
    PaintBackground(*this, Qt::white);
    auto* root = new QVBoxLayout(this);
    view_ = new PictureView(this);
    view_->setObjectName("Image1");
    view_->setFixedSize(761, 505);
    view_->SetStretch(true);
    view_->SetProportional(true);
    view_->SetCenter(true);
    view_->setToolTip("Click to close");
    connect(view_, &PictureView::clicked, this, [this] { hide(); });
    root->addWidget(view_);
    auto* row = new QHBoxLayout;
    QPushButton* save = PlainButton("SaveButton", "Save Clipboard Image as a File", this);
    jpeg_ = new QCheckBox("Save Clipboard images as JPEG and NOT Bitmap", this);
    jpeg_->setObjectName("JpegBox");
    QPushButton* close = PlainButton("CloseButton", "Close Clipboard Viewer", this);
    row->addWidget(save);
    row->addWidget(jpeg_);
    row->addStretch();
    row->addWidget(close);
    root->addLayout(row);
    connect(save, &QPushButton::clicked, this,
            [this] { RunGuarded(platform_.prompts, [this] { SaveClipboard(); }); });
    connect(close, &QPushButton::clicked, this, [this] { hide(); });
}

void ClipboardWindow::ShowClipboard() {
    const QImage picture = platform_.desktop.ClipboardImage();
    if (picture.isNull()) {
        platform_.desktop.Beep();  // the previous picture stays
    } else {
        view_->SetImage(picture);
    }
    show();
    raise();
}

QString ClipboardWindow::ProposedName() const {
    if (link_ == nullptr) return {};
    const std::string directory = WithTrailingSeparator(link_->Tree().ClipboardDirectory);
    const DecodeState& decoded = link_->Decoded();
    const DecodedPanel& panel = decoded.panel;
    return QString::fromStdString(
        directory +
        ClipboardSaveName(panel.roverName, decoded.product.CameraLetter, panel.sol,
                          panel.elapsedHours, panel.elapsedMinutes, [&](const std::string& name) {
                              // A number is free only when neither save can land on it: the
                              // bitmap under the name, the JPEG beside it.
                              const std::string jpeg = name.substr(0, name.rfind('.')) + ".jpg";
                              return PathExists(directory + name) || PathExists(directory + jpeg);
                          }));
}

void ClipboardWindow::SaveClipboard() {
    const FileChoice choice = platform_.prompts.SavePicture("Save Clipboard Image as a File",
                                                            QStringList(), 0, ProposedName());
    if (!choice.accepted) return;
    const QImage picture = platform_.desktop.ClipboardImage();
    if (picture.isNull()) {
        platform_.prompts.Message(" The Clipboard was empty, there was nothing to save.");
        return;
    }
    view_->SetImage(picture);
    const Bitmap24 bitmap = BitmapFromImage(picture);
    // The box promises a JPEG, and gets one (at quality 100, ".jpg").
    if (jpeg_->isChecked()) {
        const QFileInfo chosen(choice.path);
        WriteJpegFile(bitmap,
                      chosen.dir().filePath(chosen.completeBaseName() + ".jpg").toStdString());
    } else {
        WriteBmpFile(bitmap, choice.path.toStdString());
    }
}

}  // namespace kobrix
