#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <exception>

#include "app/birthday_search_window.h"
#include "app/decoded_panel_view.h"
#include "app/directories_window.h"
#include "app/file_commands.h"
#include "app/full_size_window.h"
#include "app/large_image_page.h"
#include "app/main_menu.h"
#include "app/manual_stereo_window.h"
#include "app/print_mode.h"
#include "app/slideshow_delay_window.h"
#include "app/sol_search_window.h"
#include "app/startup_picture.h"
#include "app/stereo_viewer.h"
#include "archive/archive_file.h"
#include "archive/capture_time.h"
#include "browse/browse_texts.h"
#include "browse/tag_tool.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "pages/earth_time_page.h"
#include "pages/information_text_pages.h"
#include "pages/martian_time_page.h"
#include "tools/script_fonts.h"
#include "volume/volume_root.h"
#include "widgets/controls.h"
#include "widgets/directory_browser.h"
#include "widgets/path_label.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kCaption =
    "KOBRIX 2007.    Mars Exploration Rovers Data display and image manipulation.";
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The attributes line's units ("sol 1295", "LTST 12:00:12") are parted by two spaces; each
// keeps its caption and value together (non-breaking spaces, and a word joiner after a dash,
// where a line may break even before a non-breaking space), so that the wrapped line breaks
// only between units.
QString KeepUnitsTogether(const std::string& line) {
    const QString plain = Q(line);
    QString text;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain[i];
        const bool parting =
            (i > 0 && plain[i - 1] == u' ') || (i + 1 < plain.size() && plain[i + 1] == u' ');
        if (c == u' ' && !parting) {
            if (!text.isEmpty() && text.back() == u'-') text += QChar(0x2060);
            text += QChar(0x00A0);
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent)
    : QMainWindow(parent),
      platform_(platform),
      browser_(*this, platform.timeZone, platform.dateNames) {
    setObjectName("RurUdediv20071Unit1");
    setWindowTitle(kCaption);
    QFont font("Arial");
    font.setPointSize(8);
    setFont(font);
    PaintBackground(*this, Qt::white);
    BuildControls();
    menu_ = std::make_unique<MainMenu>(*menuBar());
    ConnectMenu();

    // The Print buttons' mode, and the file commands with the two lists' mouse buttons.
    printMode_ = std::make_unique<PrintMode>(platform_);
    printMode_->BindSwitches(*checkBox4_, *menu_->Item("Check Print / Clipboard"));
    auto* print = findChild<QPushButton*>("Button6");
    printMode_->Register(print);
    connect(print, &QPushButton::clicked, this,
            [this] { Guard([this] { printMode_->PrintOrCopy(*this); }); });
    fileCommands_ = std::make_unique<FileCommands>(
        platform_, *this, FileCommandControls{*label1_, *fileListBox1_, *listBox1_});
    connect(menu_->Item("Delete"), &QAction::triggered, this,
            [this] { Guard([this] { fileCommands_->Delete(); }); });
    connect(menu_->Item("Save as"), &QAction::triggered, this,
            [this] { Guard([this] { fileCommands_->SaveAs(); }); });

    timer1_.setObjectName("Timer1");
    timer1_.setInterval(2000);
    connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
    timer2_.setObjectName("Timer2");
    timer2_.setInterval(1000);
    connect(&timer2_, &QTimer::timeout, this, &MainWindow::Timer2Timer);
    timer3_.setObjectName("Timer3");
    timer3_.setInterval(10);
    connect(&timer3_, &QTimer::timeout, this, &MainWindow::Timer3Timer);
    animationTimer_.setObjectName("AnimationTimer");
    connect(&animationTimer_, &QTimer::timeout, this, &MainWindow::AnimationStep);
    animationTimer_.setSingleShot(true);

    AddNamedAction("Image", &MainWindow::Button3Click);
    AddNamedAction("Data", &MainWindow::Button10Click);
    AddNamedAction("Stereo", &MainWindow::Button4Click);
    AddNamedAction("Manual Stereo", &MainWindow::Button11Click);
    AddNamedAction("TimeZone", &MainWindow::Button14Click);
    AddNamedAction("More Info", &MainWindow::Button16Click);
    AddNamedAction("GetFileSize", &MainWindow::Button15Click);
    AddNamedAction("DirsNpaths", &MainWindow::Button17Click);
    AddNamedAction("BufrScan", &MainWindow::Button12Click);
    AddNamedAction("Animate", &MainWindow::Button22Click);
    AddNamedAction("FontSize", &MainWindow::Button20Click);
    AddNamedAction("Tag", &MainWindow::Button19Click);
    AddNamedAction("TagSave", &MainWindow::Button23Click);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::AddNamedAction(const char* name, void (MainWindow::*handler)()) {
    auto* action = new QAction(name, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this,
            [this, handler] { Guard([&] { (this->*handler)(); }); });
    addAction(action);
    return action;
}

void MainWindow::SetPeers(const MainWindowPeers& peers) {
    peers_ = peers;
    if (peers_.directories) {
        connect(
            peers_.directories, &DirectoriesWindow::jumpRequested, this,
            [this](const QString& directory) { Guard([this, directory] { JumpTo(directory); }); });
        peers_.directories->ShowTree(treeCheck_.Tree());
    }
    if (peers_.slideshowDelay) {
        connect(peers_.slideshowDelay, &SlideshowDelayWindow::delaySaved, this,
                [this](int ms) { browser_.SetSlideshowDelay(ms); });
    }
    if (peers_.largePage) {
        LargeImagePage* page = peers_.largePage;
        connect(page, &LargeImagePage::nextClicked, this,
                [this] { Guard([this] { NextImage(); }); });
        connect(page, &LargeImagePage::previousClicked, this,
                [this] { Guard([this] { PreviousImage(); }); });
        connect(page, &LargeImagePage::slideshowClicked, this, [this, page] {
            Guard([this] { browser_.ToggleLargePageSlideshow(); });
            page->SetSlideshowFlag(browser_.Slideshow().largePageFlag);
        });
        connect(page, &LargeImagePage::closeClicked, this,
                [this] { Guard([this] { browser_.CloseLargePage(); }); });
        connect(page, &LargeImagePage::pictureClicked, this,
                [this] { Guard([this] { Image1Click(); }); });
        printMode_->Register(page->findChild<QPushButton*>("Button2"));
        connect(page, &LargeImagePage::printClicked, this,
                [this, page] { Guard([this, page] { printMode_->PrintOrCopy(*page); }); });
    }
    ConnectStereo();
}

void MainWindow::Start(const QString& directory) {
    // The first read of the file list runs the selection sequence with nothing selected.
    directories_->SetCurrent(directory);
    browser_.Files().Read(directories_->Current().toStdString());
    FillFileList();
    Guard([this] { browser_.Reread(); });
    SyncFileList();
    timer3_.start();
}

void MainWindow::Guard(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        platform_.prompts.Error(QString::fromUtf8(e.what()));
    }
    SyncFileList();
}

std::string MainWindow::ListDirectory() const {
    return browser_.Files().Directory();
}

std::string MainWindow::SelectedPath() const {
    const std::string& name = browser_.Files().SelectedName();
    if (name.empty()) return {};
    return QDir(Q(ListDirectory())).filePath(Q(name)).toStdString();
}

int MainWindow::ListSelection() const {
    return browser_.Files().Selected();
}

void MainWindow::ShowListDirectory(const std::string& directory) {
    Guard([&] { JumpTo(Q(directory)); });
}

void MainWindow::RestoreList(const std::string& directory, int index) {
    Guard([&] {
        if (browser_.Files().Directory() != directory) JumpTo(Q(directory));
        browser_.Files().Select(index);
        Button3Click();
    });
}

QImage MainWindow::DisplayedPicture() const {
    return image1_->Image();
}

std::string MainWindow::DisplayedPath() const {
    return browser_.PathCaption();
}

void MainWindow::RereadFileList() {
    browser_.Files().Read(browser_.Files().Directory());
    FillFileList();
    browser_.Reread();
}

void MainWindow::FillFileList() {
    const QSignalBlocker block(fileListBox1_);
    fileListBox1_->clear();
    for (const std::string& name : browser_.Files().Names()) fileListBox1_->addItem(Q(name));
    shownDirectory_ = Q(browser_.Files().Directory());
    emit fileListFilled();
}

void MainWindow::SyncFileList() {
    if (Q(browser_.Files().Directory()) != shownDirectory_ ||
        fileListBox1_->count() != browser_.Files().Count()) {
        FillFileList();
    }
    const QSignalBlocker block(fileListBox1_);
    const int selected = browser_.Files().Selected();
    if (selected < 0) {
        fileListBox1_->setCurrentRow(-1);
        fileListBox1_->clearSelection();
    } else if (fileListBox1_->currentRow() != selected) {
        fileListBox1_->setCurrentRow(selected);
    }
}

// ---- named actions

void MainWindow::Button3Click() {
    browser_.Image();
}
void MainWindow::Button10Click() {
    browser_.Data();
}
void MainWindow::Button14Click() {
    std::string name;
    RefreshTimeZoneName(platform_.timeZone, name);
    if (QLabel* label = panel_->Value("Label41")) label->setText(Q(name));
    if (peers_.earthTime) peers_.earthTime->SetTimeZoneName(name);
}
void MainWindow::Button16Click() {
    if (showHelpHub_) showHelpHub_();
}

void MainWindow::PointTraverseMapLists() {
    if (pointMaps_) pointMaps_();
}

void MainWindow::StopSlideshowTimer() {
    browser_.StopSlideshowTimer();
}

void MainWindow::Button15Click() {
    browser_.GetFileSize();
}
void MainWindow::Button17Click() {
    // The program directory is the file list's directory at the first check.
    if (!programDirectoryFixed_) {
        iAmHere_ = Q(browser_.Files().Directory());
        programDirectoryFixed_ = true;
    }
    if (peers_.directories) peers_.directories->MakeOrdinary();
    if (treeCheck_.Run(browser_.Files().Directory()) != TreeCheckResult::Complete) return;
    try {
        Button22Click();
    } catch (const ImageError&) {
        // A damaged GIF is reported by the display pass when it loads it.
    }
}
void MainWindow::Button12Click() {
    browser_.BufrScan();
}
void MainWindow::Button22Click() {
    browser_.Animate();
}
void MainWindow::Button20Click() {
    if (tagTool_ == nullptr) return;
    if (!checkBox5_->isChecked()) tagTool_->ApplySizePreset(image1_->Image().width());
    label78_->setText("Font size " + QString::number(tagTool_->DrawingFontSize()));
}

void MainWindow::Button19Click() {
    if (tagTool_ == nullptr) return;
    image1_->SetBitmap(tagTool_->TagPicture(BitmapFromImage(image1_->Image())));
    label78_->setText("Font size " + QString::number(tagTool_->DrawingFontSize()));
}

void MainWindow::Button23Click() {
    // TagSave: the picture as the window shows it, with the tag drawn on it.
    if (image1_->HasPicture()) fileCommands_->SaveAs(BitmapFromImage(image1_->Image()));
}

void MainWindow::CheckBox5Click() {
    if (tagTool_ == nullptr) return;
    // The tool opens as from its menu item, FontSize step and caption included.
    tagTool_->UserTagClicked();
    Button20Click();
}

void MainWindow::SlideshowToolHooks() {
    if (magnifierStep_) magnifierStep_();
    if (tagTool_ == nullptr) return;
    if (tagTool_->SlideshowOn()) {
        tagTool_->OpenFromMenu();
        Button20Click();
    }
    if (!checkBox3_->isChecked()) timer1_.stop();
    if (tagTool_->AutoOn()) tagTool_->EnterAutoTagAndPlace();
    if (tagTool_->EarthMinsSecsOn() && peers_.earthTime) peers_.earthTime->Button2Click();
}

void MainWindow::DisplayCurrent() {
    Guard([this] { Button3Click(); });
}

void MainWindow::StepList(int delta) {
    browser_.StopSlideshowTimer();
    if (delta > 0) {
        for (int i = 0; i < delta; ++i) browser_.Files().MoveNext();
    } else {
        for (int i = 0; i < -delta; ++i) browser_.Files().MovePrevious();
    }
    SyncFileList();
}

void MainWindow::SelectListEntry(int index) {
    browser_.Files().Select(index);
    SyncFileList();
}

void MainWindow::HideAuxiliaryLists() {
    listBox1_->hide();
}

void MainWindow::SetSlideshow(bool on) {
    browser_.SetSlideshowCheckBox(on);
}

bool MainWindow::UserTag() const {
    return checkBox5_->isChecked();
}

void MainWindow::SetUserTag(bool on) {
    checkBox5_->setChecked(on);
}

void MainWindow::SetCaptureTimeCharset(int code) {
    captureCharset_ = code;
    for (const char* name : {"Label39", "Label5"}) {
        if (QLabel* label = panel_->Value(name)) {
            const QFont font = ScriptFont(label->font().family(), code, label->font().pointSize());
            QFont only;  // the family alone, so the window's size still reaches the label
            only.setFamily(font.family());
            label->setFont(only);
        }
    }
}

// ---- control events

void MainWindow::FileListBox1Change(int row) {
    if (row < 0 || row == browser_.Files().Selected()) return;
    browser_.Files().Select(row);
    browser_.SelectionSequence();
}

bool MainWindow::SelectFile(const QString& name) {
    const auto items = fileListBox1_->findItems(name, Qt::MatchExactly);
    if (items.isEmpty()) return false;
    fileListBox1_->setCurrentItem(items.front());
    return true;
}

void MainWindow::DirectoryChosen(const QString& path) {
    browser_.ChangeDirectory(path.toStdString());
    FillFileList();
}

void MainWindow::CheckBox3Click(bool checked) {
    browser_.SetSlideshowCheckBox(checked);
}

void MainWindow::Button8Click() {
    if (!peers_.largePage) return;
    peers_.largePage->SetImage(image1_->Image());
    peers_.largePage->show();
    peers_.largePage->raise();
    peers_.largePage->update();
}

void MainWindow::Image1Click() {
    if (peers_.fullSize) peers_.fullSize->ShowPicture(image1_->Image());
}

void MainWindow::NextImage() {
    browser_.NextImage();
    SyncFileList();
    Button8Click();
}

void MainWindow::PreviousImage() {
    browser_.PreviousImage();
    SyncFileList();
    Button8Click();
}

// ---- timers

void MainWindow::Timer1Timer() {
    Guard([this] { browser_.SlideshowStep(); });
}

void MainWindow::Timer2Timer() {
    timer2_.stop();
    Guard([this] { Button7Click(); });
}

void MainWindow::Timer3Timer() {
    timer3_.stop();
    if (!browser_.SlideshowStarted()) Guard([this] { Button17Click(); });
}

void MainWindow::AnimationStep() {
    if (animation_.frames.empty()) return;
    animationFrame_ = (animationFrame_ + 1) % animation_.frames.size();
    const GifFrame& frame = animation_.frames[animationFrame_];
    image1_->SetBitmap(frame.picture);
    // Frames without a delay would spin; browsers show them for a tenth of a second.
    animationTimer_.start(frame.delayMs > 0 ? frame.delayMs : 100);
}

// ---- small menu functions

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    platform_.desktop.EndProgram();
}

