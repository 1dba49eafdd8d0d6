#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

namespace kobrix {

// Result of an open or save picture dialog.
struct FileChoice {
    bool accepted = false;
    QString path;
    int filterIndex = 0;  // 1-based, as the dialog's type list counts
};

struct FontChoice {
    bool accepted = false;
    QFont font;
    QColor colour;
};

// Every modal question and message of the program. Windows never open a dialog of their
// own: the Qt implementation shows real boxes, the tests' fake records them and answers from
// a script.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // Information box with OK ("Image saved to clipboard!").
    virtual void Information(const QString& text) = 0;
    // Warning box with OK (load problems).
    virtual void Warning(const QString& text) = 0;
    // Plain message box with OK (echoes, "Screen Resolution 1024 x 768").
    virtual void Message(const QString& text) = 0;
    // The application's default error box, for errors a handler does not catch.
    virtual void Error(const QString& text) = 0;
    // Plain box with "Yes" and "Cancel"; true for Yes.
    virtual bool YesCancel(const QString& text) = 0;

    // Picture dialogs. `filters` are the type list entries in order ("Bitmaps (*.bmp)");
    // `selectedFilter` is 1-based; `initial` is a directory or a proposed file name.
    virtual FileChoice OpenPicture(const QString& title, const QStringList& filters,
                                   int selectedFilter, const QString& initial) = 0;
    virtual FileChoice SavePicture(const QString& title, const QStringList& filters,
                                   int selectedFilter, const QString& initial) = 0;

    virtual QColor ChooseColour(const QColor& initial) = 0;  // invalid colour on Cancel
    virtual FontChoice ChooseFont(const QFont& initial, const QColor& colour) = 0;
    // Shows the print dialog; true when the user confirmed and `printer` is set up.
    virtual bool ChoosePrinter(QPrinter& printer) = 0;
};

}  // namespace kobrix
