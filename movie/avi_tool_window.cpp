#include "movie/avi_tool_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "archive/archive_file.h"
#include "browse/browse_texts.h"
#include "browse/browsing_link.h"
#include "browse/file_operations.h"
#include "browse/tag_tool.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "movie/avi_player_panel.h"
#include "movie/core/avi_writer.h"
#include "widgets/controls.h"
#include "widgets/directory_browser.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr int kPreviewSide = 241;
constexpr const char* kNoFramesWarning =
    "WARNING, there are no image files in the AVIsource. Put some Bitmaps or Jpegs into the "
    "Kobrix2007\\AVIsource\\ Directory first. The AVI creation page needs them.";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString ExtensionOf(const QString& name) {
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot);
}

// Only these spellings count, as the tool always had it: ".Jpg" is left alone.
bool IsJpegFrame(const QString& name) {
    const QString e = ExtensionOf(name);
    return e == ".jpg" || e == ".jpeg" || e == ".JPG" || e == ".JPEG";
}

// A file of the planetary archive; it becomes a bitmap frame as a JPEG does.
bool IsArchiveFrame(const QString& path) {
    return ClaimsArchiveFile(path.toStdString());
}

bool IsBmpFrame(const QString& name) {
    const QString e = ExtensionOf(name);
    return e == ".bmp" || e == ".BMP";
}

QString BaseOf(const QString& name) {
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.left(dot);
}

// Writes `bitmap` as a new BMP file at `path`. Whatever is at that name already (a file, a
// link, another run's bitmap) is never replaced: false when the name is taken. A failed write
// removes the file it made.
bool WriteNewBmpFile(const Bitmap24& bitmap, const QString& path) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(bitmap);
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        throw std::runtime_error(path.toStdString() +
                                 " cannot be created: " + std::strerror(errno));
    }
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(name.constData());
        throw std::runtime_error(path.toStdString() +
                                 " cannot be written: " + std::strerror(error));
    }
    return true;
}

// The frames of a directory: its ordinary files, hidden ones left out. `listed` gets the
// place of each frame in the list of all the directory's files, which the main window shows.
void ReadFrames(FileList& frames, std::vector<int>& listed, const QString& directory) {
    frames.Read(directory.toStdString());
    std::vector<std::string> names;
    listed.clear();
    for (std::size_t i = 0; i < frames.Names().size(); ++i) {
        const std::string& name = frames.Names()[i];
        if (name.empty() || name.front() == '.') continue;
        names.push_back(name);
        listed.push_back(static_cast<int>(i));
    }
    if (names.size() != frames.Names().size()) frames.Assign(frames.Directory(), names);
}

}  // namespace

