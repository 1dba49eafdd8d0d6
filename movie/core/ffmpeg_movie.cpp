// The FFmpeg module: the movie decoder's reading and decoding, built as libkobrix_ffmpeg.so
// and loaded by MovieDecoder the first time a movie is opened. Its one exported function is
// kobrix_open_movie; it throws nothing out of its functions.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>

#include "movie/core/movie_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace kobrix {
namespace {

std::string ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void QuietLibraries() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

double RateOf(const AVStream& stream) {
    for (const AVRational r : {stream.avg_frame_rate, stream.r_frame_rate}) {
        if (r.num > 0 && r.den > 0) {
            const double fps = av_q2d(r);
            if (fps >= 0.01 && fps <= 10000) return fps;
        }
    }
    return 25.0;
}

// FFmpeg also opens single pictures (as one-frame videos) and text files (as rendered
// terminal pages); neither is a movie for this program.
bool IsStillOrText(const AVInputFormat& format) {
    const std::string_view name = format.name != nullptr ? format.name : "";
    return name == "image2" || name == "tty" ||
           (name.size() > 5 && name.substr(name.size() - 5) == "_pipe");
}

// A failure inside the module, carried to the function that reports it as text.
struct Failure {
    std::string text;
};

class FfmpegMovie final : public MovieSource {
  public:
    // Throws Failure with the whole message for the user.
    explicit FfmpegMovie(const std::string& path);
    ~FfmpegMovie() override;

    int Width() const override { return width; }
    int Height() const override { return height; }
    int Length() const override { return length; }
    double FramesPerSecond() const override { return fps; }
    bool Seek(int frame, std::string& error) override;
    int ReadFrame(FrameSink& sink, std::string& error) override;

  private:
    void Release();
    int Read(FrameSink& sink);
    int ReadJpegFrame(FrameSink& sink);
    int NumberOf(const AVFrame& f);
    int NumberAt(std::int64_t pts);
    bool Convert(const AVFrame& f, FrameSink& sink);

    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    SwsContext* scaler = nullptr;
    int stream = -1;
    double fps = 25;
    double timeBase = 0;  // seconds per stream tick
    std::int64_t startPts = 0;
    int length = 1;
    int width = 0;
    int height = 0;
    int skipUntil = 0;  // frames before this one are decoded and dropped (after a seek)
    int lastNumber = -1;
    int firstPacketNumber = -1;  // of the first packet decoded since opening or seeking, for
                                 // frames without a timestamp
    bool draining = false;       // the file is read to its end; the decoder gives what it holds
    // Motion JPEG frames are whole JPEG pictures: libjpeg-turbo decodes them straight into
    // BGR rows, with no colour conversion pass after it. A stream it cannot read (fields,
    // unusual markers) goes to FFmpeg's decoder from its first frame on.
    bool jpegFrames = false;
    bool jpegProven = false;  // a frame was read this way, so a failure is a damaged frame
};

FfmpegMovie::FfmpegMovie(const std::string& path) {
    QuietLibraries();
    const auto fail = [&](const std::string& why) {
        throw Failure{"Cannot play " + path + ": " + why};
    };
    try {
        // "file:" so that no part of the name is taken for a network or other protocol.
        int rc = avformat_open_input(&format, ("file:" + path).c_str(), nullptr, nullptr);
        if (rc < 0) fail(ErrorText(rc) + ".");
        if (IsStillOrText(*format->iformat)) fail("it is a picture or a text, not a movie.");
        rc = avformat_find_stream_info(format, nullptr);
        if (rc < 0) fail(ErrorText(rc) + ".");
        const AVCodec* decoder = nullptr;
        stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
        if (stream == AVERROR_STREAM_NOT_FOUND) fail("the file holds no video.");
        if (stream < 0 || decoder == nullptr) fail("no decoder for its video is available.");
        for (unsigned i = 0; i < format->nb_streams; ++i) {
            if (static_cast<int>(i) != stream) format->streams[i]->discard = AVDISCARD_ALL;
        }
        const AVStream& video = *format->streams[stream];
        codec = avcodec_alloc_context3(decoder);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        if (codec == nullptr || packet == nullptr || frame == nullptr) fail("out of memory.");
        rc = avcodec_parameters_to_context(codec, video.codecpar);
        if (rc < 0) fail(ErrorText(rc) + ".");
        codec->thread_count = 0;
        rc = avcodec_open2(codec, decoder, nullptr);
        if (rc < 0) fail(ErrorText(rc) + ".");
        width = video.codecpar->width;
        height = video.codecpar->height;
        if (width <= 0 || height <= 0) fail("its frames have no size.");
        jpegFrames = video.codecpar->codec_id == AV_CODEC_ID_MJPEG;
        fps = RateOf(video);
        timeBase = av_q2d(video.time_base);
        startPts = video.start_time != AV_NOPTS_VALUE ? video.start_time : 0;
        double frames = 0;
        if (video.nb_frames > 0) {
            frames = static_cast<double>(video.nb_frames);
        } else if (video.duration != AV_NOPTS_VALUE && video.duration > 0 && timeBase > 0) {
            frames = std::round(static_cast<double>(video.duration) * timeBase * fps);
        } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
            frames = std::round(static_cast<double>(format->duration) / AV_TIME_BASE * fps);
        }
        length = static_cast<int>(std::clamp(frames, 1.0, 1e9));
    } catch (...) {
        Release();  // a constructor that throws runs no destructor of its own
        throw;
    }
}