// ---- BrowserHost

void MainWindow::Information(const std::string& text) {
    platform_.prompts.Information(Q(text));
}
void MainWindow::Warning(const std::string& text) {
    // An archive volume's root and its sol folders hold folders, not pictures: the directory
    // box lists the sols to go on to, and a warning at every step would only be in the way.
    if (text == kNoImagesWarning) {
        const std::optional<VolumePlace> place = LocateInVolume(browser_.Files().Directory());
        if (place &&
            (place->kind == VolumePlace::Kind::Root || place->kind == VolumePlace::Kind::Sol))
            return;
    }
    platform_.prompts.Warning(Q(text));
}
void MainWindow::Error(const std::string& text) {
    platform_.prompts.Error(Q(text));
}

void MainWindow::ApplyStretch(bool stretch) {
    image1_->SetStretch(stretch);
    if (peers_.largePage) peers_.largePage->SetStretch(stretch);
    if (peers_.stereoViewer) peers_.stereoViewer->SetStretch(stretch);
    if (peers_.manualStereo) peers_.manualStereo->SetStretch(stretch);
}

void MainWindow::RunDirsNpaths() {
    Button17Click();
}

void MainWindow::SetPathCaption(const std::string& text) {
    label1_->setText(Q(text));
}

void MainWindow::ShowDecoded(const DecodeState& state) {
    panel_->Show(state.panel);
    edit2_->setText(Q(state.panel.fileNameBox));
    label6_->setText(Q(state.panel.positionCaption));
    if (peers_.largePage) peers_.largePage->ShowDecoded(state);
    if (peers_.earthTime) peers_.earthTime->ShowDecoded(state);
    // The Martian page runs its computation on every decode, shown or not.
    if (peers_.martianTime) peers_.martianTime->ShowDecoded(state);
    if (decodeListener_) decodeListener_(state);
}

