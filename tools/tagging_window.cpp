#include "tools/tagging_window.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "browse/file_operations.h"
#include "tools/core/charsets.h"
#include "tools/script_fonts.h"
#include "widgets/controls.h"
#include "widgets/picture_link.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// Text is drawn at 96 dots an inch, as on the screen the sizes were chosen for.
constexpr int kDotsPerMeter96 = 3780;

void SetButtonColour(QPushButton& button, const QColor& colour) {
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Window, colour);
    button.setPalette(palette);
    button.setAutoFillBackground(true);
}

}  // namespace

TaggingWindow::TaggingWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), platform_(platform) {
    setObjectName("Watermark2007Unit44");
    setWindowTitle("Kobrix Image Tagging");
    PaintBackground(*this, Qt::black);

    auto* root = new QHBoxLayout(this);
    view_ = new PictureView(this);
    view_->setObjectName("Image1");
    view_->setMinimumSize(420, 420);
    view_->SetStretch(true);
    view_->SetProportional(true);
    view_->SetCenter(true);
    root->addWidget(view_, 1);

    auto* side = new QVBoxLayout;
    root->addLayout(side);
    const auto white = [](QLabel* label) {
        SetTextColour(*label, Qt::white);
        return label;
    };
    attributes_ = white(NamedLabel("AttributesLabel", "Kobrix Auto Tag", this));
    autoTag_ = white(NamedLabel("AutoTagLabel", "Kobrix Image Tag", this));
    autoTag_->setWordWrap(true);
    side->addWidget(attributes_);
    side->addWidget(autoTag_);

    text_ = new QLineEdit("User Text", this);
    text_->setObjectName("Edit1");
    secondText_ = new QLineEdit(this);
    secondText_->setObjectName("Edit2");
    secondText_->hide();
    side->addWidget(white(PlainLabel("User Text", this)));
    side->addWidget(text_);

    auto* grid = new QGridLayout;
    colourBox_ = PlainButton("ColourBox", "Choose a Watermark Colour", this);
    SetButtonColour(*colourBox_, colour_);
    auto* selectFont = PlainButton("SelectFont", "Select Font", this);
    fontNameLabel_ = white(NamedLabel("FontName", fontName_, this));
    size_ = new QSpinBox(this);
    size_->setObjectName("FontSize");
    size_->setRange(1, 100);
    size_->setValue(2);
    grid->addWidget(colourBox_, 0, 0, 1, 2);
    grid->addWidget(selectFont, 1, 0);
    grid->addWidget(fontNameLabel_, 1, 1);
    grid->addWidget(white(PlainLabel("Font Size", this)), 2, 0);
    grid->addWidget(size_, 2, 1);
    side->addLayout(grid);

    topLeft_ = new QRadioButton("Top Left", this);
    topLeft_->setObjectName("TopLeft");
    topLeft_->setChecked(true);
    bottomLeft_ = new QRadioButton("Bottom Left", this);
    bottomLeft_->setObjectName("BottomLeft");
    auto* userPosition = new QRadioButton("User Position", this);
    userPosition->setObjectName("UserPosition");
    userPosition->setEnabled(false);
    auto* positions = new QHBoxLayout;
    for (QRadioButton* b : {topLeft_, bottomLeft_, userPosition}) {
        SetTextColour(*b, Qt::white);
        positions->addWidget(b);
    }
    side->addLayout(positions);

    auto* parts = new QGridLayout;
    mer_ = Part("Mer12", "Mer1/2", false);
    roverName_ = Part("SpiritOpportunity", "Spirit/Opportunity", true);
    sol_ = Part("SolNumber", "Sol Number", true);
    hour_ = Part("MartianHour", "Martian Hour", false);
    minute_ = Part("MartianMinute", "Martian Minute", false);
    seconds_ = Part("MartianSeconds", "Martian Seconds", false);
    earthMinsSecs_ = Part("EarthMinsSecs", "Earth Mins/Secs", false);
    earthDate_ = Part("EarthDate", "Earth Date", false);
    userTextOnly_ = Part("UserTextOnly", "User Text Only", false);
    auto_ = Part("Auto", "AUTO", false);
    auto_->hide();
    int index = 0;
    for (QCheckBox* box : {mer_, roverName_, sol_, hour_, minute_, seconds_, earthMinsSecs_,
                           earthDate_, userTextOnly_}) {
        parts->addWidget(box, index / 2, index % 2);
        ++index;
    }
    side->addLayout(parts);
    // The rover's number and name exclude each other; these five rebuild the tag at once.
    connect(mer_, &QCheckBox::clicked, this, [this](bool on) {
        if (on) roverName_->setChecked(false);
        BuildImageName();
    });
    connect(roverName_, &QCheckBox::clicked, this, [this](bool on) {
        if (on) mer_->setChecked(false);
        BuildImageName();
    });
    for (QCheckBox* box : {sol_, hour_, minute_}) {
        connect(box, &QCheckBox::clicked, this, [this] { BuildImageName(); });
    }

    charsets_ = new QListWidget(this);
    charsets_->setObjectName("CharsetList");
    for (const CharsetEntry& entry : CharsetEntries()) {
        charsets_->addItem(QString::fromUtf8(entry.label.data(), entry.label.size()));
    }
    languages_ = new QListWidget(this);
    languages_->setObjectName("LanguageList");
    for (const LanguageEntry& entry : LanguageEntries()) {
        languages_->addItem(QString::fromUtf8(entry.label.data(), entry.label.size()));
    }
    for (QListWidget* list : {charsets_, languages_}) list->setMaximumHeight(90);
    side->addWidget(white(PlainLabel("Language Character Set", this)));
    side->addWidget(charsets_);
    side->addWidget(white(PlainLabel("Select Language", this)));
    side->addWidget(languages_);
    OnListChoice(*charsets_, [this](int row) { ChooseCharset(row); });
    OnListChoice(*languages_, [this](int row) { ChooseLanguage(row); });

    auto* buttons = new QGridLayout;
    const auto button = [&](const char* caption, void (TaggingWindow::*handler)(), int row,
                            int column) {
        QPushButton* b = PlainButton(caption, caption, this);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([=, this] { (this->*handler)(); }); });
        buttons->addWidget(b, row, column);
        return b;
    };
    button("Load/Refresh Original Image", &TaggingWindow::LoadRefresh, 0, 0);
    button("Enter Auto Tag", &TaggingWindow::EnterAutoTag, 0, 1);
    button("Place Text On Image", &TaggingWindow::PlaceText, 1, 0);
    button("Save Tagged Image", &TaggingWindow::SaveTagged, 1, 1);
    button("<< Last", &TaggingWindow::Last, 2, 0);
    button("Next >>", &TaggingWindow::Next, 2, 1);
    button("Slideshow", &TaggingWindow::ToggleSlideshow, 3, 0);
    slideshowState_ = white(NamedLabel("SlideshowState", "OFF", this));
    buttons->addWidget(slideshowState_, 3, 1);
    QPushButton* languagesButton = PlainButton("Languages", "Languages", this);
    connect(languagesButton, &QPushButton::clicked, this, [this] {
        if (peers_.openLanguages) peers_.openLanguages();
    });
    buttons->addWidget(languagesButton, 4, 0);
    button("Close", &TaggingWindow::CloseTool, 4, 1);
    side->addLayout(buttons);
    side->addStretch();
    connect(selectFont, &QPushButton::clicked, this, [this] { Guarded([this] { SelectFont(); }); });
    connect(colourBox_, &QPushButton::clicked, this,
            [this] { Guarded([this] { ChooseColour(); }); });
}