AviToolWindow::AviToolWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), platform_(platform) {
    setObjectName("AVIUnit200740");
    setWindowTitle("Kobrix AVI Creation Tool");

    auto* outer = new QVBoxLayout(this);
    auto* root = new QHBoxLayout;
    outer->addLayout(root);
    auto* left = new QVBoxLayout;
    root->addLayout(left);
    drives_ = new QComboBox(this);
    drives_->setObjectName("DriveComboBox1");
    directories_ = new QListWidget(this);
    directories_->setObjectName("DirectoryListBox1");
    directories_->setToolTip("Navigate to a New Source Directory");
    browser_ = new DirectoryBrowser(*drives_, *directories_, this);
    connect(browser_, &DirectoryBrowser::directoryChosen, this,
            [this](const QString& path) { Guarded([this, path] { NavigateTo(path); }); });
    frameList_ = new QListWidget(this);
    frameList_->setObjectName("FileListBox1");
    frameList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    frameList_->setToolTip("Ctrl or Shft to select");
    connect(frameList_, &QListWidget::currentRowChanged, this,
            [this](int row) { Guarded([this, row] { FrameSelected(row); }); });
    left->addWidget(drives_);
    left->addWidget(directories_, 1);
    left->addWidget(PlainLabel("AVIsource directory files", this));
    left->addWidget(frameList_, 2);
    auto* counterRow = new QHBoxLayout;
    counterRow->addWidget(PlainLabel("Files", this));
    counter_ = NamedLabel("Counter", "0 of 0", this);
    counterRow->addWidget(counter_, 1);
    left->addLayout(counterRow);

    auto* middle = new QVBoxLayout;
    root->addLayout(middle);
    preview_ = new PictureView(this);
    preview_->setObjectName("Image1");
    preview_->setFixedSize(kPreviewSide, kPreviewSide);
    preview_->SetStretch(true);
    preview_->SetProportional(true);
    preview_->SetCenter(true);
    middle->addWidget(preview_);
    fileName_ = NamedLabel("FileNameLabel", "Current Files Name", this);
    size_ = NamedLabel("SizeLabel", "image size", this);
    middle->addWidget(fileName_);
    middle->addWidget(size_);

    auto* fields = new QGridLayout;
    rateEdit_ = new QLineEdit("5", this);
    rateEdit_->setObjectName("RateEdit");
    nameEdit_ = new QLineEdit("KobrixAVI-0001", this);
    nameEdit_->setObjectName("NameEdit");
    fields->addWidget(PlainLabel("Enter Playback Frames per second", this), 0, 0);
    fields->addWidget(rateEdit_, 0, 1);
    fields->addWidget(PlainLabel("AVI Filename", this), 1, 0);
    fields->addWidget(nameEdit_, 1, 1);
    middle->addLayout(fields);
    status_ = NamedLabel("Status", "Waiting", this);
    SetTextColour(*status_, QColor(0, 128, 0));
    MakeBold(*status_);
    fileInUse_ = NamedLabel("FileInUse", movieName_, this);
    SetTextColour(*fileInUse_, QColor(0, 128, 0));
    middle->addWidget(status_);
    middle->addWidget(fileInUse_);
    middle->addStretch();

    auto* buttons = new QGridLayout;
    const auto button = [&](const char* caption, void (AviToolWindow::*handler)(), int row,
                            int column, const QString& hint = QString()) {
        QPushButton* b = PlainButton(caption, caption, this);
        if (!hint.isEmpty()) b->setToolTip(hint);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        buttons->addWidget(b, row, column);
        return b;
    };
    button("Convert Jpg's to Bmp's", &AviToolWindow::ConvertJpgsToBmps, 0, 0);
    button("Tag ALL frames", &AviToolWindow::TagAllFrames, 0, 1, "Tag all frames as per Watermark");
    button("Delete File", &AviToolWindow::DeleteFile, 1, 0);
    button("Delete ALL", &AviToolWindow::DeleteAll, 1, 1, "Empty the AVI source Dir");
    button("Mov2Output", &AviToolWindow::MoveToOutput, 2, 0);
    button("Copy2Output", &AviToolWindow::CopyToOutput, 2, 1);
    button("Enter New Settings", &AviToolWindow::EnterNewSettings, 3, 0);
    button("MAKE AVI", &AviToolWindow::MakeAvi, 3, 1);
    button("Close", &AviToolWindow::CloseTool, 4, 1);
    middle->addLayout(buttons);
    QPushButton* tagSetup = PlainButton("Show  TAG  SETUP ", "Show\nTAG\nSETUP", this);
    tagSetup->setMinimumHeight(120);
    tagSetup->setMaximumWidth(60);
    connect(tagSetup, &QPushButton::clicked, this, [this] { Guarded([this] { ShowTagSetup(); }); });
    root->addWidget(tagSetup, 0, Qt::AlignTop);

    AviPlayerHooks hooks;
    hooks.frameDirectory = [this] { return FrameDirectory(); };
    hooks.defaultOutput = [this] {
        return link_ != nullptr ? Q(WithTrailingSeparator(link_->Tree().AviOutputDirectory))
                                : QString();
    };
    hooks.setStatus = [this](const QString& text, const QColor& colour) {
        SetStatus(text, colour);
    };
    hooks.refreshFrames = [this] { RefreshLists(); };
    player_ = new AviPlayerPanel(platform_, std::move(hooks), this);
    outer->addWidget(player_);

    writeTimer_.setObjectName("WriteTimer");
    writeTimer_.setSingleShot(true);
    writeTimer_.setInterval(100);
    connect(&writeTimer_, &QTimer::timeout, this, [this] { Guarded([this] { WriteStep(); }); });
    tagTimer_.setObjectName("TagTimer");
    tagTimer_.setInterval(80);
    connect(&tagTimer_, &QTimer::timeout, this, [this] { Guarded([this] { TagStep(); }); });
}

void AviToolWindow::Attach(BrowsingLink& link, TagTool* tagTool) {
    link_ = &link;
    tagTool_ = tagTool;
}

