#include "colour/sunset_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "browse/browse_texts.h"
#include "colour/core/sunset.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "widgets/controls.h"
#include "widgets/picture_filters.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr int kViewSide = 553;
constexpr int kLongestDelayMs = 255;

const QStringList kOpenFilters = OpenPictureFilters();

QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit("1", parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(60);
    return edit;
}

}  // namespace

SunsetWindow::SunsetWindow(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setObjectName("SunsetUnit200721");
    setWindowTitle("Sunset");
    PaintBackground(*this, Qt::black);

    auto* root = new QVBoxLayout(this);
    view_ = new PictureView(this);
    view_->setObjectName("Image1");
    view_->setFixedSize(kViewSide, kViewSide);
    view_->SetStretch(true);
    view_->SetProportional(true);
    view_->SetCenter(true);
    root->addWidget(view_, 0, Qt::AlignHCenter);

    // "Night Time" over the picture, hidden until a fade has run to its end.
    nightTime_ = NamedLabel("Label3", "Night Time", view_);
    SetTextColour(*nightTime_, Qt::white);
    QFont large = nightTime_->font();
    large.setPointSizeF(large.pointSizeF() * 3);
    nightTime_->setFont(large);
    nightTime_->hide();

    auto* row = new QHBoxLayout;
    auto* delayCaption = PlainLabel("Delay", this);
    SetTextColour(*delayCaption, Qt::white);
    delay_ = Edit("Edit1", this);
    auto* stepCaption = PlainLabel("Step", this);
    step_ = Edit("Edit2", this);
    stepCaption->hide();
    step_->hide();
    row->addWidget(delayCaption);
    row->addWidget(delay_);
    row->addWidget(stepCaption);
    row->addWidget(step_);
    row->addStretch();
    const auto button = [&](const char* name, const char* caption,
                            void (SunsetWindow::*handler)()) {
        QPushButton* b = PlainButton(name, caption, this);
        connect(b, &QPushButton::clicked, this, [this, handler] {
            RunGuarded(platform_.prompts, [this, handler] { (this->*handler)(); });
        });
        row->addWidget(b);
        buttons_ << b;
    };
    button("Button2", "Open Image", &SunsetWindow::Button2Click);
    button("Button4", "Initiate Sunset Fade", &SunsetWindow::Button4Click);
    button("Button5", "Re-instate Image", &SunsetWindow::Button5Click);
    button("Button1", "Close", &SunsetWindow::Button1Click);
    root->addLayout(row);
}

void SunsetWindow::Receive(const QImage& picture, const QString& path) {
    // The waits of a fade let the main window's menu run: a picture handed over then would
    // be faded from the middle and end as "Night Time" over a bright picture. The running
    // fade keeps its picture; the user may hand it over again once night has fallen.
    if (fading_) {
        raise();
        return;
    }
    nightTime_->hide();
    dialogFile_ = path;
    TakeOver(BitmapFromImage(picture));
    show();
    raise();
}

void SunsetWindow::TakeOver(Bitmap24 picture) {
    working_ = std::move(picture);
    kept_ = working_;
    ShowWorking();
}

void SunsetWindow::ShowWorking() {
    view_->SetBitmap(working_);
    view_->repaint();
}

void SunsetWindow::Button2Click() {
    if (fading_) return;
    nightTime_->hide();
    const FileChoice choice =
        platform_.prompts.OpenPicture("Open Image", kOpenFilters, 1, dialogFile_);
    if (!choice.accepted) return;
    // A file that cannot be read throws before anything changes: the previous picture stays.
    Bitmap24 picture = ReadJpegOrBmp(choice.path.toStdString());
    dialogFile_ = choice.path;
    TakeOver(std::move(picture));
}

void SunsetWindow::Button4Click() {
    if (fading_) return;
    Button5Click();
    (void)step_->text();  // read when a fade starts; it changes nothing
    Fade();
}

void SunsetWindow::Fade() {
    fading_ = true;
    // The fade owns the window until it ends: the waits let paint events through, not clicks,
    // and the delay it reads on every pass stays as it was when it started.
    for (QPushButton* b : buttons_) b->setEnabled(false);
    delay_->setEnabled(false);
    struct Release {
        SunsetWindow& window;
        ~Release() {
            window.fading_ = false;
            for (QPushButton* b : window.buttons_) b->setEnabled(true);
            window.delay_->setEnabled(true);
        }
    } release{*this};

    for (int pass = 0; pass < kSunsetPasses; ++pass) {
        SunsetPass(working_);
        const std::optional<int> delay = ParseWholeNumber(delay_->text().trimmed().toStdString());
        if (!delay) {
            ShowWorking();
            throw std::invalid_argument(NotAnIntegerText(delay_->text().toStdString()));
        }
        // A negative delay waits nothing; a long one is held to 255 ms.
        platform_.desktop.Wait(std::clamp(*delay, 0, kLongestDelayMs));
        ShowWorking();
    }
    // Centred over the picture as it is now (the screen fit may have moved it).
    nightTime_->adjustSize();
    nightTime_->move((view_->width() - nightTime_->width()) / 2,
                     (view_->height() - nightTime_->height()) / 2);
    nightTime_->show();
    nightTime_->raise();
}

void SunsetWindow::Button5Click() {
    if (fading_) return;
    nightTime_->hide();
    working_ = kept_;
    ShowWorking();
}

void SunsetWindow::Button1Click() {
    hide();
}

}  // namespace kobrix
