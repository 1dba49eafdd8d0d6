#include "app/stereo_viewer.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/controls.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr int kPictureSide = 393;
constexpr int kGap = 12;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

StereoViewer::StereoViewer(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("StereoViewerUnit20072");
    setWindowTitle("MER Images Stereo Viewer");
    PaintBackground(*this, Qt::white);

    const auto picture = [this](const char* name) {
        auto* view = new PictureView(this);
        view->setObjectName(name);
        // At least the design size; the pair grows with the window when the screen is scaled.
        view->setMinimumSize(kPictureSide, kPictureSide);
        view->SetCenter(true);
        view->SetProportional(true);
        // A missing partner hides its picture; the other keeps its place.
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        policy.setRetainSizeWhenHidden(true);
        view->setSizePolicy(policy);
        return view;
    };
    rightPicture_ = picture("Image1");
    leftPicture_ = picture("Image2");

    auto* pair = new QGridLayout;
    pair->setHorizontalSpacing(kGap);
    pair->setVerticalSpacing(2);
    pair->addWidget(rightPicture_, 0, 0);
    pair->addWidget(leftPicture_, 0, 1);
    rightName_ = AddLabel("RightEyeName", QString());
    leftName_ = AddLabel("LeftEyeName", QString());
    rightFilter_ = AddLabel("RightEyeFilter", QString());
    leftFilter_ = AddLabel("LeftEyeFilter", QString());
    rightTime_ = AddLabel("RightEyeEarthTime", QString());
    leftTime_ = AddLabel("LeftEyeEarthTime", QString());
    rightTime_->hide();
    int row = 1;
    for (auto [under, other] :
         {std::pair{rightName_, leftName_}, {rightFilter_, leftFilter_}, {rightTime_, leftTime_}}) {
        pair->addWidget(under, row, 0, Qt::AlignHCenter);
        pair->addWidget(other, row, 1, Qt::AlignHCenter);
        ++row;
    }

    auto* values = new QGridLayout;
    values->setHorizontalSpacing(10);
    values->setVerticalSpacing(2);
    rover_ = AddLabel("RoverValue", QString());
    camera_ = AddLabel("CameraValue", QString());
    sol_ = AddLabel("SolValue", QString());
    values->addWidget(AddLabel("RoverCaption", "Rover"), 0, 0);
    values->addWidget(rover_, 0, 1);
    values->addWidget(AddLabel("CameraCaption", "Camera"), 1, 0);
    values->addWidget(camera_, 1, 1);
    values->addWidget(AddLabel("SolCaption", "Rover relative Martian SOL"), 2, 0);
    values->addWidget(sol_, 2, 1);
    values->setColumnStretch(2, 1);
    linearized_ = new QCheckBox("Linearized pair", this);
    linearized_->setObjectName("LinearizedPair");
    linearized_->setToolTip("Show the pair with the lens distortion taken out");
    linearized_->hide();
    values->addWidget(linearized_, 0, 3, Qt::AlignRight);
    connect(linearized_, &QCheckBox::toggled, this, &StereoViewer::linearizedToggled);
    martianTime_ = AddLabel("MartianTime", QString());

    auto* credits = new QHBoxLayout;
    credits->addWidget(AddLabel("Credit", "Images NASA / Planetary Data System"));
    credits->addStretch(1);
    credits->addWidget(AddLabel("ImageBy", "Image by MER"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* close = AddButton("Button1", "Close");
    print_ = AddButton("Button2", "Print");
    QPushButton* next = AddButton("Button3", "NEXT IMAGE");
    QPushButton* previous = AddButton("Button4", "PREVIOUS IMAGE");
    anaglyph_ = AddButton("Button5", "Anaglyph This");
    QPushButton* manual = AddButton("Button6", "Manual Stereo");
    QPushButton* joined = AddButton("Button7", "Save as X-eyed");
    for (QPushButton* button : {close, print_, next, previous, anaglyph_, manual, joined}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    connect(close, &QPushButton::clicked, this, [this] {
        emit closeClicked();
        hide();
    });
    connect(print_, &QPushButton::clicked, this, &StereoViewer::printClicked);
    connect(next, &QPushButton::clicked, this, &StereoViewer::nextClicked);
    connect(previous, &QPushButton::clicked, this, &StereoViewer::previousClicked);
    connect(anaglyph_, &QPushButton::clicked, this, &StereoViewer::anaglyphClicked);
    connect(manual, &QPushButton::clicked, this, &StereoViewer::manualStereoClicked);
    connect(joined, &QPushButton::clicked, this, [this] {
        platform_.prompts.Information(
            "Scanline image joining not yet implemented! Use the clipboard");
    });

    auto* root = new QVBoxLayout(this);
    root->addLayout(pair, 1);
    root->addSpacing(6);
    root->addLayout(values);
    root->addWidget(martianTime_);
    root->addLayout(credits);
    root->addSpacing(6);
    for (const char* line :
         {"To view in stereo, sit about 30 - 60 cm from this picture, and look at the right "
          "image with your left eye, and the left image with your right eye.",
          "In other words, cross your eyes until the two images merge into a third in between "
          "the two.",
          "You may find it of assistance if you blur or defocus your eyes first, form the third "
          "image, and then bring your eyes back into focus for a sharp picture."}) {
        QLabel* instruction = AddLabel("", line);
        instruction->setWordWrap(true);
        root->addWidget(instruction);
    }
    root->addSpacing(6);
    root->addLayout(buttons);
    ShowTexts(texts_);
}

QPushButton* StereoViewer::AddButton(const char* objectName, const char* text) {
    return NamedButton(objectName, text, this);
}

QLabel* StereoViewer::AddLabel(const char* objectName, const QString& text) {
    return NamedLabel(objectName, text, this);
}

void StereoViewer::ShowTexts(const StereoViewerTexts& texts) {
    texts_ = texts;
    rightName_->setText(Text(texts.rightEyeCaption));
    leftName_->setText(Text(texts.leftEyeCaption));
    rightFilter_->setText(Text(texts.rightFilter));
    leftFilter_->setText(Text(texts.leftFilter));
    rightTime_->setText(Text(texts.rightEarthTime));
    leftTime_->setText(Text(texts.leftEarthTime));
    rover_->setText(Text(texts.rover));
    camera_->setText(Text(texts.camera));
    sol_->setText(Text(texts.sol));
    martianTime_->setText(Text(texts.martianTime));
    rightPicture_->setVisible(texts.rightPictureVisible);
    leftPicture_->setVisible(texts.leftPictureVisible);
}

void StereoViewer::OfferLinearized(bool available) {
    linearized_->setVisible(available);
}

bool StereoViewer::LinearizedChosen() const {
    return linearized_->isChecked();
}

void StereoViewer::SetStretch(bool on) {
    rightPicture_->SetStretch(on);
    leftPicture_->SetStretch(on);
}

void StereoViewer::SetRightEyePicture(const QImage& image) {
    rightPicture_->SetImage(image);
}
void StereoViewer::SetLeftEyePicture(const QImage& image) {
    leftPicture_->SetImage(image);
}

}  // namespace kobrix
