#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kobrix {

// Scheduling priority of the user-interface thread, by the six levels the program offers.
enum class UiPriority { Idle, Lowest, Lower, Normal, Higher, Highest };

// The desktop services the program uses besides dialogs.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // Opens a web page in the default browser; false when there is none or the address is not
    // a web or mail address.
    virtual bool OpenUrl(const QString& url) = 0;
    // Opens a file in the desktop's text editor; false when the file does not exist or no
    // editor took it (desktop handlers do not report a missing file themselves).
    virtual bool OpenInTextEditor(const QString& path) = 0;
    // Starts a program without parameters; a missing program is silently ignored. Returns
    // whether it was started.
    virtual bool StartProgram(const QString& path) = 0;
    virtual void Beep() = 0;

    virtual QImage ClipboardImage() = 0;
    virtual void SetClipboardImage(const QImage& image) = 0;

    virtual QSize ScreenSize() = 0;
    virtual int PixelsPerInch() = 0;  // horizontal logical pixels per inch

    // False when the system refused the level (raising it, or leaving the idle level, needs a
    // privilege on some systems); the thread then keeps the priority it had and `why`, when
    // given, gets the system's reason.
    virtual bool SetUiPriority(UiPriority priority, QString* why = nullptr) = 0;
    // Adds a font file for this session; false when it could not be added.
    virtual bool AddFontFile(const QString& path) = 0;
    virtual QString DefaultLanguage() = 0;  // e.g. "en_GB"

    // A blocking pause that keeps the interface alive; tests make it instant.
    virtual void Wait(int milliseconds) = 0;

    // Ends the program. Returns to the caller, which should return at once.
    virtual void EndProgram() = 0;
};

}  // namespace kobrix
