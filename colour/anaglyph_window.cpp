#include "colour/anaglyph_window.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "browse/browsing_link.h"
#include "browse/file_operations.h"
#include "imaging/image_file.h"
#include "widgets/controls.h"
#include "widgets/path_label.h"
#include "widgets/picture_filters.h"
#include "widgets/picture_view.h"
#include "widgets/setting_controls.h"

namespace kobrix {
namespace {

constexpr int kSmallView = 153;
constexpr int kResultView = 409;

const QStringList kOpenFilters = OpenPictureFilters();

}  // namespace

AnaglyphWindow::AnaglyphWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("ColourUnit200719");
    setWindowTitle("Anaglyph");

    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    root->addLayout(left);

    auto* heading = NamedLabel("Label4", "Files in use", this);
    MakeBold(*heading);
    left->addWidget(heading);
    file1_ = new PathLabel("File1", this);
    file1_->setObjectName("Label1");
    file2_ = new PathLabel("File2", this);
    file2_->setObjectName("Label2");
    fileToSave_ = new PathLabel("File to save", this);
    fileToSave_->setObjectName("Label9");
    saved_ = NamedLabel("Label13", QString(), this);
    SetTextColour(*saved_, QColor(0, 128, 0));
    MakeBold(*saved_);
    for (QLabel* label : {file1_, file2_, fileToSave_, static_cast<QLabel*>(saved_)}) {
        left->addWidget(label);
    }
    preselected_ = NamedLabel("PreselectedFile", "no", this);
    preselected_->hide();

    auto* views = new QHBoxLayout;
    view1_ = FittedSquareView("Image1", kSmallView, this);
    view2_ = FittedSquareView("Image2", kSmallView, this);
    views->addWidget(view1_);
    views->addWidget(view2_);
    views->addStretch();
    left->addLayout(views);

    // Buttons: the always visible ones, then those the manual controls reveal.
    auto* buttons = new QGridLayout;
    auto* manual = PlainButton("Button2", "Manual Adjustment Controls", this);
    auto* save = PlainButton("Button3", "Save As", this);
    auto* close = PlainButton("Button5", "Close", this);
    load1_ = PlainButton("Button9", "Load image 1 manually (R?)", this);
    load2_ = PlainButton("Button10", "Load image 2 manually (L?)", this);
    makeCyan_ = PlainButton("Button8", "Make Cyan", this);
    makeBlue_ = PlainButton("Button4", "Make Blue", this);
    makeRed_ = PlainButton("Button7", "Make Red", this);
    reset_ = PlainButton("Button1", "Reset", this);
    buttons->addWidget(manual, 0, 0, 1, 2);
    buttons->addWidget(save, 1, 0);
    buttons->addWidget(close, 1, 1);
    buttons->addWidget(load1_, 2, 0);
    buttons->addWidget(load2_, 2, 1);
    buttons->addWidget(makeCyan_, 3, 0);
    buttons->addWidget(makeBlue_, 3, 1);
    buttons->addWidget(reset_, 4, 0);
    buttons->addWidget(makeRed_, 4, 1);
    left->addLayout(buttons);

    auto* settings = new QGridLayout;
    merge_ = PercentBar("ScrollBar1", 50, 200, this);
    brightness_ = PercentBar("ScrollBar2", 0, 200, this);
    contrast_ = PercentBar("ScrollBar3", 50, 200, this);
    int row = 0;
    for (auto [bar, caption, valueName] : {std::tuple{merge_, "Merge", "MergeValue"},
                                           {contrast_, "Contrast", "ContrastValue"},
                                           {brightness_, "Brightness", "BrightnessValue"}}) {
        QLabel* captionLabel = PlainLabel(caption, this);
        QLabel* value = NamedLabel(valueName, QString::number(bar->value()) + "%", this);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance("100%"));
        settings->addWidget(captionLabel, row, 0);
        settings->addWidget(bar, row, 1);
        settings->addWidget(value, row, 2);
        settingControls_ << captionLabel << bar << value;
        connect(bar, &QScrollBar::valueChanged, this, [this, bar = bar, value] {
            RunGuarded(platform_.prompts, [&] { SettingChanged(bar, value); });
        });
        ++row;
    }
    left->addLayout(settings);
    left->addStretch();

    result_ = FittedSquareView("Image6", kResultView, this);
    root->addWidget(result_, 0, Qt::AlignTop);

    const auto wire = [this](QPushButton* button, void (AnaglyphWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { Guarded(handler); });
    };
    wire(manual, &AnaglyphWindow::Button2Click);
    wire(save, &AnaglyphWindow::Button3Click);
    wire(close, &AnaglyphWindow::Button5Click);
    wire(load1_, &AnaglyphWindow::Button9Click);
    wire(load2_, &AnaglyphWindow::Button10Click);
    wire(makeCyan_, &AnaglyphWindow::Button8Click);
    wire(makeBlue_, &AnaglyphWindow::Button4Click);
    wire(makeRed_, &AnaglyphWindow::Button7Click);
    wire(reset_, &AnaglyphWindow::Button1Click);

    SetManualControlsVisible(false);
    makeRed_->hide();
}

void AnaglyphWindow::Guarded(void (AnaglyphWindow::*handler)()) {
    RunGuarded(platform_.prompts, [this, handler] { (this->*handler)(); });
}

QString AnaglyphWindow::PreselectedFile() const {
    return preselected_->text();
}

AnaglyphSettings AnaglyphWindow::Settings() const {
    return {merge_->value(), contrast_->value(), brightness_->value()};
}

void AnaglyphWindow::SetManualControlsVisible(bool visible) {
    for (QWidget* control : {load1_, load2_, makeCyan_, makeBlue_, reset_}) {
        control->setVisible(visible);
    }
    for (QWidget* control : settingControls_) control->setVisible(visible);
}

