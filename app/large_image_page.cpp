#include "app/large_image_page.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "imaging/bitmap24.h"
#include "widgets/controls.h"
#include "widgets/picture_view.h"
#include "widgets/window_placement.h"

namespace kobrix {
namespace {

// The longest text of the decode tables; a value column that fits it keeps the page's width
// from one image to the next.
constexpr const char* kWidestValue = "Seq. triggered by a communications window.";
constexpr int kPictureMinimum = 300;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

LargeImagePage::LargeImagePage(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("LargeImageUnit20077");
    setWindowTitle("Large Size Image Display Page");
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    pictureBox_ = new QWidget(this);
    picture_ = new PictureView(pictureBox_);
    picture_->setObjectName("Image1");
    picture_->SetProportional(true);
    picture_->SetCenter(true);
    picture_->setMinimumSize(kPictureMinimum, kPictureMinimum);
    picture_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(picture_, &PictureView::clicked, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton) emit pictureClicked();
    });

    auto* credit = PlainLabel("Image NASA / Planetary Data System", pictureBox_);
    credit->setAlignment(Qt::AlignHCenter);
    auto* pictureColumn = new QVBoxLayout(pictureBox_);
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    pictureColumn->addWidget(picture_, 1);
    pictureColumn->addWidget(credit);

    // The picture grows up to a square; the width beyond that is shared out on both sides so
    // that the picture and its values stay together on a wide window.
    picture_->installEventFilter(this);
    auto* top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(pictureBox_, 100);
    top->addSpacing(12);
    top->addWidget(BuildFields(), 0, Qt::AlignTop);
    top->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* close = AddButton("Button1", "Close");
    QPushButton* print = AddButton("Button2", "Print");
    QPushButton* previous = AddButton("Button3", "Previous Image");
    QPushButton* next = AddButton("Button4", "Next Image");
    QPushButton* slideshow = AddButton("Button5", "Slideshow Start/Stop");
    for (QPushButton* button : {close, print, previous, next, slideshow}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    connect(close, &QPushButton::clicked, this, [this] {
        emit closeClicked();
        hide();
    });
    connect(print, &QPushButton::clicked, this, &LargeImagePage::printClicked);
    connect(previous, &QPushButton::clicked, this, &LargeImagePage::previousClicked);
    connect(next, &QPushButton::clicked, this, &LargeImagePage::nextClicked);
    connect(slideshow, &QPushButton::clicked, this, [this] {
        slideshowFlag_ = !slideshowFlag_;
        emit slideshowClicked();
    });

    auto* root = new QVBoxLayout(this);
    root->addLayout(top, 1);
    root->addSpacing(6);
    root->addLayout(buttons);
}

QWidget* LargeImagePage::BuildFields() {
    auto* fields = new QWidget(this);
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);

    AddRow(*grid, "FILE", "Label7", "FILE");
    AddRow(*grid, "Rover", "Label2");
    AddRow(*grid, "Locale", "Label3", "Locale");
    AddRow(*grid, "SOL", "Label4");
    AddRow(*grid, "Camera", "Label25", "Camera");

    // The fields read from the codes of the name.
    AddHeading(*grid, "Code");
    AddRow(*grid, "Image Type", "Label16", "Image Type");
    AddRow(*grid, "Site", "Label14");
    AddRow(*grid, "Drive", "Label15");
    AddRow(*grid, "Filter", "Label13", "Filter");
    AddRow(*grid, "Eye", "Label18", "Eye");
    AddRow(*grid, "Producer", "Label19", "Producer");
    AddRow(*grid, "Version", "Label21");

    AddHeading(*grid, "Command sequence");
    AddRow(*grid, "Command", "Label10");
    AddRow(*grid, "Category", "Label11", "Category");
    AddRow(*grid, "Sequence Code", "Label12", "Code");

    AddHeading(*grid, "Earthtime");
    AddRow(*grid, "Time on Earth (UTC)", "Label6");
    AddRow(*grid, "Time on Earth (LOCAL)", "Label27");
    AddRow(*grid, "Local Time Zone", "Label29", "TZ");
    AddRow(*grid, "Local Martian time", "Label32");

    auto* note = PlainLabel("Solar Time Error can approx +/- 1 hour.", fields);
    MakeItalic(*note);
    grid->addWidget(note, grid->rowCount(), 1);

    QFont bold = font();
    bold.setBold(true);
    grid->setColumnMinimumWidth(1, QFontMetrics(bold).horizontalAdvance(kWidestValue) + 8);
    return fields;
}

void LargeImagePage::AddHeading(QGridLayout& grid, const char* text) {
    auto* heading = PlainLabel(text, grid.parentWidget());
    MakeBold(*heading);
    const int row = grid.rowCount();
    // A little air above each group.
    heading->setContentsMargins(0, 8, 0, 0);
    grid.addWidget(heading, row, 0, 1, 2);
}

QLabel* LargeImagePage::AddRow(QGridLayout& grid, const char* caption, const char* controlName,
                               const char* placeholder) {
    return AddValueRow(grid, caption, controlName, placeholder);
}

QPushButton* LargeImagePage::AddButton(const char* objectName, const char* text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QLabel* LargeImagePage::Value(const char* controlName) const {
    return findChild<QLabel*>(controlName);
}

void LargeImagePage::ShowDecoded(const DecodeState& state) {
    const DecodedPanel& panel = state.panel;
    Value("Label29")->setText(Text(panel.timeZone));
    Value("Label32")->setText(Text(panel.martianLocalTime));
    if (!state.failure.empty()) return;

    struct Copy {
        const char* control;
        const std::string& text;
    };
    const Copy copies[] = {
        {"Label7", state.product.BaseName}, {"Label2", panel.roverNumber},
        {"Label3", panel.location},         {"Label4", panel.sol},
        {"Label25", panel.camera},          {"Label6", panel.utcTime},
        {"Label16", panel.productType},     {"Label14", panel.site},
        {"Label15", panel.drive},           {"Label10", panel.sequence},
        {"Label11", panel.category},        {"Label12", panel.sequenceRange},
        {"Label13", panel.filter},          {"Label18", panel.eye},
        {"Label19", panel.producer},        {"Label21", panel.version},
        {"Label27", panel.localTime},
    };
    for (const Copy& copy : copies) Value(copy.control)->setText(Text(copy.text));
}

void LargeImagePage::SetPicture(const Bitmap24& bitmap) {
    picture_->SetBitmap(bitmap);
}

void LargeImagePage::SetImage(const QImage& image) {
    picture_->SetImage(image);
}

void LargeImagePage::SetStretch(bool on) {
    picture_->SetStretch(on);
}

bool LargeImagePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && event->type() == QEvent::Resize) {
        const int side = qMax(picture_->height(), picture_->minimumWidth());
        if (pictureBox_->maximumWidth() != side) pictureBox_->setMaximumWidth(side);
    }
    return QWidget::eventFilter(watched, event);
}

void LargeImagePage::showEvent(QShowEvent* event) {
    CentreOnFirstShow(*this, platform_.desktop, *event, centred_);
    QWidget::showEvent(event);
}

}  // namespace kobrix