void MainWindow::ShowPicture(const Bitmap24& picture) {
    animationTimer_.stop();
    image1_->SetBitmap(picture);
    if (peers_.largePage) peers_.largePage->SetImage(image1_->Image());
}

void MainWindow::SetSizeText(const std::string& text) {
    // An archive file adds its label's facts and true capture time on a line of their own,
    // red when the label's sol is not the one the name gives.
    QString line = Q(text);
    QColor colour;  // none of its own
    const std::string& path = browser_.PicturePath();
    if (!text.empty() && !path.empty() && ClaimsArchiveFile(path)) {
        try {
            const DecodeState& decoded = browser_.Decoded();
            const std::optional<DateTime> panelUtc = decoded.product.NameValid
                                                         ? std::optional(decoded.times.ImageTimeUtc)
                                                         : std::nullopt;
            const ArchiveAttributes attributes =
                ArchiveAttributesLine(ReadArchiveLabel(path), decoded.panel.sol, panelUtc);
            line += u'\n' + KeepUnitsTogether(attributes.text);
            if (attributes.solDiffers) colour = QColor(255, 0, 0);
        } catch (const ImageError&) {
            // The picture was read a moment ago; a label gone since adds nothing.
        }
    }
    label77_->setText(line);
    SetTextColour(*label77_, colour);
}

