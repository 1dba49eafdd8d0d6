#include "movie/core/frame_pump.h"

#include <algorithm>
#include <utility>

namespace kobrix {

FramePump::FramePump(std::unique_ptr<MovieDecoder> movie, int capacity)
    : movie_(std::move(movie)), capacity_(static_cast<std::size_t>(std::max(capacity, 1))) {
    thread_ = std::thread([this] { Run(); });
}

FramePump::~FramePump() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void FramePump::Start(int frame) {
    {
        const std::lock_guard lock(mutex_);
        ++generation_;
        for (DecodedFrame& f : queue_) pool_.push_back(std::move(f.picture));
        queue_.clear();
        seekTo_ = frame;
        running_ = true;
        ended_ = false;
        failure_.clear();
    }
    changed_.notify_all();
}

void FramePump::Halt() {
    const std::lock_guard lock(mutex_);
    ++generation_;
    for (DecodedFrame& f : queue_) pool_.push_back(std::move(f.picture));
    queue_.clear();
    running_ = false;
    seekTo_ = -1;
}

int FramePump::FrontNumber() const {
    const std::lock_guard lock(mutex_);
    return queue_.empty() ? -1 : queue_.front().number;
}

bool FramePump::Take(DecodedFrame& frame) {
    {
        const std::lock_guard lock(mutex_);
        if (queue_.empty()) return false;
        if (!frame.picture.Empty()) pool_.push_back(std::move(frame.picture));
        frame = std::move(queue_.front());
        queue_.pop_front();
    }
    changed_.notify_all();
    return true;
}

bool FramePump::Drained() const {
    const std::lock_guard lock(mutex_);
    return ended_ && queue_.empty();
}

std::string FramePump::Failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
}

void FramePump::WaitForBuffered(int count) const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return !running_ || ended_ || queue_.size() >= std::min<std::size_t>(count, capacity_);
    });
}

void FramePump::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] {
            return quit_ || seekTo_ >= 0 || (running_ && !ended_ && queue_.size() < capacity_);
        });
        if (quit_) return;
        const unsigned generation = generation_;
        const int seekTo = std::exchange(seekTo_, -1);
        Bitmap24 picture;
        if (!pool_.empty()) {
            picture = std::move(pool_.back());
            pool_.pop_back();
        }
        lock.unlock();
        int number = -1;
        std::string failure;
        try {
            if (seekTo >= 0) movie_->Seek(seekTo);
            number = movie_->ReadFrame(picture);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        lock.lock();
        if (generation != generation_) {
            // Started again or halted while this frame was decoded: it is not wanted.
            if (!picture.Empty()) pool_.push_back(std::move(picture));
            continue;
        }
        if (!failure.empty() || number < 0) {
            failure_ = failure;
            ended_ = true;
            if (!picture.Empty()) pool_.push_back(std::move(picture));
        } else {
            queue_.push_back(DecodedFrame{number, std::move(picture)});
        }
        changed_.notify_all();
    }
}

}  // namespace kobrix