FfmpegMovie::~FfmpegMovie() {
    Release();
}

void FfmpegMovie::Release() {
    sws_freeContext(scaler);
    scaler = nullptr;
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
}

bool FfmpegMovie::Seek(int target, std::string& error) {
    try {
        target = std::clamp(target, 0, length - 1);
        std::int64_t pts = startPts;
        if (timeBase > 0) {
            pts += static_cast<std::int64_t>(std::floor(target / fps / timeBase + 0.5));
        }
        int rc = av_seek_frame(format, stream, pts, AVSEEK_FLAG_BACKWARD);
        if (rc < 0) rc = avformat_seek_file(format, stream, INT64_MIN, pts, pts, 0);
        if (rc < 0 && target == 0) rc = av_seek_frame(format, stream, 0, AVSEEK_FLAG_BYTE);
        if (rc < 0) {
            error = "The movie cannot be positioned: " + ErrorText(rc) + ".";
            return false;
        }
    } catch (...) {
        error = "The movie cannot be positioned.";
        return false;
    }
    avcodec_flush_buffers(codec);
    skipUntil = target;
    lastNumber = -1;
    firstPacketNumber = -1;
    draining = false;
    return true;
}

int FfmpegMovie::ReadFrame(FrameSink& sink, std::string& error) {
    try {
        return Read(sink);
    } catch (const Failure& failure) {
        error = failure.text;
    } catch (const std::bad_alloc&) {
        error = "The movie's video cannot be decoded: out of memory.";
    } catch (...) {
        error = "The movie's video cannot be decoded.";
    }
    av_frame_unref(frame);
    av_packet_unref(packet);
    return kReadFailed;
}

// The next frame by libjpeg-turbo: its number, -1 at the end, -2 when FFmpeg must take over
// with the packet that is loaded.
int FfmpegMovie::ReadJpegFrame(FrameSink& sink) {
    for (;;) {
        if (av_read_frame(format, packet) < 0) return -1;
        if (packet->stream_index != stream) {
            av_packet_unref(packet);
            continue;
        }
        const int number = NumberAt(packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts);
        lastNumber = number;
        if (number < skipUntil) {
            av_packet_unref(packet);
            continue;
        }
        const FrameSink::Jpeg result =
            sink.TakeJpeg(packet->data, static_cast<std::size_t>(packet->size), width, height);
        if (result == FrameSink::Jpeg::Stop) throw Failure{};
        if (result == FrameSink::Jpeg::Unreadable) {
            if (!jpegProven) {
                // FFmpeg's decoder takes over from this packet, numbered from it.
                lastNumber = number - 1;
                firstPacketNumber = number;
                return -2;
            }
            av_packet_unref(packet);  // a damaged frame is left out
            continue;
        }
        jpegProven = true;
        skipUntil = 0;
        av_packet_unref(packet);
        return number;
    }
}

