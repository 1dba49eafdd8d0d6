#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "browse/file_list.h"
#include "platform/platform.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kobrix {

class AviPlayerPanel;
class BrowsingLink;
class DirectoryBrowser;
class PictureView;
class TagTool;

// "Kobrix AVI Creation Tool": a directory of still frames made into an uncompressed AVI movie,
// with what the frames need first (JPEG to BMP, a tag on every frame, deleting, moving and
// copying files between the AVI source and output directories). While it is open the main
// window shows the frame directory and follows the selected frame.
//
// Controls by object name: DriveComboBox1, DirectoryListBox1, FileListBox1 (frames), Counter,
// Image1 (preview), FileNameLabel, SizeLabel, RateEdit, NameEdit, Status, FileInUse,
// the player half (AviPlayerPanel); buttons by their captions.
class AviToolWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AviToolWindow(Platform& platform, QWidget* parent = nullptr);
    void Attach(BrowsingLink& link, TagTool* tagTool);

    void OpenFromMenu();  // "AVI Creation Tool"
    void SetUpDirectories();
    void NavigateTo(const QString& directory);  // the source directory box
    void FrameSelected(int row);
    void EnterNewSettings();
    void ProposeMovieName();
    void MakeAvi();    // "MAKE AVI": the write follows on the write timer
    void WriteStep();  // the write timer's tick
    void ConvertJpgsToBmps();
    void TagAllFrames();  // the tag timer then tags one frame a tick
    void TagStep();
    void ShowTagSetup();
    void DeleteFile();
    void DeleteAll();
    void MoveToOutput();
    void CopyToOutput();
    void CloseTool();

    const QString& MovieFileName() const { return movieName_; }
    int FrameRate() const { return rate_; }
    bool WriteFailed() const { return writeFailed_; }
    QString FrameDirectory() const;
    QString OutputDirectory() const;
    const FileList& Frames() const { return frames_; }
    QTimer& WriteTimer() { return writeTimer_; }
    QTimer& TagTimer() { return tagTimer_; }
    AviPlayerPanel& Player() { return *player_; }

  private:
    void SetStatus(const QString& text, const QColor& colour);
    void RefreshLists();
    void ShowCounter();
    void Guarded(const std::function<void()>& action);
    void CopyOrMove(bool move);
    void SelectLastFrame();
    // The place of a frame in the main window's list, which shows hidden files too.
    int ListedIndex(int frame) const;
    // Name, preview and size of frame `index`; with no such frame, the labels' first texts.
    void ShowFrame(int index, bool reportFailure);

    Platform& platform_;
    BrowsingLink* link_ = nullptr;
    TagTool* tagTool_ = nullptr;

    QString movieName_ = "KobrixAVI-0001.avi";
    int rate_ = 10;
    bool writeFailed_ = false;
    bool differentSource_ = false;
    QString chosenSource_;
    std::string savedDirectory_;
    int savedIndex_ = -1;
    bool taggingRun_ = false;
    int tagIndex_ = 0;
    FileList frames_;
    std::vector<int> listed_;
    QTimer writeTimer_;
    QTimer tagTimer_;

    QComboBox* drives_ = nullptr;
    QListWidget* directories_ = nullptr;
    DirectoryBrowser* browser_ = nullptr;
    QListWidget* frameList_ = nullptr;
    AviPlayerPanel* player_ = nullptr;
    QLabel* counter_ = nullptr;
    PictureView* preview_ = nullptr;
    QLabel* fileName_ = nullptr;
    QLabel* size_ = nullptr;
    QLineEdit* rateEdit_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* fileInUse_ = nullptr;
};

}  // namespace kobrix
