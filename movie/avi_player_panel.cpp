#include "movie/avi_player_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "browse/file_operations.h"
#include "decode/rounding.h"
#include "movie/core/movie_decoder.h"
#include "movie/large_player_window.h"
#include "widgets/controls.h"
#include "widgets/directory_browser.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr int kPanelSide = 241;
constexpr const char* kNoMovies = "Incorrect filetypes or no AVIs were found.";
constexpr const char* kNoMovieOpen =
    "No movie is open: choose one in the movie list and press \"Play AVI\".";
constexpr const char* kChooseMovie = "Choose a movie in the movie list first.";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

AviPlayerPanel::AviPlayerPanel(Platform& platform, AviPlayerHooks hooks, QWidget* parent)
    : QWidget(parent), platform_(platform), hooks_(std::move(hooks)) {
    setObjectName("AviPlayerPanel");
    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);

    auto* lists = new QVBoxLayout;
    root->addLayout(lists, 1);
    drives_ = new QComboBox(this);
    drives_->setObjectName("DriveComboBox2");
    directories_ = new QListWidget(this);
    directories_->setObjectName("DirectoryListBox2");
    directories_->setToolTip("Choose the directory of the movies");
    browser_ = new DirectoryBrowser(*drives_, *directories_, this);
    connect(browser_, &DirectoryBrowser::directoryChosen, this, [this](const QString& path) {
        Guarded([this, path] { ChooseOutputDirectory(path); });
    });
    lists->addWidget(drives_);
    lists->addWidget(directories_, 1);
    lists->addWidget(PlainLabel("AVIoutput directory files", this));
    // The plain file list lies under the movie list: the entries name its files.
    outputList_ = new QListWidget(this);
    outputList_->setObjectName("OutputList");
    outputList_->hide();
    movieList_ = new QListWidget(this);
    movieList_->setObjectName("MovieList");
    connect(movieList_, &QListWidget::currentRowChanged, this,
            [this](int row) { Guarded([this, row] { MovieSelected(row); }); });
    lists->addWidget(movieList_, 2);

    panel_ = NamedLabel("AVIoutput", "AVI output", this);
    panel_->setFixedSize(kPanelSide, kPanelSide);
    panel_->setAlignment(Qt::AlignCenter);
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    root->addWidget(panel_, 0, Qt::AlignTop);

    auto* controls = new QGridLayout;
    root->addLayout(controls);
    const auto button = [&](const char* name, const char* caption,
                            void (AviPlayerPanel::*handler)(), int row, int column) {
        QPushButton* b = PlainButton(name, caption, this);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        controls->addWidget(b, row, column);
        return b;
    };
    button("Play AVI", "Play AVI", &AviPlayerPanel::PlayAvi, 0, 0);
    button("Play Large AVI", "Play Large AVI", &AviPlayerPanel::PlayLargeAvi, 0, 1);
    pause_ = button("Pause", "Pause", &AviPlayerPanel::PauseOrContinue, 1, 0);
    button("Stop", "Stop", &AviPlayerPanel::StopMovie, 1, 1);
    button("Flash 1st Frame", "Flash 1st Frame", &AviPlayerPanel::FlashFirstFrame, 2, 0);
    loop_ = new QCheckBox("Loop AVI", this);
    loop_->setObjectName("LoopAVI");
    controls->addWidget(loop_, 2, 1);
    button("Mov2Source", "Mov2Source", &AviPlayerPanel::MoveToSource, 3, 0);
    button("DeleteMovie", "Delete File", &AviPlayerPanel::DeleteMovie, 3, 1);
    auto* framesRow = new QHBoxLayout;
    framesRow->addWidget(PlainLabel("Frames", this));
    framesLabel_ = NamedLabel("FramesLabel", "0", this);
    framesRow->addWidget(framesLabel_, 1);
    controls->addLayout(framesRow, 4, 0, 1, 2);
    frames_ = new QSlider(Qt::Horizontal, this);
    frames_->setObjectName("FramesBar");
    frames_->setRange(0, 0);
    frames_->setTickPosition(QSlider::TicksBelow);
    connect(frames_, &QSlider::valueChanged, this,
            [this](int value) { Guarded([this, value] { TrackBarMoved(value); }); });
    controls->addWidget(frames_, 5, 0, 1, 2);
    controls->setRowStretch(6, 1);

    loopTimer_.setObjectName("LoopTimer");
    loopTimer_.setInterval(100);
    connect(&loopTimer_, &QTimer::timeout, this, [this] { Guarded([this] { LoopStep(); }); });
    hintTimer_.setObjectName("HintTimer");
    hintTimer_.setSingleShot(true);
    hintTimer_.setInterval(50);
    connect(&hintTimer_, &QTimer::timeout, this, [this] { Guarded([this] { ShowSizeHint(); }); });
}

