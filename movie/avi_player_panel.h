#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "browse/file_list.h"
#include "movie/movie_player.h"
#include "platform/platform.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace kobrix {

class DirectoryBrowser;
class LargePlayerWindow;

// What the player half needs from the AVI creation tool around it.
struct AviPlayerHooks {
    std::function<QString()> frameDirectory;  // where "Mov2Source" puts a movie
    std::function<QString()> defaultOutput;   // the working tree's AVI output directory
    std::function<void(const QString&, const QColor&)> setStatus;
    std::function<void()> refreshFrames;  // the frame list and its counter
};

// The lower half of the AVI creation tool: the movies of the output directory with their
// frame sizes, played in the "AVI output" panel or in the large player, paused, stopped,
// looped and positioned; moved to the frame directory or deleted.
//
// Controls by object name: DriveComboBox2, DirectoryListBox2, OutputList (the plain file
// list, under the movie list), MovieList, AVIoutput (the panel), FramesBar, FramesLabel,
// LoopAVI, DeleteMovie; the other buttons by their captions.
class AviPlayerPanel : public QWidget {
    Q_OBJECT
  public:
    AviPlayerPanel(Platform& platform, AviPlayerHooks hooks, QWidget* parent = nullptr);
    ~AviPlayerPanel() override;

    QString OutputDirectory() const;  // with a trailing separator
    void ChooseOutputDirectory(const QString& directory);
    // Points the output directory box and lists back at the working tree's AVI output
    // directory.
    void ShowDefaultOutput();
    // Refills the output file list and the movie list from the output directory.
    void RefreshMovieList();
    void MovieSelected(int row);
    void ShowSizeHint();  // the hint timer's tick
    void PlayAvi();
    void PlayLargeAvi();
    void PauseOrContinue();
    void StopMovie();
    void TrackBarMoved(int position);
    void LoopStep();  // the loop timer's tick
    void FlashFirstFrame();
    void MoveToSource();
    void DeleteMovie();
    void LargePlayerClicked();
    void LargePlayerClosed();  // the loop and the playback end with the window
    void Shutdown();           // the tool closes: playback stops, the large player goes

    MoviePlayer& Player() { return player_; }
    // The large player is a window of the program's own; the panel makes one when it was not
    // given one.
    void SetLargePlayer(LargePlayerWindow& window);
    LargePlayerWindow& LargePlayer();
    QTimer& LoopTimer() { return loopTimer_; }
    QTimer& HintTimer() { return hintTimer_; }
    const QString& SelectedMovie() const { return selectedMovie_; }
    QStringList MovieEntries() const;

  private:
    void Guarded(const std::function<void()>& action);
    bool OpenSelected();
    void PlayOnceOrLoop();
    QString EntryPath(int row) const;
    // The movie chosen (or the list's entry); empty, after asking for one, when there is none.
    QString ChosenMovie();

    Platform& platform_;
    AviPlayerHooks hooks_;
    MoviePlayer player_;
    std::unique_ptr<LargePlayerWindow> ownLarge_;
    LargePlayerWindow* large_ = nullptr;
    QString chosenOutput_;  // empty: the working tree's
    QString selectedMovie_;
    FileList output_;
    std::vector<std::string> movieFiles_;  // the file of each movie-list entry
    QTimer loopTimer_;
    QTimer hintTimer_;

    QComboBox* drives_ = nullptr;
    QListWidget* directories_ = nullptr;
    DirectoryBrowser* browser_ = nullptr;
    QListWidget* outputList_ = nullptr;
    QListWidget* movieList_ = nullptr;
    QLabel* panel_ = nullptr;
    QPushButton* pause_ = nullptr;
    QSlider* frames_ = nullptr;
    QLabel* framesLabel_ = nullptr;
    QCheckBox* loop_ = nullptr;
};

}  // namespace kobrix