void AviToolWindow::Guarded(const std::function<void()>& action) {
    RunGuarded(platform_.prompts, action);
}

void AviToolWindow::SetStatus(const QString& text, const QColor& colour) {
    status_->setText(text);
    SetTextColour(*status_, colour);
}

QString AviToolWindow::FrameDirectory() const {
    if (differentSource_) return chosenSource_;
    return link_ != nullptr ? Q(WithTrailingSeparator(link_->Tree().AviSourceDirectory))
                            : QString();
}

QString AviToolWindow::OutputDirectory() const {
    return player_->OutputDirectory();
}

void AviToolWindow::RefreshLists() {
    const int row = frameList_->currentRow();
    ReadFrames(frames_, listed_, FrameDirectory());
    {
        const QSignalBlocker block(frameList_);
        frameList_->clear();
        for (const std::string& name : frames_.Names()) frameList_->addItem(Q(name));
        if (row >= 0 && row < frameList_->count()) frameList_->setCurrentRow(row);
    }
    ShowCounter();
}

int AviToolWindow::ListedIndex(int frame) const {
    return frame >= 0 && frame < static_cast<int>(listed_.size())
               ? listed_[static_cast<std::size_t>(frame)]
               : frame;
}

void AviToolWindow::ShowCounter() {
    const int row = std::max(frameList_->currentRow(), 0);
    counter_->setText(QString("%1 of %2").arg(frames_.Empty() ? 0 : row + 1).arg(frames_.Count()));
}

void AviToolWindow::OpenFromMenu() {
    if (link_ == nullptr) return;
    savedIndex_ = link_->ListSelection();
    savedDirectory_ = link_->ListDirectory();
    link_->ShowListDirectory(FrameDirectory().toStdString());
    RefreshLists();
    SetStatus("WAITING", QColor(0, 128, 0));
    movieName_ = "KobrixAVI-0001.avi";
    nameEdit_->setText("KobrixAVI-0001");
    EnterNewSettings();
    SetUpDirectories();
    show();
    raise();
    if (!frames_.Empty()) frameList_->setCurrentRow(0);
    FrameSelected(frameList_->currentRow());
    ProposeMovieName();
    player_->RefreshMovieList();
}

void AviToolWindow::SetUpDirectories() {
    browser_->SetCurrent(FrameDirectory());
    player_->ShowDefaultOutput();
    RefreshLists();
    if (frames_.Empty()) platform_.prompts.Warning(kNoFramesWarning);
    fileInUse_->setText(movieName_);
    SelectLastFrame();
}

void AviToolWindow::SelectLastFrame() {
    if (!frames_.Empty()) {
        const QSignalBlocker block(frameList_);
        frameList_->setCurrentRow(frames_.Count() - 1);
    }
    ShowCounter();
    ShowFrame(frames_.Count() - 1, false);
}

void AviToolWindow::NavigateTo(const QString& directory) {
    QString chosen = QDir(directory).absolutePath();
    if (!chosen.endsWith('/')) chosen += '/';
    const QString source =
        link_ != nullptr ? Q(WithTrailingSeparator(link_->Tree().AviSourceDirectory)) : QString();
    differentSource_ = QDir(chosen) != QDir(source);
    chosenSource_ = chosen;
    if (differentSource_) platform_.desktop.Beep();
    RefreshLists();
}

void AviToolWindow::FrameSelected(int row) {
    if (row >= frames_.Count()) return;
    const int index = std::max(row, 0);
    ShowCounter();
    if (frames_.Empty()) return;
    ShowFrame(index, true);
    if (link_ != nullptr) link_->SelectListEntry(ListedIndex(index));
}

void AviToolWindow::ShowFrame(int index, bool reportFailure) {
    if (index < 0 || index >= frames_.Count()) {
        // No frame: nothing may name a file that is gone.
        fileName_->setText("Current Files Name");
        size_->setText("image size");
        preview_->Clear();
        return;
    }
    const QString name = Q(frames_.Names()[static_cast<std::size_t>(index)]);
    const QString path = FrameDirectory() + name;
    fileName_->setText(name);
    if ((IsJpegFrame(name) || IsBmpFrame(name) || IsArchiveFrame(path)) &&
        QFileInfo::exists(path)) {
        try {
            const Bitmap24 picture = IsJpegFrame(name)  ? ReadJpegFile(path.toStdString())
                                     : IsBmpFrame(name) ? ReadBmpFile(path.toStdString())
                                                        : ReadArchivePicture(path.toStdString());
            preview_->SetBitmap(picture);
            size_->setText(QString("%1 x %2 pixels").arg(picture.Width()).arg(picture.Height()));
        } catch (const std::exception&) {
            preview_->Clear();
            size_->setText("image size");
            if (reportFailure) throw;
        }
    }
}

