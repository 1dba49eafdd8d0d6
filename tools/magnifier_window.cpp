#include "tools/magnifier_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "archive/display_rule.h"
#include "browse/browse_texts.h"
#include "imaging/file_access.h"
#include "imaging/image_file.h"
#include "widgets/controls.h"
#include "widgets/picture_link.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* White(QLabel* label) {
    SetTextColour(*label, Qt::white);
    return label;
}

void SetButtonColour(QPushButton& button, const QColor& colour) {
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, colour);
    button.setPalette(palette);
    button.setAutoFillBackground(true);
}

// The mouse on the image area, handed to the window.
class AreaMouse : public QObject {
  public:
    explicit AreaMouse(MagnifierWindow& window) : QObject(&window), window_(window) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                auto* e = static_cast<QMouseEvent*>(event);
                if (e->button() == Qt::LeftButton) window_.PressAt(e->position().toPoint());
                return true;
            }
            case QEvent::MouseMove:
                window_.PointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
                return true;
            case QEvent::MouseButtonRelease:
                if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) window_.Release();
                return true;
            default:
                return false;
        }
    }

  private:
    MagnifierWindow& window_;
};

}  // namespace

MagnifierWindow::MagnifierWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), platform_(platform) {
    setObjectName("Mag2007Unit42");
    setWindowTitle("Magnification Tool");
    PaintBackground(*this, Qt::black);

    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    root->addLayout(left);
    area_ = new PictureView(this);
    area_->setObjectName("Image1");
    area_->setFixedSize(fullSize_);
    area_->setToolTip("Left Click to Magnify");
    area_->setMouseTracking(true);
    area_->installEventFilter(new AreaMouse(*this));
    left->addWidget(area_, 0, Qt::AlignLeft | Qt::AlignTop);
    path_ = White(NamedLabel("PathLabel", "<No file loaded>", this));
    attributes_ = White(NamedLabel("AttributesLabel", "<Image attributes>", this));
    location_ = White(NamedLabel("LocationLabel", "(X, Y)   (R, G, B)", this));
    for (QLabel* label : {path_, attributes_, location_}) left->addWidget(label);
    left->addStretch();

    auto* side = new QVBoxLayout;
    root->addLayout(side);
    side->addWidget(White(PlainLabel("Image Magnifier", this)));
    sol_ = White(NamedLabel("SolLabel", QString(), this));
    earthTime_ = White(NamedLabel("EarthTimeLabel", QString(), this));
    camera_ = White(NamedLabel("CameraLabel", QString(), this));
    for (QLabel* label : {sol_, earthTime_, camera_}) side->addWidget(label);
    // The window's size after each load.
    auto* sizeRow = new QHBoxLayout;
    windowWidth_ = White(NamedLabel("WidthLabel", QString(), this));
    windowHeight_ = White(NamedLabel("HeightLabel", QString(), this));
    sizeRow->addWidget(windowWidth_);
    sizeRow->addWidget(windowHeight_);
    sizeRow->addStretch();
    side->addLayout(sizeRow);

    auto* grid = new QGridLayout;
    const auto spin = [this](const char* name, int low, int high, int step, int value) {
        auto* box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(low, high);
        box->setSingleStep(step);
        box->setValue(value);
        return box;
    };
    magnification_ = spin("Magnification", 2, 50, 1, 2);
    radius_ = spin("Radius", 10, 800, 10, 150);
    borderWidth_ = spin("BorderWidth", 0, 30, 1, 5);
    grid->addWidget(White(PlainLabel("Magnification", this)), 0, 0);
    grid->addWidget(magnification_, 0, 1);
    grid->addWidget(White(PlainLabel("X", this)), 0, 2);
    grid->addWidget(White(PlainLabel("Radius[Pixels]", this)), 1, 0);
    grid->addWidget(radius_, 1, 1);
    square_ = new QRadioButton("Square", this);
    square_->setObjectName("Square");
    square_->setChecked(true);
    circle_ = new QRadioButton("Circle", this);
    circle_->setObjectName("Circle");
    grid->addWidget(White(PlainLabel("Shape", this)), 2, 0);
    grid->addWidget(square_, 2, 1);
    grid->addWidget(circle_, 2, 2);
    border_ = new QCheckBox("Border", this);
    border_->setObjectName("Border");
    border_->setChecked(true);
    borderColourBox_ = PlainButton("BorderColour", QString(), this);
    borderColourBox_->setFixedWidth(30);
    SetButtonColour(*borderColourBox_, borderColour_);
    grid->addWidget(border_, 3, 0);
    grid->addWidget(borderWidth_, 3, 1);
    grid->addWidget(borderColourBox_, 3, 2);
    cursor_ = new QCheckBox("Cursor", this);
    cursor_->setObjectName("Cursor");
    cursor_->setChecked(true);
    stretch_ = new QCheckBox("Stretch", this);
    stretch_->setObjectName("Stretch");
    grid->addWidget(cursor_, 4, 0);
    grid->addWidget(stretch_, 4, 1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{square_, circle_, border_, cursor_, stretch_}) {
        SetTextColour(*w, Qt::white);
    }
    side->addLayout(grid);
    connect(stretch_, &QCheckBox::toggled, this, [this] { ApplyStretch(); });
    connect(borderColourBox_, &QPushButton::clicked, this, [this] {
        const QColor chosen = platform_.prompts.ChooseColour(borderColour_);
        if (!chosen.isValid()) return;
        borderColour_ = chosen;
        SetButtonColour(*borderColourBox_, chosen);
    });

    side->addWidget(White(PlainLabel("Image Capture", this)));
    capture_ = PlainButton("CaptureButton", "Image Capture 5", this);
    delay_ = new QLineEdit("5", this);
    delay_->setObjectName("DelayEdit");
    delay_->setToolTip("Enter New Screen Capture Delay");
    auto* captureRow = new QHBoxLayout;
    captureRow->addWidget(capture_);
    captureRow->addWidget(delay_);
    captureRow->addWidget(White(PlainLabel("Delay Secs", this)));
    side->addLayout(captureRow);
    const auto button = [&](const char* caption, const std::function<void()>& run) {
        QPushButton* b = PlainButton(caption, caption, this);
        connect(b, &QPushButton::clicked, this, [this, run] { Guarded(run); });
        side->addWidget(b);
    };
    connect(capture_, &QPushButton::clicked, this, [this] { Guarded([this] { StartCapture(); }); });
    button("View Clipboard", [this] {
        if (viewClipboard_) viewClipboard_();
    });
    button("< Previous Image", [this] { StepImage(-1); });
    button("Next Image >", [this] { StepImage(1); });
    slideshow_ = new QCheckBox("Slideshow", this);
    slideshow_->setObjectName("Slideshow");
    SetTextColour(*slideshow_, Qt::white);
    connect(slideshow_, &QCheckBox::clicked, this,
            [this](bool on) { Guarded([this, on] { SetFollowSlideshow(on); }); });
    side->addWidget(slideshow_);
    brightness_ = new QCheckBox("Brightness Recording", this);
    brightness_->setObjectName("BrightnessRecording");
    SetTextColour(*brightness_, Qt::red);
    connect(brightness_, &QCheckBox::clicked, this, [this](bool on) {
        SetTextColour(*brightness_, on ? QColor(0, 160, 0) : QColor(Qt::red));
        if (on) {
            platform_.prompts.Message(
                "Turn ON slideshow to activate. Then position you cursor on the images "
                "somewhere. Brightness Levels will be recorded. Remove tick to STOP.");
        }
    });
    side->addWidget(brightness_);
    button("Close", [this] { CloseTool(); });
    side->addStretch();

    captureTimer_.setObjectName("CaptureTimer");
    captureTimer_.setInterval(1000);
    connect(&captureTimer_, &QTimer::timeout, this, [this] { Guarded([this] { CaptureTick(); }); });
}