void AnaglyphWindow::LoadPair(const QString& rightEyePath, const QString& leftEyePath) {
    for (QWidget* control : {reset_, makeBlue_, makeRed_, makeCyan_, load1_, load2_}) {
        control->hide();
    }
    preselected_->setText("yes");
    dialogFile_ = rightEyePath;
    Button9Click();
    dialogFile_ = leftEyePath;
    Button10Click();
    show();
    raise();
    loaded1_ = true;
    loaded2_ = true;
}

void AnaglyphWindow::Button9Click() {
    LoadImage(1);
}

void AnaglyphWindow::Button10Click() {
    LoadImage(2);
}

void AnaglyphWindow::LoadImage(int number) {
    if (preselected_->text() == "no") {
        const QString initial = link_ != nullptr
                                    ? QString::fromStdString(link_->Tree().MainImageDirectory)
                                    : QDir::current().filePath("All-MER-Images");
        const FileChoice choice = platform_.prompts.OpenPicture(
            number == 1 ? "Load image 1" : "Load image 2", kOpenFilters, 1, initial);
        if (!choice.accepted) return;
        dialogFile_ = choice.path;
    }
    (number == 1 ? file1_ : file2_)->setText(dialogFile_);
    // A file that cannot be read throws here: the label shows the new path, nothing else
    // changes.
    Bitmap24 source = ReadJpegOrBmp(dialogFile_.toStdString());
    if (number == 1) {
        source1_ = std::move(source);
        loaded1_ = true;
        view1_->SetBitmap(source1_);
        Button8Click();  // Make Cyan
    } else {
        source2_ = std::move(source);
        loaded2_ = true;
        view2_->SetBitmap(source2_);
        Button7Click();  // Make Red
    }
}

void AnaglyphWindow::Separate1(Separation kind) {
    separated1_ = Separate(source1_, kind);
    view1_->SetBitmap(separated1_);
    Button1Click();
}

void AnaglyphWindow::Button8Click() {
    Separate1(Separation::Cyan);
}

void AnaglyphWindow::Button4Click() {
    Separate1(Separation::Blue);
}

void AnaglyphWindow::Button7Click() {
    separated2_ = Separate(source2_, Separation::Red);
    view2_->SetBitmap(separated2_);
    Button1Click();
}

void AnaglyphWindow::Button1Click() {
    // Merge goes to 49 and back to 50 so that the last assignment always moves its bar, and
    // the picture is rendered once more at the reset values.
    merge_->setValue(49);
    contrast_->setValue(kAnaglyphResetSettings.contrast);
    brightness_->setValue(kAnaglyphResetSettings.brightness);
    merge_->setValue(kAnaglyphResetSettings.merge);
}

void AnaglyphWindow::SettingChanged(QScrollBar* bar, QLabel* value) {
    value->setText(QString::number(bar->value()) + "%");
    if (loaded1_ && loaded2_) Render();
}

void AnaglyphWindow::Render() {
    // Both separated pictures exist once both sources are loaded.
    if (separated1_.Empty() || separated2_.Empty()) return;
    RenderAnaglyph(separated1_, separated2_, Settings(), final_);
    result_->SetBitmap(final_);
}

void AnaglyphWindow::Button2Click() {
    SetManualControlsVisible(true);
    preselected_->setText("no");
}

void AnaglyphWindow::Button3Click() {
    if (!loaded1_ || !loaded2_ || link_ == nullptr) return;
    const std::string tag = AnaglyphSettingsTag(Settings());
    const std::string base = QFileInfo(dialogFile_).completeBaseName().toStdString();
    const std::string directory = link_->ListDirectory();
    const int index = link_->ListSelection();
    // The main window goes back where it was whatever happens in between.
    struct Restore {
        BrowsingLink& link;
        std::string directory;
        int index;
        ~Restore() { link.RestoreList(directory, index); }
    } restore{*link_, directory, index};

    const std::string saveDirectory = WithTrailingSeparator(link_->Tree().AnaglyphSaveDirectory);
    link_->ShowListDirectory(saveDirectory);
    const std::string candidate =
        NumberedAnaglyphName(base, tag, DirectoryEntryNames(saveDirectory));
    const QString proposal =
        QString::fromStdString(saveDirectory + candidate.substr(0, candidate.size() - 4));
    fileToSave_->setText(proposal);
    QStringList filters;
    for (const char* filter : kAnaglyphSaveFilters) filters << filter;
    const FileChoice choice =
        platform_.prompts.SavePicture("Save As", filters, kAnaglyphJpegFilter, proposal);
    if (!choice.accepted) return;
    fileToSave_->setText(choice.path);
    const SaveTarget target = AnaglyphSaveTarget(choice.path.toStdString(), choice.filterIndex);
    // The dialog asked about the name as typed; the file written may be another one.
    if (target.path != choice.path.toStdString() && PathExists(target.path) &&
        !platform_.prompts.YesCancel(QString::fromStdString(target.path) +
                                     " already exists. Replace it?")) {
        return;
    }
    WriteSaveTarget(final_, target);
    // Only a file really written is reported as saved.
    saved_->setText("SAVED");
}

void AnaglyphWindow::Button5Click() {
    for (QWidget* control : {makeBlue_, makeRed_, makeCyan_, load1_, load2_}) control->hide();
    for (QWidget* control : settingControls_) control->hide();
    preselected_->setText("no");
    loaded1_ = false;
    loaded2_ = false;
    file1_->clear();
    file2_->clear();
    fileToSave_->clear();
    hide();
}

}  // namespace kobrix