QCheckBox* TaggingWindow::Part(const char* name, const QString& caption, bool on) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->setChecked(on);
    SetTextColour(*box, Qt::white);
    return box;
}

void TaggingWindow::Guarded(const std::function<void()>& action) {
    RunGuarded(platform_.prompts, action);
}

void TaggingWindow::Attach(PictureLink& link, TaggingPeers peers) {
    link_ = &link;
    peers_ = std::move(peers);
}

QString TaggingWindow::Text() const {
    return text_->text();
}

QFont TaggingWindow::DrawingFont() const {
    return ScriptFont(fontName_, charset_, size_->value());
}

int TaggingWindow::DrawingFontSize() const {
    return size_->value();
}

bool TaggingWindow::SlideshowOn() const {
    return slideshowState_->text() == "ON";
}

bool TaggingWindow::AutoOn() const {
    return auto_->isChecked();
}

bool TaggingWindow::EarthMinsSecsOn() const {
    return earthMinsSecs_->isChecked();
}

void TaggingWindow::SetAuto(bool on) {
    auto_->setChecked(on);
}

bool TaggingWindow::UserTextOnly() const {
    return userTextOnly_->isChecked();
}

void TaggingWindow::ShowTool() {
    show();
    raise();
}

void TaggingWindow::SetUserTextOnly(bool on) {
    userTextOnly_->setChecked(on);
}

