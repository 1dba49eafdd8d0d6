#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <vector>

#include "platform/platform.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kobrix {

// "Archive Label": the complete label of an archive file as text (PDS3 statements with their
// objects indented, PDS4 XML as it is) and a find box that marks every match and steps
// through them. Controls by object name: LabelFile the label's path, LabelText the text,
// LabelFind the find box, LabelPrevious and LabelNext the steps, LabelMatches "2 of 5".
class LabelWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LabelWindow(Platform& platform, QWidget* parent = nullptr);

    // Reads the label of `path` and shows it, or why the file has none; the find box keeps
    // its text and marks the matches in the new label.
    void ShowFile(const QString& path);
    // ShowFile, then the window itself raised.
    void Open(const QString& path);
    const QString& FilePath() const { return path_; }

    // Puts `text` into the find box; the matches are marked and the first becomes current.
    void SetFindText(const QString& text);
    void FindNext();
    void FindPrevious();

    // The text under each mark, in order, and the index of the current match (-1: none).
    QStringList MarkedTexts() const;
    int CurrentMatch() const { return current_; }
    // The text the text box holds.
    QString Text() const;

  private:
    void Mark();
    void ShowMarks();

    Platform& platform_;
    QString path_;
    QLabel* file_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLineEdit* find_ = nullptr;
    QLabel* matches_ = nullptr;
    std::vector<int> starts_;  // of each match in the text
    int length_ = 0;
    int current_ = -1;
};

}  // namespace kobrix
