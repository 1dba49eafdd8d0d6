#include "movie/movie_player.h"

#include <QElapsedTimer>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kobrix {

VideoSurface::VideoSurface(QWidget* parent) : QWidget(parent) {
    setObjectName("VideoSurface");
    // Clicks belong to the display window under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void VideoSurface::Show(const QImage& frame) {
    frame_ = frame;
    update();
}

void VideoSurface::Clear() {
    frame_ = QImage();
    update();
}

void VideoSurface::paintEvent(QPaintEvent*) {
    if (frame_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), frame_);
}

MoviePlayer::MoviePlayer(QObject* parent) : QObject(parent) {
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    clock_ = [elapsed] { return static_cast<std::int64_t>(elapsed->elapsed()); };
    presentTimer_.setObjectName("PresentTimer");
    presentTimer_.setTimerType(Qt::PreciseTimer);
    connect(&presentTimer_, &QTimer::timeout, this, &MoviePlayer::PresentStep);
}

MoviePlayer::~MoviePlayer() {
    // The surface may outlive the player in its window; it must not keep our pixels.
    if (surface_ != nullptr) surface_->Clear();
}

void MoviePlayer::Open(const QString& path) {
    Close();
    auto movie = std::make_unique<MovieDecoder>(path.toStdString());
    natural_ = QSize(movie->Width(), movie->Height());
    length_ = movie->Length();
    fps_ = movie->FramesPerSecond();
    pump_ = std::make_unique<FramePump>(std::move(movie));
    fileName_ = path;
    mode_ = PlayerMode::Stopped;
    result_ = PlayResult::Successful;  // nothing of this movie has played yet
    position_ = 0;
    SetDisplayRect(QRect(QPoint(0, 0), natural_));
    pump_->Start(0);
    showNext_ = true;
    UpdateTimer();
}

void MoviePlayer::Close() {
    if (pump_ == nullptr) return;
    Stop();
    ClearDisplay();
    pump_.reset();
    shown_ = DecodedFrame();
    fileName_.clear();
    natural_ = QSize();
    length_ = 0;
    position_ = 0;
    showNext_ = false;
    mode_ = PlayerMode::NotOpen;
    UpdateTimer();
}

void MoviePlayer::SetDisplayWindow(QWidget* window) {
    if (surface_ != nullptr) {
        surface_->Clear();
        surface_->hide();
    }
    display_ = window;
    surface_ = window != nullptr
                   ? window->findChild<VideoSurface*>(QString(), Qt::FindDirectChildrenOnly)
                   : nullptr;
    if (window != nullptr && surface_ == nullptr) surface_ = new VideoSurface(window);
    if (surface_ != nullptr) {
        surface_->setGeometry(rect_);
        surface_->show();
        surface_->raise();
    }
}

void MoviePlayer::SetDisplayRect(const QRect& rect) {
    rect_ = rect;
    if (surface_ != nullptr) surface_->setGeometry(rect_);
}

void MoviePlayer::ClearDisplay() {
    if (surface_ != nullptr) surface_->Clear();
}

const QImage& MoviePlayer::CurrentFrame() const {
    static const QImage none;
    return surface_ != nullptr ? surface_->Frame() : none;
}

void MoviePlayer::Play(int from, bool notify) {
    if (pump_ == nullptr) throw MovieReadError("No movie is open.");
    if (notifyPending_) {
        notifyPending_ = false;
        result_ = PlayResult::Superseded;
        emit notified(result_);
    }
    notifyPending_ = notify;
    if (from < 0 && mode_ == PlayerMode::Playing) return;  // it plays on from where it is
    int start = from >= 0 ? from : position_;
    if (start >= length_) start = 0;
    StartFrom(start);
}

void MoviePlayer::StartFrom(int frame) {
    frame = std::clamp(frame, 0, std::max(length_ - 1, 0));
    pump_->Start(frame);
    startFrame_ = frame;
    startTime_ = -1;  // the clock starts with the first frame shown
    position_ = frame;
    showNext_ = false;
    mode_ = PlayerMode::Playing;
    UpdateTimer();
}