void TaggingWindow::ApplySizePreset(int pictureWidth) {
    const TagPreset preset = TagPresetForWidth(pictureWidth);
    origin_ = preset;
    size_->setValue(preset.size);
    colour_ = Qt::yellow;
    SetButtonColour(*colourBox_, colour_);
    SetFontName("Arial");
}

void TaggingWindow::SetFontName(const QString& family) {
    fontName_ = family;
    fontNameLabel_->setText(family);
    QFont boxFont = text_->font();
    boxFont.setFamily(ScriptFont(family, charset_, 10).family());
    text_->setFont(boxFont);
}

void TaggingWindow::UseTypeface(const QString& family, const QColor& colour) {
    SetFontName(family);
    colour_ = colour;
    SetButtonColour(*colourBox_, colour_);
    fontChoice_.setFamily(family);
    fontChoiceColour_ = colour;
}

void TaggingWindow::ShowPicture() {
    view_->SetBitmap(picture_);
}

AutoTagParts TaggingWindow::Parts() const {
    AutoTagParts parts;
    parts.roverNumber = mer_->isChecked();
    parts.roverName = roverName_->isChecked();
    parts.sol = sol_->isChecked();
    parts.martianHour = hour_->isChecked();
    parts.martianMinute = minute_->isChecked();
    parts.martianSeconds = seconds_->isChecked();
    parts.earthMinsSecs = earthMinsSecs_->isChecked();
    parts.earthDate = earthDate_->isChecked();
    return parts;
}

void TaggingWindow::LoadRefresh() {
    if (link_ == nullptr) return;
    link_->DisplayCurrent();
    picture_ = BitmapFromImage(link_->DisplayedPicture());
    ShowPicture();
    BuildImageName();
}

void TaggingWindow::BuildImageName() {
    attributes_->setText(
        Q(PictureAttributesText(picture_.Width(), picture_.Height(), picture_.SourceFormat())));
    AutoTagValues values;
    if (link_ != nullptr) {
        const DecodedPanel& panel = link_->Decoded().panel;
        values.roverNumber = panel.roverNumber;
        values.roverName = panel.roverName;
        values.sol = panel.sol;
        values.martianHours = panel.elapsedHours;
        values.martianMinutes = panel.elapsedMinutes;
        values.martianSeconds = panel.elapsedSeconds;
        values.utcTime = panel.utcTime;
    }
    if (peers_.earthRemainders) {
        std::tie(values.earthRemainderMinutes, values.earthRemainderSeconds) =
            peers_.earthRemainders();
    }
    autoTag_->setText(Q(BuildAutoTag(Parts(), values)));
}

void TaggingWindow::EnterAutoTag() {
    if (peers_.refreshEarthPage) peers_.refreshEarthPage();
    BuildImageName();
    text_->setText(autoTag_->text());
}

void TaggingWindow::PlaceText() {
    if (picture_.Empty()) return;
    // The bitmap's own memory, seen as an image the painter can draw on.
    QImage canvas(picture_.Data(), picture_.Width(), picture_.Height(),
                  static_cast<qsizetype>(picture_.Stride()), QImage::Format_BGR888);
    canvas.setDotsPerMeterX(kDotsPerMeter96);
    canvas.setDotsPerMeterY(kDotsPerMeter96);
    {
        QPainter painter(&canvas);
        painter.setFont(DrawingFont());
        painter.setPen(colour_);
        painter.setBackgroundMode(Qt::TransparentMode);
        const int top = bottomLeft_->isChecked() ? BottomLeftTop(picture_.Height(), size_->value())
                                                 : origin_.y0;
        painter.drawText(QRect(origin_.x0, top, picture_.Width(), picture_.Height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text_->text());
    }
    ShowPicture();
}

void TaggingWindow::EnterAutoTagAndPlace() {
    EnterAutoTag();
    PlaceText();
}

Bitmap24 TaggingWindow::TagPicture(const Bitmap24& picture) {
    picture_ = picture;
    ShowPicture();
    EnterAutoTagAndPlace();
    return picture_;
}

void TaggingWindow::OpenFromMenu() {
    if (link_ == nullptr) return;
    picture_ = BitmapFromImage(link_->DisplayedPicture());
    ShowPicture();
    BuildImageName();
    if (!link_->UserTag()) ApplySizePreset(picture_.Width());
    show();
    raise();
    QFont boxFont = text_->font();
    boxFont.setFamily(fontChoice_.family());
    text_->setFont(boxFont);
}

void TaggingWindow::UserTagClicked() {
    fontNameLabel_->setText(fontChoice_.family());
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Text, fontChoiceColour_);
    text_->setPalette(palette);
    OpenFromMenu();
    secondText_->setText(fontChoice_.family());
}

