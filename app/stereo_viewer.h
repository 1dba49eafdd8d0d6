#pragma once

#include <QImage>
#include <QWidget>

#include "browse/stereo_pair.h"
#include "platform/platform.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kobrix {

class PictureView;

// "MER Images Stereo Viewer": a stereo pair side by side for cross-eyed viewing, the right
// eye's picture on the left. The viewer shows what it is given and reports its buttons; the
// main window does the browsing. Buttons by object name: Button1 "Close", Button2 "Print",
// Button3 "NEXT IMAGE", Button4 "PREVIOUS IMAGE", Button5 "Anaglyph This", Button6 "Manual
// Stereo", Button7 "Save as X-eyed". Pictures: Image1 (right eye), Image2 (left eye).
class StereoViewer : public QWidget {
    Q_OBJECT
  public:
    explicit StereoViewer(Platform& platform, QWidget* parent = nullptr);

    void ShowTexts(const StereoViewerTexts& texts);
    const StereoViewerTexts& Texts() const { return texts_; }
    void SetRightEyePicture(const QImage& image);
    void SetLeftEyePicture(const QImage& image);
    PictureView& RightEyeView() const { return *rightPicture_; }
    PictureView& LeftEyeView() const { return *leftPicture_; }
    void SetStretch(bool on);  // "Thumbnails as Fullsize" for both pictures
    QPushButton& PrintButton() const { return *print_; }
    QPushButton& AnaglyphButton() const { return *anaglyph_; }
    // The switch to the linearized products of an archive pair (LinearizedPair): shown only
    // while the pair on display has them; the choice is kept from pair to pair.
    void OfferLinearized(bool available);
    bool LinearizedChosen() const;

  signals:
    void closeClicked();  // the viewer hides itself after this
    void printClicked();
    void nextClicked();
    void previousClicked();
    void anaglyphClicked();
    void manualStereoClicked();
    void linearizedToggled(bool on);

  private:
    QPushButton* AddButton(const char* objectName, const char* text);
    QLabel* AddLabel(const char* objectName, const QString& text);

    Platform& platform_;
    StereoViewerTexts texts_;
    PictureView* rightPicture_ = nullptr;
    PictureView* leftPicture_ = nullptr;
    QLabel* rightName_ = nullptr;
    QLabel* leftName_ = nullptr;
    QLabel* rightFilter_ = nullptr;
    QLabel* leftFilter_ = nullptr;
    QLabel* rightTime_ = nullptr;
    QLabel* leftTime_ = nullptr;
    QLabel* rover_ = nullptr;
    QLabel* camera_ = nullptr;
    QLabel* sol_ = nullptr;
    QLabel* martianTime_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* anaglyph_ = nullptr;
    QCheckBox* linearized_ = nullptr;
};

}  // namespace kobrix