void AviToolWindow::EnterNewSettings() {
    movieName_ = nameEdit_->text() + ".avi";
    fileInUse_->setText(movieName_);
    const std::optional<int> rate = ParseWholeNumber(rateEdit_->text().trimmed().toStdString());
    if (!rate) throw std::invalid_argument(NotAnIntegerText(rateEdit_->text().toStdString()));
    if (*rate <= 0) {
        throw std::invalid_argument("The frame rate must be at least 1 frame per second, not " +
                                    std::to_string(*rate) + ".");
    }
    rate_ = *rate;
}

void AviToolWindow::ProposeMovieName() {
    if (link_ == nullptr) return;
    if (taggingRun_) link_->ShowListDirectory(FrameDirectory().toStdString());
    const DecodeState& decoded = link_->Decoded();
    const DecodedPanel& panel = decoded.panel;
    if (panel.sol == "Invalid" || panel.sol.empty()) {
        nameEdit_->setText("NoNameYet");
        return;
    }
    nameEdit_->setText(Q("Mer" + panel.roverNumber + decoded.product.CameraLetter + "Sol" +
                         panel.sol + "Hr" + panel.elapsedHours + "Min" + panel.elapsedMinutes));
}

void AviToolWindow::MakeAvi() {
    if (!frames_.Empty()) frameList_->setCurrentRow(0);
    SetStatus("Writing AVI", QColor(0, 0, 255));
    try {
        EnterNewSettings();
    } catch (...) {
        // A refused rate: the previous one stays and nothing is written.
        SetStatus("Waiting", QColor(0, 128, 0));
        throw;
    }
    writeTimer_.start();
}