void AviPlayerPanel::SetLargePlayer(LargePlayerWindow& window) {
    large_ = &window;
    connect(large_, &LargePlayerWindow::screenClicked, this,
            [this] { Guarded([this] { LargePlayerClicked(); }); });
    connect(large_, &LargePlayerWindow::closed, this,
            [this] { Guarded([this] { LargePlayerClosed(); }); });
}

LargePlayerWindow& AviPlayerPanel::LargePlayer() {
    if (large_ == nullptr) {
        ownLarge_ = std::make_unique<LargePlayerWindow>();
        SetLargePlayer(*ownLarge_);
    }
    return *large_;
}

AviPlayerPanel::~AviPlayerPanel() {
    player_.Close();
}

void AviPlayerPanel::Guarded(const std::function<void()>& action) {
    RunGuarded(platform_.prompts, action);
}

QString AviPlayerPanel::OutputDirectory() const {
    if (!chosenOutput_.isEmpty()) return chosenOutput_;
    return hooks_.defaultOutput ? hooks_.defaultOutput() : QString();
}

void AviPlayerPanel::ChooseOutputDirectory(const QString& directory) {
    QString chosen = QDir(directory).absolutePath();
    if (!chosen.endsWith('/')) chosen += '/';
    chosenOutput_ = chosen;
    RefreshMovieList();
}

void AviPlayerPanel::ShowDefaultOutput() {
    if (chosenOutput_.isEmpty()) {
        browser_->SetCurrent(OutputDirectory());
        return;
    }
    // The lists name the other directory's files: they are read again.
    chosenOutput_.clear();
    RefreshMovieList();
}

QString AviPlayerPanel::EntryPath(int row) const {
    if (row < 0 || row >= static_cast<int>(movieFiles_.size())) return {};
    return OutputDirectory() + Q(movieFiles_[static_cast<std::size_t>(row)]);
}

QStringList AviPlayerPanel::MovieEntries() const {
    QStringList entries;
    for (int i = 0; i < movieList_->count(); ++i) entries << movieList_->item(i)->text();
    return entries;
}

void AviPlayerPanel::RefreshMovieList() {
    const QString directory = OutputDirectory();
    browser_->SetCurrent(directory);
    output_.Read(directory.toStdString());
    outputList_->clear();
    for (const std::string& name : output_.Names()) outputList_->addItem(Q(name));
    const QSignalBlocker block(movieList_);
    movieList_->clear();
    movieFiles_.clear();
    bool lastFailed = true;  // so an empty directory gets the message too
    for (const std::string& name : output_.Names()) {
        const MovieProbe probe = ProbeMovie((directory + Q(name)).toStdString());
        if (probe.noPlayer) {
            // No file would play: the reason, instead of calling every file no movie.
            platform_.prompts.Message(Q(probe.error));
            return;
        }
        lastFailed = !probe.error.empty();
        if (lastFailed) continue;
        movieList_->addItem(
            QString("%1 --- %2 x %3").arg(Q(name)).arg(probe.width).arg(probe.height));
        movieFiles_.push_back(name);
    }
    if (lastFailed) platform_.prompts.Message(kNoMovies);
}

void AviPlayerPanel::MovieSelected(int row) {
    const QString path = EntryPath(row);
    if (path.isEmpty()) return;
    selectedMovie_ = path;
    hintTimer_.start();
}

void AviPlayerPanel::ShowSizeHint() {
    if (selectedMovie_.isEmpty()) return;
    const QFileInfo file(selectedMovie_);
    if (!file.exists()) return;
    const auto kb = RoundHalfEven(static_cast<double>(file.size()) / 1024.0);
    movieList_->setToolTip(QString::number(kb) + " kb");
}

