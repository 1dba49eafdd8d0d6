#include "colour/colour_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "browse/browsing_link.h"
#include "browse/file_operations.h"
#include "colour/core/anaglyph.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "widgets/controls.h"
#include "widgets/picture_filters.h"
#include "widgets/picture_view.h"
#include "widgets/setting_controls.h"

namespace kobrix {
namespace {

constexpr int kBandView = 113;
constexpr int kCompositeView = 425;

const QStringList kPictureFilters = {"All (*.jpg;*.jpeg;*.bmp)", "JPEG Image File (*.jpg)",
                                     "JPEG Image File (*.jpeg)", "Bitmaps (*.bmp)"};
constexpr int kJpegFilter = 2;

constexpr const char* kCombinedFile = "CombinedTemp.jpg";
constexpr const char* kBlueMixFile = "BlueMER2RGBTempImage.jpg";
constexpr const char* kRedMixFile = "RedMER2RGBTempImage.jpg";

QString Percent(int value) {
    return QString::number(value) + "%";
}

}  // namespace

ColourWindow::ColourWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("ColourAltUnit200720");
    slots_[0].workingFile = "BlueTempImage.jpg";
    slots_[1].workingFile = "GreenTempImage.jpg";
    slots_[2].workingFile = "RedTempImage.jpg";
    setWindowTitle("Colour");

    auto* root = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    root->addLayout(top);

    auto* left = new QVBoxLayout;
    top->addLayout(left);
    BuildEffects();
    auto* bands = new QHBoxLayout;
    bands->addWidget(BuildSlot(Band::Red, "Button3", "Red band"));
    bands->addWidget(BuildSlot(Band::Green, "Button2", "Green band"));
    bands->addWidget(BuildSlot(Band::Blue, "Button1", "Blue band"));
    left->addLayout(bands);
    auto* solarizeRow = new QHBoxLayout;
    solarizeRow->addWidget(sliderLabels_[3]);
    solarizeRow->addWidget(sliders_[3], 1);
    left->addLayout(solarizeRow);

    auto* buttons = new QGridLayout;
    auto* straight = PlainButton("Button5", "Straight RGB Combination", this);
    auto* mer2rgb = PlainButton("Button34", "MER2RGB Method", this);
    auto* invert = PlainButton("Button15", "Invert RGB", this);
    auto* solarize = PlainButton("Button42", "Solarize", this);
    auto* save = PlainButton("Button7", "Save as", this);
    auto* close = PlainButton("Button4", "Close", this);
    buttons->addWidget(straight, 0, 0);
    buttons->addWidget(mer2rgb, 0, 1);
    buttons->addWidget(invert, 0, 2);
    buttons->addWidget(solarize, 1, 0);
    buttons->addWidget(save, 1, 1);
    buttons->addWidget(close, 1, 2);
    left->addLayout(buttons);
    autoColour_ = new QCheckBox("Auto Colour", this);
    autoColour_->setObjectName("CheckBox4");
    status_ = NamedLabel("Label22", QString(), this);
    MakeBold(*status_);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(autoColour_);
    statusRow->addWidget(status_, 1);
    left->addLayout(statusRow);
    for (const char* text :
         {"Left Eye Filters 1=739nm, 2=753nm, 3=673nm, 4= 601nm, 5=535nm, 6= 482nm, 7=432nm, "
          "8=440nm",
          "Right Eye Filters 1=436nm, 2=754nm, 3=803nm, 4=864nm, 5=904nm, 6=934nm, 7=1009nm, "
          "8=880nm",
          "R = 700nm, G = 546.1nm, B = 438.8nm. "}) {
        QLabel* label = PlainLabel(text, this);
        label->setWordWrap(true);
        left->addWidget(label);
    }
    left->addStretch();