void MagnifierWindow::Attach(PictureLink& link, std::function<void()> viewClipboard) {
    link_ = &link;
    viewClipboard_ = std::move(viewClipboard);
}

void MagnifierWindow::Guarded(const std::function<void()>& action) {
    RunGuarded(platform_.prompts, action);
}

bool MagnifierWindow::FollowsSlideshow() const {
    return slideshow_->isChecked();
}

QString MagnifierWindow::SettingsPath() const {
    if (!settingsPath_.isEmpty()) return settingsPath_;
    // Beside the program, as the program's own name with ".INI"; an installed program's
    // directory is not writable, and then the working tree's program directory takes it.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString name = program.completeBaseName() + ".INI";
    if (QFileInfo(program.absolutePath()).isWritable()) return program.dir().filePath(name);
    return link_ != nullptr ? QDir(Q(link_->Tree().I_Am_Here_Directory)).filePath(name)
                            : QDir::home().filePath(name);
}

void MagnifierWindow::WriteSettings(const QString& directory) {
    const QString path = SettingsPath();
    QFile file(path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly)) text = file.readAll();
    file.close();
    const std::string updated = WithIniValue(text.toStdString(), "Setup", "Directory",
                                             QDir::toNativeSeparators(directory).toStdString());
    try {
        // Replaced whole or not at all: a failed write leaves the previous file.
        OutputFile out(path.toStdString());
        out.Write(reinterpret_cast<const std::uint8_t*>(updated.data()), updated.size());
        out.Commit();
    } catch (const std::exception& e) {
        // Once a run: it would otherwise come back at every image.
        if (!settingsFailureShown_) {
            settingsFailureShown_ = true;
            platform_.prompts.Warning("The magnifier's settings file could not be written: " +
                                      QString::fromUtf8(e.what()));
        }
    }
}

