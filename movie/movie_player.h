#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "movie/core/frame_pump.h"

namespace kobrix {

// How the last play that asked for notification ended.
enum class PlayResult { Successful, Superseded, Aborted, Failure };

enum class PlayerMode { NotOpen, Stopped, Playing, Paused };

// The picture a player draws into its display window, over the rectangle it is given.
class VideoSurface : public QWidget {
  public:
    explicit VideoSurface(QWidget* parent);
    void Show(const QImage& frame);
    void Clear();
    const QImage& Frame() const { return frame_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage frame_;
};

// Plays one movie at a time into a display window. Positions and the length are in frames.
// Frames are decoded ahead on a worker thread and shown on this thread by the movie's own
// timing: a frame whose time has passed while a later one is ready is skipped, never
// waited for, so the window stays responsive and the movie keeps its rate.
class MoviePlayer : public QObject {
    Q_OBJECT
  public:
    using Clock = std::function<std::int64_t()>;  // milliseconds, only ever increasing

    explicit MoviePlayer(QObject* parent = nullptr);
    ~MoviePlayer() override;

    // Closes the open movie, then opens `path` and shows its first frame. Throws
    // MovieReadError with the text for the user when the file does not play.
    void Open(const QString& path);
    void Close();
    bool IsOpen() const { return pump_ != nullptr; }
    const QString& FileName() const { return fileName_; }
    int Length() const { return length_; }
    QSize NaturalSize() const { return natural_; }
    double FramesPerSecond() const { return fps_; }

    // The window the video is drawn into; by default at its natural size at the top left.
    void SetDisplayWindow(QWidget* window);
    QWidget* DisplayWindow() const { return display_; }
    void SetDisplayRect(const QRect& rect);
    QRect DisplayRect() const { return rect_; }
    void ClearDisplay();

    // Plays from `from` (or from where it stands, -1) to the end. A play starting at the end
    // starts from the beginning. With `notify`, notified() reports how it ended; a pending
    // notification is superseded by the next play.
    void Play(int from = -1, bool notify = true);
    void Pause();
    void Resume();
    void Stop();
    // Stops at `frame` and shows it.
    void Seek(int frame);

    PlayerMode Mode() const { return mode_; }
    int Position() const { return position_; }
    PlayResult LastResult() const { return result_; }
    int DroppedFrames() const { return dropped_; }
    int PresentedFrames() const { return presented_; }
    const QImage& CurrentFrame() const;

    // For tests and benchmarks: the clock, one presentation step, waiting for the decoder.
    void SetClock(Clock clock);
    void PresentStep();
    void WaitForBuffered(int count);
    QTimer& PresentTimer() { return presentTimer_; }

  signals:
    void notified(kobrix::PlayResult result);

  private:
    void Finish(PlayResult result);
    void Show(DecodedFrame& frame);
    void StartFrom(int frame);
    void UpdateTimer();

    std::unique_ptr<FramePump> pump_;
    QPointer<QWidget> display_;
    QPointer<VideoSurface> surface_;
    QRect rect_;
    QString fileName_;
    QSize natural_;
    int length_ = 0;
    double fps_ = 25;
    PlayerMode mode_ = PlayerMode::NotOpen;
    PlayResult result_ = PlayResult::Successful;
    bool notifyPending_ = false;
    bool showNext_ = false;  // stopped or paused, waiting for the frame to show
    int position_ = 0;
    int startFrame_ = 0;
    std::int64_t startTime_ = 0;
    int dropped_ = 0;
    int presented_ = 0;
    DecodedFrame shown_;
    Clock clock_;
    QTimer presentTimer_;
};

}  // namespace kobrix