    auto* right = new QVBoxLayout;
    top->addLayout(right);
    auto* stack = new QGridLayout;
    compositeView_ = FittedSquareView("Image7", kCompositeView, this);
    placeholder_ = new QFrame(this);
    placeholder_->setObjectName("Shape1");
    placeholder_->setFrameShape(QFrame::Box);
    placeholder_->setFixedSize(kCompositeView, kCompositeView);
    stack->addWidget(compositeView_, 0, 0);
    stack->addWidget(placeholder_, 0, 0);
    right->addLayout(stack);
    prefix_ = NamedLabel("Label13", QString(), this);
    saveDirectory_ = NamedLabel("Label17", QString(), this);
    backDirectory_ = NamedLabel("Label18", QString(), this);
    for (QLabel* label : {prefix_, saveDirectory_, backDirectory_}) {
        label->setWordWrap(true);
        label->setMaximumWidth(kCompositeView);
        right->addWidget(label);
    }
    right->addStretch();

    // The band identification button carries what the automatic processing loaded last.
    bandId_ = PlainButton("Button31", "FILTER BAND ID", this);
    bandId_->hide();
    for (PictureView* view : channelViews_) view->hide();
    for (int i = 0; i < 4; ++i) {
        sliders_[i]->hide();
        sliderLabels_[i]->hide();
    }

