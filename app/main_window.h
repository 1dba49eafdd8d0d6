#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "browse/browser.h"
#include "browse/stereo_pair.h"
#include "browse/working_tree.h"
#include "imaging/gif_io.h"
#include "platform/platform.h"
#include "widgets/picture_link.h"

namespace kobrix {

class DataDecodingPage;
class DecodedPanelView;
class DirectoriesWindow;
class FileCommands;
class DirectoryBrowser;
class EarthTimePage;
class FullSizeWindow;
class LargeImagePage;
class MainMenu;
class ManualStereoWindow;
class MartianCalendarPage;
class MartianTimePage;
class PictureView;
class PrintMode;
class TagTool;
class SlideshowDelayWindow;
class StereoViewer;
class SolSearchWindow;
class BirthdaySearchWindow;

// The windows the main window drives; set once they exist (they are created after it).
struct MainWindowPeers {
    LargeImagePage* largePage = nullptr;
    FullSizeWindow* fullSize = nullptr;
    SlideshowDelayWindow* slideshowDelay = nullptr;
    DirectoriesWindow* directories = nullptr;
    EarthTimePage* earthTime = nullptr;
    MartianCalendarPage* martianCalendar = nullptr;
    DataDecodingPage* dataDecoding = nullptr;
    MartianTimePage* martianTime = nullptr;
    StereoViewer* stereoViewer = nullptr;
    ManualStereoWindow* manualStereo = nullptr;
    SolSearchWindow* solSearch = nullptr;
    BirthdaySearchWindow* birthdaySearch = nullptr;
};

// The program's main window: the drive, directory and file lists, the picture, the decoded
// fields and the menu. The browsing itself lives in Browser; this class wires it to controls.
class MainWindow : public QMainWindow,
                   private BrowserHost,
                   private WorkingTreeHost,
                   public PictureLink {
    Q_OBJECT
  public:
    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The size the window was laid out at for an 800 x 600 screen; the screen fit scales it
    // to the real screen and the layouts share the room among the controls.
    QSize sizeHint() const override { return {790, 570}; }

    void SetPeers(const MainWindowPeers& peers);
    // The image tagging tool, once it exists.
    void SetTagTool(TagTool* tool) { tagTool_ = tool; }
    // Start-up: reads `directory` into the lists (the first pass, nothing selected) and starts
    // the start-up timer.
    void Start(const QString& directory);

    Browser& GetBrowser() { return browser_; }
    const Browser& GetBrowser() const { return browser_; }
    MainMenu& Menu() { return *menu_; }
    PictureView& Picture() { return *image1_; }
    const QString& IAmHereDirectory() const { return iAmHere_; }
    // Runs a browsing action of another window as a control event of this one: an error it
    // throws goes to the error box, and the file list shows the selection it left.
    void Drive(const std::function<void()>& action) { Guard(action); }
    // Delete, Save as and the copy to the AVI source directory; what the Print buttons do.
    FileCommands& FileOps() { return *fileCommands_; }
    PrintMode& Printing() { return *printMode_; }
    // The file list read again from disk (after a deletion): a pass with nothing selected.
    void RereadFileList();
    // What the tool windows reach the browsing through. Tree() is the working directories
    // as the latest DirsNpaths computed them.
    PictureLink& Link() { return *this; }
    const WorkingTree& Tree() const override { return treeCheck_.Tree(); }
    std::string ListDirectory() const override;
    int ListSelection() const override;
    std::string SelectedPath() const override;
    void ShowListDirectory(const std::string& directory) override;
    void RestoreList(const std::string& directory, int index) override;
    QImage DisplayedPicture() const override;
    std::string DisplayedPath() const override;
    const DecodeState& Decoded() const override { return browser_.Decoded(); }
    void DisplayCurrent() override;
    void StepList(int delta) override;
    void SetSlideshow(bool on) override;
    bool UserTag() const override;
    void SetUserTag(bool on) override;
    void SetCaptureTimeCharset(int code) override;
    void SelectListEntry(int index) override;
    void StepImage(int delta) override { delta > 0 ? NextImage() : PreviousImage(); }
    // Told of every decode, after the main window's own displays (the colour tool's prefix).
    void SetDecodeListener(std::function<void(const DecodeState&)> listener) {
        decodeListener_ = std::move(listener);
    }
    // The help hub ("More Info") and the traverse-map viewers' lists (the first slideshow
    // step), once the pages exist.
    void SetHelpHub(std::function<void()> show) { showHelpHub_ = std::move(show); }
    void SetTraverseMapPointer(std::function<void()> point) { pointMaps_ = std::move(point); }
    // Opens a web page in the browser: every link of the program goes through here.
    void OpenInBrowser(const QString& address);
    // The typeface page's "Make Klingon": every control of the window in `family`.
    void UseTypeface(const QString& family);
    // "Slideshow Delay" and its help link stop the slideshow's timer first.
    void StopSlideshowTimer();
    // The magnifier's part of the slideshow step: run first of the tools' steps.
    void SetMagnifierStep(std::function<void()> step) { magnifierStep_ = std::move(step); }
    void HideAuxiliaryLists() override;
    int CaptureTimeCharset() const { return captureCharset_; }

    // "Anaglyph This" of the stereo viewer: empties its left filter caption and gives the
    // full paths of the right-eye and left-eye files it shows (each caption resolved in the
    // file list without regard to case).
    std::pair<QString, QString> AnaglyphPairFromViewer();

    // Named actions, by their handler names.
    void Button3Click();   // Image
    void Button10Click();  // Data
    void Button4Click();   // Stereo
    void Button11Click();  // Manual Stereo
    void Button14Click();  // TimeZone
    void Button16Click();  // More Info
    void Button15Click();  // GetFileSize
    void Button17Click();  // DirsNpaths
    void Button12Click();  // BufrScan
    void Button22Click();  // Animate
    void Button20Click();  // FontSize
    void Button19Click();  // Tag
    void Button23Click();  // TagSave
    void Button7Click();   // "?": the Directories window
    void Button13Click();  // Stereo: find and show the pair of the displayed image

    // The stereo viewer's and the manual selection's buttons.
    void StereoNextImage();
    void StereoPreviousImage();
    void StereoViewerClosed();
    void ShowStereoViewer();  // as it is, from the Tools menu
    void ManualStereoNext();
    void ManualStereoPrevious();
    void ManualStereoClosed();
    void ViewInStereo();
    const StereoFlags& Stereo() const { return stereo_; }

    // Control events.
    void FileListBox1Change(int row);
    // Selects a file of the list by name as a click would; false when it is not listed.
    bool SelectFile(const QString& name);
    void DirectoryChosen(const QString& path);
    void CheckBox3Click(bool checked);
    void CheckBox5Click();  // "User Tag"
    void Button8Click();    // Large Image
    void Image1Click();     // full-size window
    void NextImage();       // the large image page's buttons
    void PreviousImage();
    // A jump of the Directories window: the file list shows `directory` (empty: the current
    // one) and its first entry is displayed.
    void JumpTo(const QString& directory);

    // Timer steps; the timers call them, tests call them directly.
    void Timer1Timer();  // slideshow
    void Timer2Timer();  // the Directories window once after start-up
    void Timer3Timer();  // start-up
    void AnimationStep();
    QTimer& SlideshowTimer() { return timer1_; }
    QTimer& StartupTimer() { return timer3_; }
    QTimer& DirectoriesTimer() { return timer2_; }
    QTimer& AnimationTimer() { return animationTimer_; }

    // Menu items that belong to no other window.
    void ChoosePriority(const QString& caption);
    void SetFilenameFontSize(int points);
    void OpenNotes(const QString& fileName);
    void RunExternal(const QString& programName);
    void VisitNasa();
    void ShowScreenResolution();

  signals:
    // The file list was filled anew, from the folder ListDirectory() names.
    void fileListFilled();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // BrowserHost
    void Information(const std::string& text) override;
    void Warning(const std::string& text) override;
    void Error(const std::string& text) override;
    void ApplyStretch(bool stretch) override;
    void RunDirsNpaths() override;
    void SetPathCaption(const std::string& text) override;
    void ShowDecoded(const DecodeState& state) override;
    void ShowPicture(const Bitmap24& picture) override;
    void SetSizeText(const std::string& text) override;
    void SetFileSizeHint(const std::string& text) override;
    bool LoadStereoPair(const StereoAutoshowRequest& request) override;
    void StopSearchTimers() override;
    void Animate(const std::string& gifPath) override;
    void SetSlideshowTimer(bool running, int intervalMs) override;
    void SetSlideshowChecks(bool checkBox, bool menuMark) override;
    void CopyPictureToLargePage() override;
    void ChooseLowerPriority() override;
    void ShowMainWindow() override;
    void ShowLargePage() override;
    void FontSize() override { Button20Click(); }
    void SlideshowToolHooks() override;
    void PointTraverseMapLists() override;

    // WorkingTreeHost
    bool AskYesCancel(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    void SetCaption(const std::string& caption) override;
    void Beep() override;
    void Wait(int milliseconds) override;
    void EndProgram() override;
    void ShowTree(const WorkingTree& tree) override;
    void StartDirectoriesTimer() override;

    void BuildControls();
    void ConnectMenu();
    void ShowPage(QWidget* page);
    void FillFileList();
    void SyncFileList();
    void Guard(const std::function<void()>& action);
    void ConnectStereo();
    // Loads the partner path `wanted` (or its case-blind match) into one side of the viewer;
    // false when there is no such file. A damaged file throws.
    bool LoadPartner(const std::string& wanted, bool rightEye);
    // The files to load for the partners `right` and `left` (as the decode names them): those
    // same paths, or both eyes' linearized products when the viewer's switch asks for them
    // and both exist. Offers the switch when they do.
    std::pair<std::string, std::string> ChooseStereoSources(const std::string& right,
                                                            const std::string& left);
    // Loads the pair of the displayed image into the viewer and shows its texts.
    void ShowPairOfDisplayed();
    void LinearizedStereoToggled();
    QAction* AddNamedAction(const char* name, void (MainWindow::*handler)());

    Platform& platform_;
    std::function<void()> showHelpHub_;
    std::function<void()> pointMaps_;
    Browser browser_;
    MainWindowPeers peers_;
    std::unique_ptr<MainMenu> menu_;
    DirectoryBrowser* directories_ = nullptr;
    DecodedPanelView* panel_ = nullptr;

    QComboBox* driveComboBox1_ = nullptr;
    QListWidget* directoryListBox1_ = nullptr;
    QListWidget* fileListBox1_ = nullptr;
    QListWidget* listBox1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label77_ = nullptr;
    PictureView* image1_ = nullptr;
    QCheckBox* checkBox3_ = nullptr;
    QCheckBox* checkBox4_ = nullptr;
    QCheckBox* checkBox5_ = nullptr;
    QLabel* label78_ = nullptr;
    TagTool* tagTool_ = nullptr;
    std::function<void()> magnifierStep_;
    std::function<void(const DecodeState&)> decodeListener_;
    int captureCharset_ = 0;

    QTimer timer1_;
    QTimer timer2_;
    QTimer timer3_;
    QTimer animationTimer_;
    GifAnimation animation_;
    std::size_t animationFrame_ = 0;

    QString iAmHere_;
    // The priority level whose mark is on: the one in force.
    const char* priorityMark_ = "Lower";
    bool programDirectoryFixed_ = false;
    WorkingTreeCheck treeCheck_{*this};
    QString galleryBase_;
    QString shownDirectory_;
    std::unique_ptr<PrintMode> printMode_;
    std::unique_ptr<FileCommands> fileCommands_;
    StereoFlags stereo_;
    // The linearized products the viewer shows in place of the pair whose right eye the decode
    // names `forRightEyeName`; empty while it shows the partners themselves.
    struct LinearizedShown {
        std::string forRightEyeName;
        std::string rightEye, leftEye;
    } linearizedShown_;
};

}  // namespace kobrix