int FfmpegMovie::Read(FrameSink& sink) {
    if (jpegFrames) {
        const int number = ReadJpegFrame(sink);
        if (number != -2) return number;
        jpegFrames = false;
        avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
    }
    for (;;) {
        int rc = avcodec_receive_frame(codec, frame);
        if (rc == 0) {
            const int number = NumberOf(*frame);
            lastNumber = number;
            if (number < skipUntil) {
                av_frame_unref(frame);
                continue;
            }
            skipUntil = 0;
            const bool converted = Convert(*frame, sink);
            av_frame_unref(frame);
            if (!converted) throw Failure{};
            return number;
        }
        if (rc == AVERROR_EOF) return -1;
        if (rc != AVERROR(EAGAIN)) {
            throw Failure{"The movie's video cannot be decoded: " + ErrorText(rc) + "."};
        }
        if (draining) return -1;
        rc = av_read_frame(format, packet);
        if (rc < 0) {
            // The end of the file (or data past repair): the decoder gives what it holds.
            draining = true;
            avcodec_send_packet(codec, nullptr);
            continue;
        }
        if (packet->stream_index == stream) {
            if (firstPacketNumber < 0) {
                firstPacketNumber =
                    NumberAt(packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts);
            }
            // A damaged packet is dropped; the decoder conceals what it can of the next ones.
            avcodec_send_packet(codec, packet);
        }
        av_packet_unref(packet);
    }
}

int FfmpegMovie::NumberOf(const AVFrame& f) {
    if (f.pts == AV_NOPTS_VALUE) {
        // No presentation times (AVI): the frames come out in order from the key frame the
        // decoding started at; the decoding times lag behind by the reordering delay.
        return lastNumber >= 0 ? lastNumber + 1 : std::max(firstPacketNumber, 0);
    }
    return NumberAt(f.best_effort_timestamp != AV_NOPTS_VALUE ? f.best_effort_timestamp : f.pts);
}

int FfmpegMovie::NumberAt(std::int64_t pts) {
    if (pts == AV_NOPTS_VALUE || timeBase <= 0) return lastNumber + 1;
    const double seconds = static_cast<double>(pts - startPts) * timeBase;
    const double number = std::floor(seconds * fps + 0.5);
    if (number < 0) return 0;
    if (number > std::numeric_limits<int>::max() / 2) return lastNumber + 1;
    return static_cast<int>(number);
}

// False when the sink has no room for the frame (the sink knows why when it is not the size);
// throws Failure when the frame cannot be converted.
bool FfmpegMovie::Convert(const AVFrame& f, FrameSink& sink) {
    std::size_t stride = 0;
    std::uint8_t* const pixels = sink.Reserve(f.width, f.height, stride);
    if (pixels == nullptr) {
        throw Failure{"The movie has a frame of " + std::to_string(f.width) + " x " +
                      std::to_string(f.height) +
                      " pixels, larger than any picture the program can show."};
    }
    const std::size_t rowBytes = static_cast<std::size_t>(f.width) * 3;
    if (f.format == AV_PIX_FMT_BGR24) {
        for (int y = 0; y < f.height; ++y) {
            std::memcpy(pixels + stride * static_cast<std::size_t>(y),
                        f.data[0] + static_cast<std::ptrdiff_t>(y) * f.linesize[0], rowBytes);
        }
        return true;
    }
    scaler = sws_getCachedContext(scaler, f.width, f.height, static_cast<AVPixelFormat>(f.format),
                                  f.width, f.height, AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr,
                                  nullptr);
    if (scaler == nullptr) {
        const char* name = av_get_pix_fmt_name(static_cast<AVPixelFormat>(f.format));
        throw Failure{std::string("The movie's pixel format ") +
                      (name != nullptr ? name : "(unknown)") + " cannot be converted for display."};
    }
    std::uint8_t* target[4] = {pixels, nullptr, nullptr, nullptr};
    const int strides[4] = {static_cast<int>(stride), 0, 0, 0};
    sws_scale(scaler, f.data, f.linesize, 0, f.height, target, strides);
    return true;
}

}  // namespace
}  // namespace kobrix

extern "C" __attribute__((visibility("default"))) kobrix::MovieSource* kobrix_open_movie(
    int version, const char* path, std::string* error) {
    try {
        if (version != kobrix::kMovieModuleVersion) {
            *error =
                "Movies cannot be played: the movie module is of another version of the "
                "program (" +
                std::to_string(version) + " wanted, " +
                std::to_string(kobrix::kMovieModuleVersion) + " here).";
            return nullptr;
        }
        return new kobrix::FfmpegMovie(path);
    } catch (const kobrix::Failure& failure) {
        *error = failure.text;
    } catch (const std::bad_alloc&) {
        *error = std::string("Cannot play ") + path + ": out of memory.";
    } catch (...) {
        *error = std::string("Cannot play ") + path + ".";
    }
    return nullptr;
}
