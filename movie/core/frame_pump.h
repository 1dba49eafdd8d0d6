#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/bitmap24.h"
#include "movie/core/movie_decoder.h"

namespace kobrix {

struct DecodedFrame {
    int number = -1;
    Bitmap24 picture;
};

// Decodes a movie ahead of its display on a thread of its own, into a small queue of frames
// whose pictures are reused, so that the thread that shows them never waits for a decoder.
class FramePump {
  public:
    explicit FramePump(std::unique_ptr<MovieDecoder> movie, int capacity = 4);
    ~FramePump();
    FramePump(const FramePump&) = delete;
    FramePump& operator=(const FramePump&) = delete;

    // Empties the queue and decodes from frame `frame` on.
    void Start(int frame);
    // Stops decoding and empties the queue.
    void Halt();

    // The number of the oldest decoded frame, or -1 when none is queued.
    int FrontNumber() const;
    // Moves the oldest decoded frame into `frame`; false when none is queued. The picture
    // that `frame` held goes back to the pool.
    bool Take(DecodedFrame& frame);
    // Decoding reached the end of the movie (or failed) and every frame was taken.
    bool Drained() const;
    // Why decoding stopped early; empty while all is well.
    std::string Failure() const;
    // Waits until `count` frames are queued, or decoding ended (tests and benchmarks).
    void WaitForBuffered(int count) const;

  private:
    void Run();

    std::unique_ptr<MovieDecoder> movie_;
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::deque<DecodedFrame> queue_;
    std::vector<Bitmap24> pool_;
    std::string failure_;
    unsigned generation_ = 0;
    int seekTo_ = -1;
    bool running_ = false;
    bool ended_ = false;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace kobrix
