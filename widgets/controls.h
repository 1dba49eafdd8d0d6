#pragma once

#include <QColor>
#include <QString>
#include <functional>

class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QSize;
class QWidget;

namespace kobrix {

class Prompts;

// Small builders the windows share. Every label they make shows its text as plain text, so a
// file name such as "2P<b>1.jpg" is shown as it is spelled and never pulls in markup or images.
QLabel* PlainLabel(const QString& text, QWidget* parent);
QLabel* PlainLabel(QWidget* parent);
QLabel* NamedLabel(const char* objectName, const QString& text, QWidget* parent);
QPushButton* NamedButton(const char* objectName, const QString& text, QWidget* parent,
                         const QString& hint = QString());
// A button that Return does not press unless it is the window's default one.
QPushButton* PlainButton(const char* objectName, const QString& text, QWidget* parent);
// Bold or italic text that still follows the parent's font family and size, so that a later
// change of the window's font (the screen fit) reaches it.
void MakeBold(QWidget& widget);
void MakeItalic(QWidget& widget);
// The colour of a control's text, by its palette; an invalid colour goes back to the parent's.
// A check box or radio button takes it for its caption only; its mark keeps its own colour.
void SetTextColour(QWidget& widget, const QColor& colour);
// A window's size as it was designed, kept when the program sets its windows up (they are
// otherwise fitted to their contents); the screen fit still scales it.
void SetDesignSize(QWidget& window, const QSize& size);
bool HasDesignSize(const QWidget& window);
// Runs `choose` with the row when the list's current entry changes, by the mouse or the
// keyboard, and when the user clicks the entry that is already current.
void OnListChoice(QListWidget& list, const std::function<void(int row)>& choose);
// The window's background in one colour (white pages, the yellow searcher).
void PaintBackground(QWidget& window, const QColor& colour);
// A caption and its bold, selectable value label on the next row of `grid`; the value is
// returned. `captionColour`, when valid, colours the caption.
QLabel* AddValueRow(QGridLayout& grid, const QString& caption, const char* valueName,
                    const QString& text = QString(), const QColor& captionColour = QColor());
// An action the program runs but the user never presses: a hidden button `objectName` with
// `caption`, and a window action of the same caption, both running `run`.
QPushButton* AddHiddenAction(QWidget& window, const char* objectName, const QString& caption,
                             const std::function<void()>& run);
// Runs a control's action; an error it throws goes to the error box, as the program's default
// handler shows an error no handler caught.
void RunGuarded(Prompts& prompts, const std::function<void()>& action);
// Lays the window out now and makes it at least as large as its contents ask.
void GrowToFit(QWidget& window);

}  // namespace kobrix
