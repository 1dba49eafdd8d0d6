#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QWidget;

namespace kobrix {

class UnattendedDesktop;
class Windows;

// Where the sample pictures that come with the program are: beside the program in a build
// tree, or in the installed data directory. Empty when neither holds them.
QString BundledSamplesDirectory();

// Makes `home` a program directory to show the windows at work in: its working tree, and the
// pictures of `samples` both in `home` itself and in its image directory. False when a
// directory cannot be made or a picture cannot be copied.
bool PrepareGalleryHome(const QString& samples, const QString& home);

// Puts each window to work on the sample pictures as a user would meet it: the main window
// with a picture chosen, the stereo viewer and the anaglyph maker with the sample pair, the
// colour tool with a composite of the three filters, the sunset half-way, the magnifier with
// its lens over a picture, the clipboard tool with the magnifier's capture, the tagging tool
// with a placed tag, the AVI tool with its frames and a movie made of them, the large player
// in the middle of that movie, and so on. The windows must have been started in a directory
// made by PrepareGalleryHome, on `desktop`.
class WindowGallery {
  public:
    WindowGallery(Windows& windows, UnattendedDesktop& desktop);

    // Sets `window` up and shows it. Returns the picture when the window had to be caught in
    // a state that does not last (the fade half-way), else a null image.
    QImage Stage(QWidget& window);
    // Stops what the scene of `window` left running.
    void Finish(QWidget& window);

    // The picture every scene that needs one shows in the main window first.
    static constexpr const char* kPicture = "2P241328935EFFAUCTP2582L5M1.jpg";
    static constexpr const char* kPairLeft = "2P241329012EFFAUCTP2581L2M1.jpg";

  private:
    void Choose(const QString& name);
    void MakeMovie();
    QImage FadeHalfWay();

    Windows& windows_;
    UnattendedDesktop& desktop_;
    QString home_;
    QStringList samples_;
    bool autoshow_ = false;  // the stereo autoshow option before the manual selection
};

}  // namespace kobrix