void AviToolWindow::WriteStep() {
    writeTimer_.stop();
    writeFailed_ = false;
    SetUpDirectories();
    const QString directory = FrameDirectory();
    std::vector<std::string> paths;
    for (const std::string& name : frames_.Names()) {
        if (Q(name) == movieName_) continue;  // the movie it replaces is no frame
        paths.push_back((directory + Q(name)).toStdString());
    }
    const QString target = directory + movieName_;
    // In the AVI source directory the movie replaces one of its name, as it always did; a
    // folder navigated to holds the user's own files, and one is replaced only when the user
    // says so.
    if (differentSource_ && QFileInfo::exists(target) &&
        !platform_.prompts.YesCancel(movieName_ + " already exists in " + directory +
                                     ". Replace it?")) {
        SetStatus("Waiting", QColor(0, 128, 0));
        return;
    }
    try {
        WriteMovie(target.toStdString(), paths, rate_, [this](int written, int total) {
            if (written % 8 == 0 || written == total) {
                status_->setText(QString("Writing AVI: frame %1 of %2").arg(written).arg(total));
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
            return true;
        });
    } catch (const MovieError& e) {
        writeFailed_ = true;
        SetStatus("AVI write FAILED", QColor(255, 0, 0));
        if (e.GetKind() == MovieError::Kind::NoFrames ||
            e.GetKind() == MovieError::Kind::FrameUnreadable) {
            platform_.prompts.Warning("AVI creation failed !");
        } else if (e.GetKind() == MovieError::Kind::WriteFailed && e.Frame() >= 0) {
            platform_.prompts.Message("Error during Write AVI File");  // a frame refused
        } else {
            platform_.prompts.Warning(QString::fromUtf8(e.what()));
        }
        RefreshLists();
        SelectLastFrame();
        return;
    }
    SetStatus("AVI written successfully", QColor(0, 128, 0));
    SetUpDirectories();
    const QString moved = OutputDirectory() + movieName_;
    if (QFileInfo::exists(moved)) {
        platform_.prompts.Information(movieName_ + " is already in " + OutputDirectory() +
                                      "; it was kept, and the new movie stays in " + directory +
                                      ".");
    } else if (!QFile::rename(target, moved)) {
        platform_.prompts.Warning("The movie could not be moved to " + OutputDirectory() +
                                  "; it stays in " + directory + ".");
    }
    RefreshLists();
    SelectLastFrame();
    player_->RefreshMovieList();
}

void AviToolWindow::ConvertJpgsToBmps() {
    const QString directory = FrameDirectory();
    // Converting deletes the pictures it converts. In the AVI source directory they are
    // copies; a folder navigated to holds the user's own pictures, which go only when the user
    // says so.
    if (differentSource_) {
        const std::vector<std::string>& listed = frames_.Names();
        const bool converts = std::any_of(listed.begin(), listed.end(), [&](const std::string& n) {
            return IsJpegFrame(Q(n)) || IsArchiveFrame(directory + Q(n));
        });
        if (converts &&
            !platform_.prompts.YesCancel(
                directory + " is not the AVI source directory. Its JPEG and archive pictures "
                            "will be replaced by bitmaps and deleted. Convert them?")) {
            platform_.prompts.Message("Cancel pressed, pictures will be kept.");
            return;
        }
    }
    // No file is ever replaced: x1.jpg and x1.JPG both make x1.bmp, and a frame may already
    // be a bitmap of that name. Such JPEGs stay, and the user is told which and why.
    std::map<QString, QString> madeFrom;  // bitmap name -> the JPEG it was made from
    QStringList unconverted;
    const std::vector<std::string> names = frames_.Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString name = Q(names[i]);
        const bool archive = !IsJpegFrame(name) && IsArchiveFrame(directory + name);
        if (!IsJpegFrame(name) && !archive) continue;
        status_->setText(QString("Converting %1 of %2").arg(i + 1).arg(names.size()));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const QString bmpName = BaseOf(name) + ".bmp";
        const QString bmp = directory + bmpName;
        // An archive frame goes with its detached label and data files, as one picture.
        std::vector<std::string> product;
        try {
            const std::string source = (directory + name).toStdString();
            if (archive) product = ArchiveProductFiles(source);
            const Bitmap24 picture = archive ? ReadArchivePicture(source) : ReadJpegFile(source);
            if (!WriteNewBmpFile(picture, bmp)) {
                const auto made = madeFrom.find(bmpName);
                unconverted << name + " was not converted: " + bmpName +
                                   (made != madeFrom.end()
                                        ? " was just made from " + made->second + "."
                                        : " already exists.");
                continue;
            }
            madeFrom[bmpName] = name;
            // The JPEG goes only once its bitmap reads back whole.
            if (!ReadBmpFile(bmp.toStdString()).SamePixels(picture)) {
                unconverted << name + " was kept: " + bmpName + " did not read back as written.";
                continue;
            }
        } catch (const std::exception& e) {
            unconverted << name + " was not converted: " + QString::fromUtf8(e.what());
            continue;
        }
        QFile::remove(directory + name);
        for (std::size_t k = 1; k < product.size(); ++k) QFile::remove(Q(product[k]));
    }
    const int row = frameList_->currentRow();
    RefreshLists();
    FrameSelected(frameList_->currentRow());
    SetStatus("Waiting", QColor(0, 128, 0));
    if (link_ != nullptr) {
        link_->ShowListDirectory(directory.toStdString());
        link_->SelectListEntry(ListedIndex(std::max(row, 0)));
        link_->DisplayCurrent();
    }
    ProposeMovieName();
    if (!unconverted.isEmpty()) platform_.prompts.Warning(unconverted.join('\n'));
}

void AviToolWindow::TagAllFrames() {
    if (tagTool_ == nullptr || link_ == nullptr) return;
    taggingRun_ = true;
    link_->ShowListDirectory(FrameDirectory().toStdString());
    tagTool_->SetAuto(true);
    if (!frames_.Empty()) frameList_->setCurrentRow(0);
    tagIndex_ = 0;
    tagTimer_.start();
}