void MagnifierWindow::ApplyStretch() {
    // Stretched: the whole area, the picture scaled to fit it keeping its aspect ratio and
    // centred. Otherwise the picture at its own size from the top left, the area as large as
    // the picture up to its full size, so the pointer is the pixel it points at.
    const bool on = stretch_->isChecked();
    area_->SetStretch(on);
    area_->SetProportional(on);
    area_->SetCenter(on);
    area_->setFixedSize(on || source_.Empty()
                            ? fullSize_
                            : QSize(source_.Width(), source_.Height()).boundedTo(fullSize_));
}

void MagnifierWindow::OpenOnCurrentImage() {
    if (link_ == nullptr) return;
    const DecodedPanel& panel = link_->Decoded().panel;
    sol_->setText(Q(panel.roverName + " Sol " + panel.sol));
    camera_->setText(Q(panel.camera));
    earthTime_->setText(Q(panel.localTime));
    area_->SetImage(link_->DisplayedPicture());
    LoadImage();
    // Where the pointer is, the readout shows at once (the original nudged the pointer).
    const QPoint at = area_->mapFromGlobal(QCursor::pos());
    if (area_->rect().contains(at)) PointerMoved(at);
    show();
    raise();
}

void MagnifierWindow::LoadImage() {
    const QString path = link_ != nullptr ? Q(link_->DisplayedPath()) : QString();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        location_->setText("No picture file to magnify: " + (path.isEmpty() ? "none" : path));
        return;  // the previous picture stays
    }
    Bitmap24 picture;
    ArchiveSamples samples;
    try {
        const std::string file = path.toStdString();
        if (ClaimsArchiveFile(file)) {
            // The samples stay for the readout; the picture is their display.
            ReadArchiveSamples(file, samples);
            picture = RenderDisplayPicture(samples.View());
        } else {
            picture = ReadAnyPicture(file);
        }
    } catch (const std::exception& e) {
        platform_.prompts.Warning(QString::fromUtf8(e.what()));
        return;
    }
    source_ = std::move(picture);
    samples_ = std::move(samples);
    path_->setText(path);
    WriteSettings(QFileInfo(path).absolutePath() + "/");
    attributes_->setText(
        Q(MagnifierAttributesText(source_.Width(), source_.Height(), PixelFormat::Bits24)));
    const bool larger =
        source_.Width() > fullSize_.width() || source_.Height() > fullSize_.height();
    if (larger && !stretch_->isChecked()) stretch_->setChecked(true);  // runs the stretch rule
    ApplyStretch();
    lensShown_ = false;
    ShowBitmap(source_);
    windowWidth_->setText(QString::number(width()));
    windowHeight_->setText(QString::number(height()));
}