void MainWindow::SetFileSizeHint(const std::string& text) {
    fileListBox1_->setToolTip(Q(text));
    listBox1_->setToolTip(Q(text));
}

void MainWindow::Animate(const std::string& gifPath) {
    animationTimer_.stop();
    animation_ = GifAnimation{};
    if (gifPath.empty()) return;
    // A still picture is on display already: only a file of several frames is decoded again.
    const std::vector<std::uint8_t> bytes = ReadWholeFile(gifPath);
    if (CountGifFrames(bytes) < 2) return;
    animation_ = DecodeGifAnimation(bytes, gifPath);
    animationFrame_ = 0;
    if (animation_.frames.size() < 2) return;
    image1_->SetBitmap(animation_.frames[0].picture);
    const int delay = animation_.frames[0].delayMs;
    animationTimer_.start(delay > 0 ? delay : 100);
}

void MainWindow::SetSlideshowTimer(bool running, int intervalMs) {
    timer1_.setInterval(intervalMs);
    if (running && !timer1_.isActive()) timer1_.start();
    if (!running) timer1_.stop();
}

void MainWindow::SetSlideshowChecks(bool checkBox, bool menuMark) {
    const QSignalBlocker block(checkBox3_);
    checkBox3_->setChecked(checkBox);
    menu_->Item("Slideshow Start / Stop")->setChecked(menuMark);
}