void AviToolWindow::TagStep() {
    if (tagTool_ == nullptr || link_ == nullptr || tagIndex_ >= frames_.Count()) {
        tagTimer_.stop();
        SetStatus(QString("%1 frames tagged").arg(frames_.Count()), QColor(0, 128, 0));
        return;
    }
    const int index = tagIndex_++;
    status_->setText(QString("Tagging frame %1 of %2").arg(index + 1).arg(frames_.Count()));
    const QString name = Q(frames_.Names()[static_cast<std::size_t>(index)]);
    frameList_->setCurrentRow(index);
    link_->SelectListEntry(ListedIndex(index));
    link_->DisplayCurrent();
    tagTool_->LoadRefresh();
    tagTool_->BuildImageName();
    platform_.desktop.Wait(25);
    if (!tagTool_->UserTextOnly()) tagTool_->EnterAutoTag();
    platform_.desktop.Wait(25);
    tagTool_->PlaceText();
    // The tagged frame replaces its file; a ".jpeg" frame gets its copy beside it as ".jpg".
    const QString directory = FrameDirectory();
    const QString extension = ExtensionOf(name);
    if (IsJpegFrame(name)) {
        const QString target = (extension == ".jpg" || extension == ".JPG")
                                   ? directory + name
                                   : directory + BaseOf(name) + ".jpg";
        WriteJpegFile(tagTool_->Picture(), target.toStdString());
    } else if (IsBmpFrame(name)) {
        WriteBmpFile(tagTool_->Picture(), (directory + name).toStdString());
    }
    if (tagIndex_ >= frames_.Count()) {
        tagTimer_.stop();
        SetStatus(QString("%1 frames tagged").arg(frames_.Count()), QColor(0, 128, 0));
        RefreshLists();
        ProposeMovieName();
    }
}

void AviToolWindow::ShowTagSetup() {
    if (tagTool_ == nullptr) return;
    tagTool_->LoadRefresh();
    tagTool_->BuildImageName();
    tagTool_->ShowTool();
}

void AviToolWindow::DeleteFile() {
    const int row = frameList_->currentRow();
    if (!platform_.prompts.YesCancel("Confirm File Deletion")) {
        platform_.prompts.Message("Cancel pressed, file will be kept.");
        return;
    }
    platform_.prompts.Message("Yes pressed, file will be deleted.");
    if (row < 0 || row >= frames_.Count()) return;
    const std::string name = frames_.Names()[static_cast<std::size_t>(row)];
    const std::string failure = DeleteFileAt((FrameDirectory() + Q(name)).toStdString());
    if (!failure.empty()) {
        platform_.prompts.Error(Q(failure));
        return;
    }
    SetStatus(Q(name) + " FILE DELETED", QColor(255, 0, 0));
    RefreshLists();
    if (!frames_.Empty()) frameList_->setCurrentRow(frames_.Count() - 1);
}

void AviToolWindow::DeleteAll() {
    if (!platform_.prompts.YesCancel("Confirm ALL Files Deletion")) {
        platform_.prompts.Message("Cancel pressed, files will be kept.");
        return;
    }
    platform_.prompts.Message("Yes pressed, ALL files will be deleted.");
    RefreshLists();
    while (!frames_.Empty()) {
        const std::string name = frames_.Names().front();
        const std::string failure = DeleteFileAt((FrameDirectory() + Q(name)).toStdString());
        if (!failure.empty()) {
            // One file that will not go would otherwise be tried for ever.
            platform_.prompts.Error(Q(failure) + "\nThe other files were kept.");
            RefreshLists();
            return;
        }
        SetStatus(Q(name) + " FILE DELETED", QColor(255, 0, 0));
        RefreshLists();
    }
}

void AviToolWindow::CopyOrMove(bool move) {
    const int row = frameList_->currentRow();
    if (row < 0 || row >= frames_.Count()) return;
    const QString name = Q(frames_.Names()[static_cast<std::size_t>(row)]);
    const QString source = FrameDirectory() + name;
    const QString target = OutputDirectory() + name;
    if (QFileInfo::exists(target)) {
        platform_.prompts.Information(name + " is already in " + OutputDirectory() +
                                      "; it was kept.");
    } else if (move ? !QFile::rename(source, target)
                    : !CopyWithoutOverwrite(source.toStdString(), target.toStdString())) {
        platform_.prompts.Warning("The file " + name + " could not be " +
                                  (move ? "moved" : "copied") + " to " + OutputDirectory() + ".");
    }
    RefreshLists();
    player_->RefreshMovieList();
}

void AviToolWindow::MoveToOutput() {
    CopyOrMove(true);
}

void AviToolWindow::CopyToOutput() {
    CopyOrMove(false);
}

void AviToolWindow::CloseTool() {
    tagTimer_.stop();
    writeTimer_.stop();
    differentSource_ = false;
    player_->Shutdown();
    if (link_ != nullptr) {
        link_->HideAuxiliaryLists();
        link_->RestoreList(savedDirectory_, savedIndex_);
    }
    hide();
}

}  // namespace kobrix