void TaggingWindow::SelectFont() {
    QFont initial(fontName_);
    initial.setPointSize(size_->value());
    const FontChoice choice = platform_.prompts.ChooseFont(initial, colour_);
    if (!choice.accepted) return;  // the previous font stays in force
    fontChoice_ = choice.font;
    fontChoiceColour_ = choice.colour;
    SetFontName(choice.font.family());
    if (choice.font.pointSize() > 0) size_->setValue(choice.font.pointSize());
    colour_ = choice.colour;
    SetButtonColour(*colourBox_, colour_);
}

void TaggingWindow::ChooseColour() {
    const QColor chosen = platform_.prompts.ChooseColour(colour_);
    if (!chosen.isValid()) return;
    colour_ = chosen;
    SetButtonColour(*colourBox_, colour_);
}

void TaggingWindow::SaveTagged() {
    if (link_ == nullptr) return;
    const std::string directory = WithTrailingSeparator(link_->Tree().TaggedPicDirectory);
    const std::string base = link_->Decoded().product.BaseName;
    const std::string name = TagSaveName(base.empty() ? "Tagged" : base, [&](const std::string& n) {
        return PathExists(n.find('/') == std::string::npos ? directory + n : n);
    });
    QStringList filters;
    for (const char* filter : kTagSaveFilters) filters << filter;
    const FileChoice choice = platform_.prompts.SavePicture(
        "Save Tagged Image", filters, kTagSaveJpegFilter, Q(directory + name));
    if (!choice.accepted) return;
    const TagSaveTarget target = TagSaveTargetFor(choice.path.toStdString(), choice.filterIndex);
    if (target.path != choice.path.toStdString() && PathExists(target.path) &&
        !platform_.prompts.YesCancel(Q(target.path) + " already exists. Replace it?")) {
        return;
    }
    WriteTagSaveTarget(picture_, target);
}

void TaggingWindow::Last() {
    if (link_ == nullptr) return;
    link_->StepList(-1);
    LoadRefresh();
    if (AutoOn()) EnterAutoTagAndPlace();
}

void TaggingWindow::Next() {
    if (link_ == nullptr) return;
    link_->StepList(1);
    LoadRefresh();
    if (AutoOn()) EnterAutoTagAndPlace();
}

void TaggingWindow::ToggleSlideshow() {
    const bool on = !SlideshowOn();
    slideshowState_->setText(on ? "ON" : "OFF");
    if (link_ != nullptr) link_->SetSlideshow(on);
}

void TaggingWindow::CloseTool() {
    if (link_ != nullptr) link_->SetSlideshow(false);
    hide();
}

void TaggingWindow::ChooseCharset(int row) {
    const auto entries = CharsetEntries();
    if (row < 0 || row >= static_cast<int>(entries.size())) return;
    charset_ = entries[static_cast<std::size_t>(row)].code;
    const QSignalBlocker quiet(charsets_);  // shown, not chosen again
    charsets_->setCurrentRow(row);
}

void TaggingWindow::ChooseLanguage(int row) {
    const auto languages = LanguageEntries();
    if (row < 0 || row >= static_cast<int>(languages.size())) return;
    const LanguageEntry& language = languages[static_cast<std::size_t>(row)];
    {
        // The lists only show the choice here; the character set list's own choice runs
        // below for the languages that ask for it.
        const QSignalBlocker quietLanguages(languages_);
        const QSignalBlocker quietCharsets(charsets_);
        languages_->setCurrentRow(row);
        charsets_->setCurrentRow(language.charsetEntry);
    }
    charset_ = language.code;
    SetFontName(QString::fromUtf8(language.font.data(), language.font.size()));
    if (language.appliesToMainWindow) {
        if (link_ != nullptr) link_->SetCaptureTimeCharset(charset_);
        ChooseCharset(language.charsetEntry);  // the list's own choice, the same code
    }
}

}  // namespace kobrix