void MagnifierWindow::ShowBitmap(const Bitmap24& bitmap) {
    area_->SetBitmap(bitmap);
}

std::optional<std::pair<int, int>> MagnifierWindow::ToBitmap(QPoint at) const {
    const QRect drawn = area_->PictureRect();
    return PointerToBitmap(at.x(), at.y(), stretch_->isChecked(),
                           {drawn.x(), drawn.y(), drawn.width(), drawn.height()}, source_.Width(),
                           source_.Height());
}

LensGeometry MagnifierWindow::Lens() {
    const LensGeometry lens = LensFor(radius_->value(), magnification_->value());
    if (lens.raisedRadius) {
        const QSignalBlocker block(radius_);
        radius_->setValue(*lens.raisedRadius);
    }
    return lens;
}

void MagnifierWindow::DrawLensAt(int x, int y) {
    CopyPicture(source_, view_);
    LensStyle style;
    style.circle = circle_->isChecked();
    style.border = border_->isChecked();
    style.borderWidth = borderWidth_->value();
    style.borderRed = static_cast<std::uint8_t>(borderColour_.red());
    style.borderGreen = static_cast<std::uint8_t>(borderColour_.green());
    style.borderBlue = static_cast<std::uint8_t>(borderColour_.blue());
    DrawLens(source_, view_, x, y, Lens(), magnification_->value(), style);
    lensShown_ = true;
    ShowBitmap(view_);
}

void MagnifierWindow::PointerMoved(QPoint at) {
    if (source_.Empty()) return;
    const auto pixel = ToBitmap(at);
    if (!pixel) return;
    const auto [x, y] = *pixel;
    const std::uint8_t* p = source_.Row(y) + 3 * x;
    std::string readout = LocationText(x, y, p[2], p[1], p[0]);
    const std::string sample = SampleValueText(samples_.View(), x, y);
    if (!sample.empty()) readout += "     " + sample;
    location_->setText(Q(readout));
    if (dragging_) DrawLensAt(x, y);
}

void MagnifierWindow::PressAt(QPoint at) {
    if (source_.Empty()) return;
    dragging_ = true;
    area_->setToolTip(QString());
    area_->setCursor(cursor_->isChecked() ? Qt::CrossCursor : Qt::BlankCursor);
    if (const auto pixel = ToBitmap(at)) DrawLensAt(pixel->first, pixel->second);
}

void MagnifierWindow::Release() {
    dragging_ = false;
    area_->unsetCursor();
    lensShown_ = false;
    ShowBitmap(source_);
}

void MagnifierWindow::StartCapture() {
    const std::optional<int> seconds = ParseWholeNumber(delay_->text().trimmed().toStdString());
    if (!seconds) throw std::invalid_argument(NotAnIntegerText(delay_->text().toStdString()));
    countdown_ = *seconds;
    if (countdown_ <= 0) {
        // No delay: captured at once (a countdown from 0 would never end).
        countdown_ = 1;
        CaptureTick();
        return;
    }
    captureTimer_.start();
}

void MagnifierWindow::CaptureTick() {
    --countdown_;
    capture_->setText("Screen Capture in " + QString::number(countdown_));
    platform_.desktop.Beep();
    if (countdown_ > 0) return;
    captureTimer_.stop();
    platform_.desktop.SetClipboardImage(area_->Image());
    capture_->setText("Screen Captured");
    platform_.prompts.Information("Image saved to clipboard!");
    LoadImage();
}

void MagnifierWindow::StepImage(int delta) {
    if (link_ == nullptr) return;
    link_->StepImage(delta);
    OpenOnCurrentImage();
}

void MagnifierWindow::SetFollowSlideshow(bool on) {
    slideshow_->setChecked(on);
    if (link_ != nullptr) link_->SetSlideshow(on);
}

void MagnifierWindow::CloseTool() {
    captureTimer_.stop();
    if (link_ != nullptr && slideshow_->isChecked()) link_->SetSlideshow(false);
    slideshow_->setChecked(false);
    hide();
}

}  // namespace kobrix
