#include "app/manual_stereo_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "widgets/controls.h"
#include "widgets/picture_view.h"
#include "widgets/window_placement.h"

namespace kobrix {
namespace {

constexpr int kCurrentSide = 185;
constexpr int kLockedSide = 225;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

PictureView* Picture(QWidget* parent, const char* name, int side) {
    auto* view = new PictureView(parent);
    view->setObjectName(name);
    view->setFixedSize(side, side);
    view->SetCenter(true);
    view->SetProportional(true);
    return view;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
    return NamedLabel(name, text, parent);
}

}  // namespace

ManualStereoWindow::ManualStereoWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("ManualStereoUnit200711");
    setWindowTitle("Manual Stereo Viewing Filter Selection");
    PaintBackground(*this, Qt::white);

    // The image on display.
    currentPicture_ = Picture(this, "Image1", kCurrentSide);
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName("Edit1");
    fileName_->setReadOnly(true);
    eye_ = Label(this, "EyeText", "Eye");
    filter_ = Label(this, "FilterText", "Filter");
    earthTime_ = Label(this, "EarthTimeText", "EarthTime");
    rover_ = Label(this, "RoverText", "Rover");
    sol_ = Label(this, "SolText", "SOL");
    camera_ = Label(this, "CameraText", "Camera");
    auto* details = new QVBoxLayout;
    details->addWidget(fileName_);
    for (QLabel* label : {eye_, filter_, earthTime_, rover_, sol_, camera_}) {
        details->addWidget(label);
    }
    details->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(currentPicture_, 0, Qt::AlignTop);
    top->addLayout(details, 1);

    auto* locked = new QHBoxLayout;
    locked->addLayout(BuildLockedArea("Left Eye", "Left", leftArea_));
    locked->addSpacing(12);
    locked->addLayout(BuildLockedArea("Right Eye", "Right", rightArea_));
    ShowLocked(left_, leftArea_);
    ShowLocked(right_, rightArea_);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const char* text, const char* hint) {
        QPushButton* b = NamedButton(name, text, this, hint);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* close = button("Button1", "Close", "Close this window");
    QPushButton* view = button("Button2", "View in Stereo",
                               "Show the selected images in the Stereo Viewing window");
    QPushButton* previous = button("Button3", "Prev.", "Show the previous image file");
    QPushButton* next = button("Button4", "Next", "Show the next image file");
    QPushButton* lock =
        button("Button5", "Lock Image", "Lock the selected image into the window below");
    connect(close, &QPushButton::clicked, this, [this] {
        emit closeClicked();
        hide();
    });
    connect(view, &QPushButton::clicked, this, &ManualStereoWindow::viewInStereoClicked);
    connect(previous, &QPushButton::clicked, this, &ManualStereoWindow::previousClicked);
    connect(next, &QPushButton::clicked, this, &ManualStereoWindow::nextClicked);
    connect(lock, &QPushButton::clicked, this, &ManualStereoWindow::LockImage);

    auto* root = new QVBoxLayout(this);
    root->addLayout(top);
    root->addSpacing(8);
    root->addLayout(locked);
    root->addWidget(
        Label(this, "SwapNote", "Left and Right Eyes will be swaped for Stereo Viewing"), 0,
        Qt::AlignHCenter);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);
}

QVBoxLayout* ManualStereoWindow::BuildLockedArea(const char* title, const char* prefix,
                                                 LockedArea& area) {
    QWidget* box = this;
    auto* column = new QVBoxLayout;
    const QString name(prefix);
    auto* heading = PlainLabel(title, box);
    heading->setObjectName(name + "EyeCaption");
    MakeBold(*heading);
    column->addWidget(heading, 0, Qt::AlignHCenter);
    area.picture = Picture(box, (name + "EyeImage").toLatin1().constData(), kLockedSide);
    column->addWidget(area.picture);
    area.filter = PlainLabel(box);
    area.filter->setObjectName(name + "EyeFilter");
    area.earthTime = PlainLabel(box);
    area.earthTime->setObjectName(name + "EyeEarthTime");
    area.fileName = PlainLabel(box);
    area.fileName->setObjectName(name + "EyeFileName");
    for (QLabel* label : {area.filter, area.earthTime, area.fileName}) column->addWidget(label);
    return column;
}

void ManualStereoWindow::ShowLocked(const LockedEye& eye, LockedArea& area) {
    area.filter->setText(Text(eye.filter));
    area.earthTime->setText(Text(eye.earthTime));
    area.fileName->setText(Text(eye.fileName));
}

void ManualStereoWindow::ShowCurrent(const Current& current) {
    current_ = current;
    currentPicture_->SetImage(current.picture);
    fileName_->setText(Text(current.fileName));
    eye_->setText(Text(current.eye));
    filter_->setText(Text(current.filter));
    earthTime_->setText(Text(current.earthTime));
    rover_->setText(Text(current.rover));
    sol_->setText(Text(current.sol));
    camera_->setText(Text(current.camera));
    layout()->activate();  // the window takes the width of longer texts at once
}

void ManualStereoWindow::LockImage() {
    const LockSide side = LockSideFor(current_.eye);
    if (side == LockSide::None) return;
    LockedEye& eye = side == LockSide::Left ? left_ : right_;
    LockedArea& area = side == LockSide::Left ? leftArea_ : rightArea_;
    eye.filter = current_.filter;
    eye.earthTime = current_.earthTime;
    eye.fileName = current_.fileName;
    area.picture->SetImage(current_.picture);
    ShowLocked(eye, area);
    layout()->activate();
}

void ManualStereoWindow::SetStretch(bool on) {
    for (PictureView* view : {currentPicture_, leftArea_.picture, rightArea_.picture}) {
        view->SetStretch(on);
    }
}

const QImage& ManualStereoWindow::LeftPicture() const {
    return leftArea_.picture->Image();
}
const QImage& ManualStereoWindow::RightPicture() const {
    return rightArea_.picture->Image();
}

void ManualStereoWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CentreOnFirstShow(*this, platform_.desktop, *event, centred_);
}

}  // namespace kobrix
