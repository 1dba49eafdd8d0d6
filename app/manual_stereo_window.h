#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "browse/stereo_pair.h"
#include "platform/platform.h"

class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace kobrix {

class PictureView;

// "Manual Stereo Viewing Filter Selection": the image on display at the top, and two areas
// below in which the user locks a left-eye and a right-eye image when the names do not pair
// up. The window reports its navigation and "View in Stereo"; the main window browses and
// fills the stereo viewer. Buttons by object name: Button1 "Close", Button2 "View in Stereo",
// Button3 "Prev.", Button4 "Next", Button5 "Lock Image".
class ManualStereoWindow : public QWidget {
    Q_OBJECT
  public:
    // The image on display, as the main window shows it.
    struct Current {
        QImage picture;
        std::string eye;
        std::string filter;
        std::string fileName;
        std::string earthTime;  // UTC, with " (UTC)"
        std::string rover;
        std::string sol;
        std::string camera;
    };

    explicit ManualStereoWindow(Platform& platform, QWidget* parent = nullptr);

    void ShowCurrent(const Current& current);
    const Current& CurrentImage() const { return current_; }
    // "Lock Image": the current image goes into the area of its eye; any other eye locks
    // nothing.
    void LockImage();

    const LockedEye& LeftEye() const { return left_; }
    const LockedEye& RightEye() const { return right_; }
    // "Thumbnails as Fullsize" for the three pictures.
    void SetStretch(bool on);
    const QImage& LeftPicture() const;
    const QImage& RightPicture() const;

  signals:
    void closeClicked();  // the window hides itself after this
    void viewInStereoClicked();
    void previousClicked();
    void nextClicked();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    struct LockedArea {
        PictureView* picture = nullptr;
        QLabel* filter = nullptr;
        QLabel* earthTime = nullptr;
        QLabel* fileName = nullptr;
    };
    QVBoxLayout* BuildLockedArea(const char* title, const char* prefix, LockedArea& area);
    static void ShowLocked(const LockedEye& eye, LockedArea& area);

    Platform& platform_;
    Current current_;
    LockedEye left_;
    LockedEye right_;
    LockedArea leftArea_;
    LockedArea rightArea_;
    PictureView* currentPicture_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QLabel* eye_ = nullptr;
    QLabel* filter_ = nullptr;
    QLabel* earthTime_ = nullptr;
    QLabel* rover_ = nullptr;
    QLabel* sol_ = nullptr;
    QLabel* camera_ = nullptr;
    bool centred_ = false;
};

}  // namespace kobrix