    const auto wire = [this](QPushButton* button, void (ColourWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    wire(straight, &ColourWindow::Button5Click);
    wire(mer2rgb, &ColourWindow::Button34Click);
    wire(invert, &ColourWindow::Button15Click);
    wire(solarize, &ColourWindow::Button42Click);
    wire(save, &ColourWindow::Button7Click);
    wire(close, &ColourWindow::Button4Click);
    connect(autoColour_, &QCheckBox::toggled, this, [this](bool on) {
        if (hooks_.setAutoOption) hooks_.setAutoOption(on);
    });
}

QWidget* ColourWindow::BuildSlot(Band band, const char* button, const QString& caption) {
    static constexpr const char* kFileLabels[] = {"Label1", "Label2", "Label3"};
    static constexpr const char* kFilterLabels[] = {"Label19", "Label20", "Label21"};
    static constexpr const char* kViews[] = {"Image4", "Image5", "Image6"};
    static constexpr const char* kPresets[] = {"BluePreset", "GreenPreset", "RedPreset"};
    static constexpr const char* kLoadCaptions[] = {"Load Blue Band Image", "Load Green Band Image",
                                                    "Load Red Band Image"};
    const int i = static_cast<int>(band);
    BandSlot& slot = slots_[i];

    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* load = PlainButton(button, kLoadCaptions[i], box);
    connect(load, &QPushButton::clicked, this,
            [this, band] { Guarded([this, band] { LoadBand(band); }); });
    column->addWidget(load);
    slot.fileLabel = NamedLabel(kFileLabels[i], QString(), box);
    column->addWidget(slot.fileLabel);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(PlainLabel(caption, box));
    slot.filterLabel = NamedLabel(kFilterLabels[i], "Fltr", box);
    MakeBold(*slot.filterLabel);
    captionRow->addWidget(slot.filterLabel);
    captionRow->addStretch();
    column->addLayout(captionRow);
    slot.view = FittedSquareView(kViews[i], kBandView, box);
    column->addWidget(slot.view);
    // The slot's MER2RGB channel under it.
    channelViews_[i]->setParent(box);
    column->addWidget(channelViews_[i]);
    auto* sliderRow = new QHBoxLayout;
    sliders_[i]->setParent(box);
    sliderLabels_[i]->setParent(box);
    sliderRow->addWidget(sliders_[i], 1);
    sliderRow->addWidget(sliderLabels_[i]);
    column->addLayout(sliderRow);
    column->addStretch();
    slot.presetLabel = NamedLabel(kPresets[i], QString(), box);
    slot.presetLabel->hide();
    return box;
}

void ColourWindow::BuildEffects() {
    static constexpr const char* kViews[] = {"Image1", "Image2", "Image3"};
    static constexpr const char* kBars[] = {"ScrollBar1", "ScrollBar2", "ScrollBar3", "ScrollBar4"};
    static constexpr const char* kValues[] = {"Label10", "Label11", "Label12", "Label24"};
    for (int i = 0; i < 4; ++i) {
        if (i < 3) channelViews_[i] = FittedSquareView(kViews[i], kBandView, this);
        sliders_[i] = PercentBar(kBars[i], i == 3 ? 0 : 50, kBandView, this);
        sliderLabels_[i] = NamedLabel(kValues[i], i == 3 ? "Solarize Slider" : Percent(50), this);
        const int number = i + 1;
        connect(sliders_[i], &QScrollBar::valueChanged, this,
                [this, number] { Guarded([this, number] { SliderChanged(number); }); });
    }
    sliders_[3]->setToolTip("Mouse on button n hold down");
}

void ColourWindow::Attach(BrowsingLink& link, ColourWindowHooks hooks) {
    link_ = &link;
    hooks_ = std::move(hooks);
}

void ColourWindow::Guarded(const std::function<void()>& action) {
    RunGuarded(platform_.prompts, action);
}

bool ColourWindow::AutoColour() const {
    return autoColour_->isChecked();
}

void ColourWindow::SetAutoColour(bool on) {
    autoColour_->setChecked(on);
}

void ColourWindow::SetDialogDirectory(const QString& directory) {
    dialogDirectory_ = directory;
}

void ColourWindow::SetDialogFile(Band band, const QString& name) {
    Slot(band).dialogFile = name;
}

QString ColourWindow::DialogFile(Band band) const {
    return Slot(band).dialogFile;
}

void ColourWindow::SetPrefix(const QString& prefix) {
    prefix_->setText(prefix);
}

QString ColourWindow::Prefix() const {
    return prefix_->text();
}

void ColourWindow::SetPresetNames(const QString& red, const QString& green, const QString& blue) {
    for (auto [band, name] :
         {std::pair{Band::Red, red}, {Band::Green, green}, {Band::Blue, blue}}) {
        Slot(band).preset = name;
        Slot(band).presetLabel->setText(name);
    }
}

QString ColourWindow::PresetName(Band band) const {
    return Slot(band).preset;
}

void ColourWindow::SetStatus(const QString& text, const QColor& colour) {
    status_->setText(text);
    SetTextColour(*status_, colour);
}

void ColourWindow::SetBandIdCaption(const QString& caption) {
    bandId_->setText(caption);
}

QString ColourWindow::WorkingDirectory() const {
    if (link_ != nullptr && !link_->ListDirectory().empty()) {
        return QString::fromStdString(link_->ListDirectory());
    }
    return QDir::currentPath();
}

QString ColourWindow::PathIn(const QString& name) const {
    return QFileInfo(name).isAbsolute() ? name : QDir(WorkingDirectory()).filePath(name);
}

bool ColourWindow::AllLoaded() const {
    return slots_[0].loaded && slots_[1].loaded && slots_[2].loaded;
}

void ColourWindow::LoadBand(Band band) {
    static constexpr const char* kTitles[] = {"Load Blue Band Image", "Load Green Band Image",
                                              "Load Red Band Image"};
    BandSlot& slot = Slot(band);
    if (!AutoColour()) {
        const QString initial = slot.dialogFile.isEmpty() ? dialogDirectory_ : slot.dialogFile;
        const FileChoice choice = platform_.prompts.OpenPicture(
            kTitles[static_cast<int>(band)], OpenPictureFilters(), 1, PathIn(initial));
        if (!choice.accepted) return;
        slot.dialogFile = choice.path;
    }
    slot.fileLabel->setText(QFileInfo(slot.dialogFile).fileName());
    const QString path = PathIn(AutoColour() ? slot.preset : slot.dialogFile);
    // A file that cannot be read throws here: the label shows the new name, the slot keeps
    // what it had.
    slot.source = ReadJpegOrBmp(path.toStdString());
    slot.loaded = true;
    placeholder_->hide();
    slot.view->SetBitmap(slot.source);
    WriteWorkingFile(slot.source, slot.workingFile);
    LoadedCheck();
}

void ColourWindow::LoadedCheck() {
    if (!AllLoaded()) return;
    if (hooks_.allBandsLoaded) hooks_.allBandsLoaded();
    StraightCombination();
}

void ColourWindow::Button5Click() {
    // With a slot empty there is no common area to combine.
    if (AllLoaded()) StraightCombination();
}

void ColourWindow::StraightCombination() {
    solarized_ = false;
    composite_ = kobrix::StraightCombination(Slot(Band::Blue).source, Slot(Band::Green).source,
                                             Slot(Band::Red).source);
    compositeView_->SetBitmap(composite_);
    WriteWorkingFile(composite_, kCombinedFile);
    ShowFilterLabels();
    if (hooks_.combined) hooks_.combined();
    SetStatus("RGB Loaded.");
    SetEffectFlags(false, false);
}

void ColourWindow::ShowFilterLabels() {
    UpdateFilterTags(tags_, Slot(Band::Blue).fileLabel->text().toStdString(),
                     Slot(Band::Green).fileLabel->text().toStdString(),
                     Slot(Band::Red).fileLabel->text().toStdString(),
                     hooks_.autoOption && hooks_.autoOption());
    Slot(Band::Blue).filterLabel->setText(QString::fromStdString(tags_.blue));
    Slot(Band::Green).filterLabel->setText(QString::fromStdString(tags_.green));
    Slot(Band::Red).filterLabel->setText(QString::fromStdString(tags_.red));
}

void ColourWindow::WriteWorkingFile(const Bitmap24& picture, const char* name) {
    const QString path = PathIn(name);
    try {
        WritePictureByExtension(picture, path.toStdString());
        reportedFailures_.remove(path);
    } catch (const ImageError& e) {
        // Once per file: the slider would otherwise repeat the box on every step.
        if (reportedFailures_.contains(path)) return;
        reportedFailures_.insert(path);
        platform_.prompts.Warning("The working file " + path +
                                  " cannot be written: " + QString::fromUtf8(e.what()));
    }
}

Bitmap24 ColourWindow::ReadWorkingFile(const char* name) const {
    return ReadJpegOrBmp(PathIn(name).toStdString());
}

void ColourWindow::Button7Click() {
    if (!AllLoaded() || link_ == nullptr) return;
    const std::string directory = link_->ListDirectory();
    const int index = link_->ListSelection();
    const std::string saveDirectory = WithTrailingSeparator(link_->Tree().Directory_456_RGB);
    link_->ShowListDirectory(saveDirectory);
    saveDirectory_->setText(QString::fromStdString(saveDirectory));

    const std::string base =
        QFileInfo(Slot(Band::Green).fileLabel->text()).completeBaseName().toStdString();
    const QString proposal = QString::fromStdString(
        saveDirectory + CompositeSaveName(base, tags_.tag, CompositeMiddle(inverted_, solarized_),
                                          DirectoryEntryNames(saveDirectory)));
    saveDirectory_->setText(proposal);
    const FileChoice choice =
        platform_.prompts.SavePicture("Save as", kPictureFilters, kJpegFilter, proposal);
    // The main window goes back where it was whatever happens from here.
    const auto restore = [&] {
        link_->RestoreList(directory, index);
        backDirectory_->setText(QString::fromStdString(directory));
    };
    if (!choice.accepted) {
        restore();
        return;
    }
    try {
        const SaveTarget target = AnaglyphSaveTarget(choice.path.toStdString(), choice.filterIndex);
        // The dialog asked about the name as typed; the file written may be another one.
        if (target.path == choice.path.toStdString() || !PathExists(target.path) ||
            platform_.prompts.YesCancel(QString::fromStdString(target.path) +
                                        " already exists. Replace it?")) {
            WriteSaveTarget(inverted_ || solarized_ ? effect_ : composite_, target);
            SetEffectFlags(false, false);
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void ColourWindow::Button4Click() {
    for (PictureView* view : channelViews_) view->hide();
    for (int i = 0; i < 4; ++i) {
        if (i == 1) continue;  // the green control is never shown
        sliders_[i]->hide();
        sliderLabels_[i]->hide();
    }
    solarized_ = false;
    hide();
}

void ColourWindow::SetEffectFlags(bool inverted, bool solarized) {
    inverted_ = inverted;
    solarized_ = solarized;
}

// The effects.

void ColourWindow::GreenControl() {
    greenChannel_ = Slot(Band::Green).source;
    channelViews_[1]->SetBitmap(greenChannel_);
    WriteWorkingFile(Slot(Band::Green).source, Slot(Band::Green).workingFile);
}

void ColourWindow::MixBand(Band band) {
    const bool blue = band == Band::Blue;
    Bitmap24& mix = blue ? blueMix_ : redMix_;
    MixInto(Slot(band).source, Slot(Band::Green).source, sliders_[blue ? 0 : 2]->value(), mix);
    channelViews_[blue ? 0 : 2]->SetBitmap(mix);
    WriteWorkingFile(mix, blue ? kBlueMixFile : kRedMixFile);
}

void ColourWindow::SliderCombination() {
    // Green comes back from its working file, as it was last written.
    const Bitmap24 green = ReadWorkingFile(Slot(Band::Green).workingFile);
    if (Slot(Band::Green).loaded) compositeView_->SetBitmap(green);
    if (blueMix_.Empty() || redMix_.Empty()) return;
    StraightCombinationInto(blueMix_, green, redMix_, composite_);
    compositeView_->SetBitmap(composite_);
}

void ColourWindow::Button34Click() {
    // The mixtures need all three bands.
    if (!AllLoaded()) return;
    solarized_ = false;
    for (PictureView* view : channelViews_) view->show();
    ShowFilterLabels();
    tags_.tag = Mer2RgbTag(tags_);
    GreenControl();
    MixBand(Band::Blue);
    MixBand(Band::Red);
    SliderCombination();
    // Each move fires its handler, so a first use renders again at 70.
    sliders_[1]->setValue(100);
    sliders_[0]->setValue(70);
    sliders_[0]->show();
    sliderLabels_[0]->show();
    sliders_[2]->setValue(70);
    sliders_[2]->show();
    sliderLabels_[2]->show();
    SetStatus("MER2RGB Loaded.");
    SetEffectFlags(false, false);
}

void ColourWindow::SliderChanged(int number) {
    QScrollBar* bar = sliders_[number - 1];
    if (number == 4) {
        SolarizeChanged();
        return;
    }
    sliderLabels_[number - 1]->setText(Percent(bar->value()));
    if (number == 2) {
        if (Slot(Band::Green).loaded) GreenControl();
        return;
    }
    const Band band = number == 1 ? Band::Blue : Band::Red;
    if (!Slot(band).loaded) return;
    SetEffectFlags(false, false);
    MixBand(band);
    SliderCombination();
}

void ColourWindow::ReadEffectSource() {
    // Throws when there is no readable combined file; the caller's flag is not set then.
    effectSource_ = ReadWorkingFile(kCombinedFile);
}

void ColourWindow::Button15Click() {
    ReadEffectSource();
    inverted_ = true;
    effect_ = Inverted(effectSource_);
    compositeView_->SetBitmap(effect_);
}

void ColourWindow::Button42Click() {
    ReadEffectSource();
    sliders_[3]->show();
    sliderLabels_[3]->show();
    solarized_ = true;
}

void ColourWindow::SolarizeChanged() {
    const int position = sliders_[3]->value();
    sliderLabels_[3]->setText(Percent(position));
    if (!AllLoaded()) return;
    solarized_ = true;
    Button42Click();
    effect_ = Solarized(effectSource_, position);
    compositeView_->SetBitmap(effect_);
}

}  // namespace kobrix