bool AviPlayerPanel::OpenSelected() {
    // A stopped movie is forgotten; the entry still chosen in the list is meant.
    if (selectedMovie_.isEmpty()) MovieSelected(movieList_->currentRow());
    if (selectedMovie_.isEmpty()) {
        platform_.prompts.Message(kChooseMovie);
        return false;
    }
    try {
        player_.Open(selectedMovie_);
    } catch (const MovieReadError& e) {
        // Listed, but gone or changed since, or no longer playable.
        platform_.prompts.Message(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void AviPlayerPanel::PlayOnceOrLoop() {
    if (loop_->isChecked()) {
        loopTimer_.start();
    } else {
        player_.Play(-1, true);
    }
}

void AviPlayerPanel::PlayAvi() {
    if (!OpenSelected()) return;
    {
        const QSignalBlocker block(frames_);
        frames_->setMaximum(player_.Length() / 10);
        frames_->setValue(0);
    }
    framesLabel_->setText(QString::number(player_.Length() / 10));
    player_.SetDisplayWindow(panel_);
    player_.SetDisplayRect(QRect(1, 1, panel_->width() - 2, panel_->height() - 2));
    PlayOnceOrLoop();
}

void AviPlayerPanel::PlayLargeAvi() {
    if (selectedMovie_.isEmpty() && movieList_->currentRow() < 0) {
        platform_.prompts.Message(kChooseMovie);
        return;
    }
    LargePlayerWindow& large = LargePlayer();
    large.show();
    large.raise();
    PictureView& screen = large.ImageWindow();
    player_.SetDisplayWindow(&screen);
    if (!OpenSelected()) return;
    // At its own size at the top left; a movie larger than the window is fitted into it.
    const QSize natural = player_.NaturalSize();
    if (natural.width() > screen.width() || natural.height() > screen.height()) {
        player_.SetDisplayRect(
            PictureView::PictureRectFor(natural, screen.size(), true, true, false));
    }
    PlayOnceOrLoop();
}

void AviPlayerPanel::PauseOrContinue() {
    pause_->setText(pause_->text() == "Pause" ? "Continue" : "Pause");
    if (!player_.IsOpen()) {
        platform_.prompts.Message(kNoMovieOpen);
        return;
    }
    if (player_.Mode() == PlayerMode::Playing) {
        player_.Pause();
    } else if (player_.Mode() == PlayerMode::Paused) {
        player_.Resume();
    }
}

void AviPlayerPanel::StopMovie() {
    player_.Stop();
    selectedMovie_.clear();
    player_.ClearDisplay();
    loopTimer_.stop();
}

void AviPlayerPanel::TrackBarMoved(int position) {
    if (!player_.IsOpen()) {
        platform_.prompts.Message(kNoMovieOpen);
        return;
    }
    // The bar counts tens of frames, as its maximum and the "Frames" figure do.
    player_.Play(position * 10, true);
}

void AviPlayerPanel::LoopStep() {
    // Replays a movie that ended well; one playing, paused, stopped or failed stays as it is.
    if (player_.IsOpen() && player_.Mode() == PlayerMode::Stopped &&
        player_.LastResult() == PlayResult::Successful) {
        player_.Play(-1, true);
    }
}

void AviPlayerPanel::FlashFirstFrame() {
    selectedMovie_ = EntryPath(movieList_->currentRow());
    PlayAvi();
    platform_.desktop.Wait(100);
    StopMovie();
}

QString AviPlayerPanel::ChosenMovie() {
    const QString path =
        selectedMovie_.isEmpty() ? EntryPath(movieList_->currentRow()) : selectedMovie_;
    if (path.isEmpty()) platform_.prompts.Message(kChooseMovie);
    return path;
}

void AviPlayerPanel::MoveToSource() {
    const QString source = ChosenMovie();
    if (source.isEmpty()) return;
    const QString name = QFileInfo(source).fileName();
    const QString directory = hooks_.frameDirectory ? hooks_.frameDirectory() : QString();
    const QString target = directory + name;
    if (player_.FileName() == source) player_.Close();
    if (QFileInfo::exists(target)) {
        platform_.prompts.Information(name + " is already in " + directory + "; it was kept.");
    } else if (!QFile::rename(source, target)) {
        platform_.prompts.Warning("The file " + name + " could not be moved to " + directory + ".");
    } else {
        selectedMovie_.clear();
    }
    if (hooks_.refreshFrames) hooks_.refreshFrames();
    RefreshMovieList();
}

void AviPlayerPanel::DeleteMovie() {
    const QString path = ChosenMovie();
    if (path.isEmpty()) return;
    if (!platform_.prompts.YesCancel("Confirm File Deletion")) {
        platform_.prompts.Message("Cancel pressed, file will be kept.");
        return;
    }
    platform_.prompts.Message("Yes pressed, file will be deleted.");
    if (player_.FileName() == path) player_.Close();
    const std::string failure = DeleteFileAt(path.toStdString());
    if (!failure.empty()) {
        platform_.prompts.Error(Q(failure));
        return;
    }
    if (hooks_.setStatus) {
        hooks_.setStatus(QFileInfo(path).fileName() + " FILE DELETED", QColor(255, 0, 0));
    }
    RefreshMovieList();  // reads the output list again: its first file is the one chosen now
    selectedMovie_ = output_.Empty() ? QString() : OutputDirectory() + Q(output_.Names().front());
}

void AviPlayerPanel::LargePlayerClicked() {
    LargePlayerClosed();
    LargePlayer().ImageWindow().update();
    LargePlayer().close();
}

void AviPlayerPanel::LargePlayerClosed() {
    loopTimer_.stop();
    if (player_.DisplayWindow() == &LargePlayer().ImageWindow()) {
        player_.Stop();
        player_.ClearDisplay();
    }
    loop_->setChecked(false);
}

void AviPlayerPanel::Shutdown() {
    loopTimer_.stop();
    hintTimer_.stop();
    player_.Close();
    if (large_ != nullptr) large_->hide();
}

}  // namespace kobrix