void MoviePlayer::Pause() {
    if (mode_ != PlayerMode::Playing) return;
    mode_ = PlayerMode::Paused;
    UpdateTimer();
}

void MoviePlayer::Resume() {
    if (mode_ != PlayerMode::Paused) return;
    // The queued frames follow the one shown; their timing starts again now.
    startFrame_ = position_ + 1;
    startTime_ = -1;
    mode_ = PlayerMode::Playing;
    UpdateTimer();
}

void MoviePlayer::Stop() {
    if (mode_ == PlayerMode::Playing || mode_ == PlayerMode::Paused) {
        Finish(PlayResult::Aborted);
    }
}

void MoviePlayer::Seek(int frame) {
    if (pump_ == nullptr) throw MovieReadError("No movie is open.");
    Stop();
    frame = std::clamp(frame, 0, std::max(length_ - 1, 0));
    pump_->Start(frame);
    position_ = frame;
    showNext_ = true;
    UpdateTimer();
}

void MoviePlayer::Finish(PlayResult result) {
    mode_ = PlayerMode::Stopped;
    if (pump_ != nullptr) pump_->Halt();
    if (notifyPending_) {
        notifyPending_ = false;
        result_ = result;
        emit notified(result);
    }
    UpdateTimer();
}

void MoviePlayer::Show(DecodedFrame& frame) {
    position_ = frame.number;
    ++presented_;
    if (surface_ != nullptr) {
        const Bitmap24& p = frame.picture;
        surface_->Show(QImage(p.Data(), p.Width(), p.Height(), static_cast<qsizetype>(p.Stride()),
                              QImage::Format_BGR888));
    }
}

void MoviePlayer::PresentStep() {
    if (pump_ == nullptr) return;
    if (showNext_) {
        if (pump_->Take(shown_)) {
            Show(shown_);
            showNext_ = false;
            pump_->Halt();
        } else if (pump_->Drained()) {
            showNext_ = false;
        }
    }
    if (mode_ == PlayerMode::Playing) {
        const std::int64_t now = clock_();
        if (startTime_ < 0 && pump_->FrontNumber() >= 0) startTime_ = now;
        const std::int64_t elapsed = startTime_ < 0 ? 0 : now - startTime_;
        const int due = startFrame_ +
                        static_cast<int>(std::floor(static_cast<double>(elapsed) * fps_ / 1000.0));
        bool took = false;
        for (int front = pump_->FrontNumber(); front >= 0 && front <= due;
             front = pump_->FrontNumber()) {
            if (took) ++dropped_;
            pump_->Take(shown_);
            took = true;
        }
        if (took) Show(shown_);
        if (!pump_->Failure().empty()) {
            Finish(PlayResult::Failure);
        } else if (pump_->Drained() && (startTime_ < 0 || due > position_)) {
            // The last frame had its time, or nothing more came (a resume on the last frame,
            // a play from past the real end of a movie whose length was estimated).
            position_ = length_;
            Finish(PlayResult::Successful);
        }
    }
    UpdateTimer();
}

void MoviePlayer::WaitForBuffered(int count) {
    if (pump_ != nullptr) pump_->WaitForBuffered(count);
}

void MoviePlayer::SetClock(Clock clock) {
    clock_ = std::move(clock);
}

void MoviePlayer::UpdateTimer() {
    const bool wanted = pump_ != nullptr && (mode_ == PlayerMode::Playing || showNext_);
    if (!wanted) {
        presentTimer_.stop();
        return;
    }
    const int interval = std::clamp(static_cast<int>(1000.0 / fps_ / 4), 1, 10);
    if (!presentTimer_.isActive() || presentTimer_.interval() != interval) {
        presentTimer_.start(interval);
    }
}

}  // namespace kobrix
