#pragma once

#include <QImage>
#include <QWidget>

#include "decode/product_name.h"
#include "platform/platform.h"

class QGridLayout;
class QLabel;
class QPushButton;

namespace kobrix {

class Bitmap24;
class PictureView;

// "Large Size Image Display Page": the current picture, large, with the decoded values of its
// name and its own browsing buttons. The page only reports its buttons; the main window does
// the browsing. Buttons by object name: Button1 "Close", Button2 "Print", Button3 "Previous
// Image", Button4 "Next Image", Button5 "Slideshow Start/Stop".
class LargeImagePage : public QWidget {
    Q_OBJECT
  public:
    explicit LargeImagePage(Platform& platform, QWidget* parent = nullptr);

    // Copies the decoded texts into the value labels. A decode that stopped at the local time
    // conversion had only shown the time zone and the Martian local time, so only those two
    // are copied then.
    void ShowDecoded(const DecodeState& state);

    void SetPicture(const Bitmap24& bitmap);
    void SetImage(const QImage& image);
    PictureView* Picture() const { return picture_; }
    void SetStretch(bool on);

    // Whether the page's slideshow button last switched the slideshow on. The button inverts
    // it before slideshowClicked() is emitted; the main window may reset it.
    bool SlideshowFlag() const { return slideshowFlag_; }
    void SetSlideshowFlag(bool on) { slideshowFlag_ = on; }

    QLabel* Value(const char* controlName) const;

  signals:
    void closeClicked();  // the page hides itself after this
    void printClicked();
    void previousClicked();
    void nextClicked();
    void slideshowClicked();
    void pictureClicked();  // a left click on the picture

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* BuildFields();
    void AddHeading(QGridLayout& grid, const char* text);
    QLabel* AddRow(QGridLayout& grid, const char* caption, const char* controlName,
                   const char* placeholder = "");
    QPushButton* AddButton(const char* objectName, const char* text);

    Platform& platform_;
    QWidget* pictureBox_ = nullptr;  // the picture and its credit line
    PictureView* picture_ = nullptr;
    bool slideshowFlag_ = false;
    bool centred_ = false;
};

}  // namespace kobrix