void MainWindow::CopyPictureToLargePage() {
    if (peers_.largePage) peers_.largePage->SetImage(image1_->Image());
}

void MainWindow::ChooseLowerPriority() {
    ChoosePriority("Lower");
}

void MainWindow::StopSearchTimers() {
    if (peers_.solSearch) peers_.solSearch->StopTimer();
    if (peers_.birthdaySearch) peers_.birthdaySearch->StopTimer();
}

void MainWindow::ShowMainWindow() {
    show();
    raise();
}

void MainWindow::ShowPage(QWidget* page) {
    if (!page) return;
    page->show();
    page->raise();
    page->activateWindow();
}

void MainWindow::ShowLargePage() {
    if (!peers_.largePage) return;
    peers_.largePage->show();
    peers_.largePage->raise();
}

// ---- the working directories

void MainWindow::Button7Click() {
    if (!peers_.directories) return;
    peers_.directories->show();
    peers_.directories->raise();
}

void MainWindow::JumpTo(const QString& directory) {
    // A directory that is gone leaves the list where it is; the display pass then offers to
    // create it again if it belongs to the tree.
    if (!directory.isEmpty() && QFileInfo(directory).isDir()) {
        directories_->SetCurrent(directory);
        DirectoryChosen(directories_->Current());
        return;
    }
    if (!browser_.Files().Empty()) browser_.Files().Select(0);
    browser_.SelectionSequence();
}

bool MainWindow::AskYesCancel(const std::string& question) {
    return platform_.prompts.YesCancel(Q(question));
}
void MainWindow::ShowMessage(const std::string& text) {
    platform_.prompts.Message(Q(text));
}
void MainWindow::SetCaption(const std::string& caption) {
    setWindowTitle(Q(caption));
}
void MainWindow::Beep() {
    platform_.desktop.Beep();
}
void MainWindow::Wait(int milliseconds) {
    platform_.desktop.Wait(milliseconds);
}
void MainWindow::EndProgram() {
    platform_.desktop.EndProgram();
}

void MainWindow::ShowTree(const WorkingTree& tree) {
    if (peers_.directories) peers_.directories->ShowTree(tree);
}

void MainWindow::StartDirectoriesTimer() {
    timer2_.start();
}

}  // namespace kobrix
