#include "movie/core/movie_decoder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <string_view>

#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"

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

}  // namespace

struct MovieDecoder::State {
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
    int firstPacketNumber = -1;  // of the first packet decoded since opening or seeking    // for
                                 // frames without a timestamp
    bool draining = false;       // the file is read to its end; the decoder gives what it holds
    // Motion JPEG frames are whole JPEG pictures: libjpeg-turbo decodes them straight into
    // BGR rows, with no colour conversion pass after it. A stream it cannot read (fields,
    // unusual markers) goes to FFmpeg's decoder from its first frame on.
    bool jpegFrames = false;
    bool jpegProven = false;  // a frame was read this way, so a failure is a damaged frame

    // The next frame by libjpeg-turbo: its number, -1 at the end, -2 when FFmpeg must take
    // over with the packet that is loaded.
    int ReadJpegFrame(Bitmap24& picture) {
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
            try {
                DecodeJpegInto({packet->data, static_cast<std::size_t>(packet->size)}, "frame",
                               picture);
                if (picture.Width() != width || picture.Height() != height) {
                    throw ImageError("frame", "not the stream's frame size");
                }
            } catch (const ImageError&) {
                if (!jpegProven) {
                    // FFmpeg's decoder takes over from this packet, numbered from it.
                    lastNumber = number - 1;
                    firstPacketNumber = number;
                    return -2;
                }
                av_packet_unref(packet);  // a damaged frame is left out
                continue;
            } catch (...) {
                av_packet_unref(packet);
                throw;
            }
            jpegProven = true;
            skipUntil = 0;
            av_packet_unref(packet);
            return number;
        }
    }

    ~State() {
        sws_freeContext(scaler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    int NumberOf(const AVFrame& f) {
        if (f.pts == AV_NOPTS_VALUE) {
            // No presentation times (AVI): the frames come out in order from the key frame
            // the decoding started at; the decoding times lag behind by the reordering delay.
            return lastNumber >= 0 ? lastNumber + 1 : std::max(firstPacketNumber, 0);
        }
        return NumberAt(f.best_effort_timestamp != AV_NOPTS_VALUE ? f.best_effort_timestamp
                                                                  : f.pts);
    }

    int NumberAt(std::int64_t pts) {
        if (pts == AV_NOPTS_VALUE || timeBase <= 0) return lastNumber + 1;
        const double seconds = static_cast<double>(pts - startPts) * timeBase;
        const double number = std::floor(seconds * fps + 0.5);
        if (number < 0) return 0;
        if (number > std::numeric_limits<int>::max() / 2) return lastNumber + 1;
        return static_cast<int>(number);
    }

    void Convert(const AVFrame& f, Bitmap24& picture) {
        try {
            Bitmap24::CheckSize(f.width, f.height);
        } catch (const ImageError&) {
            throw MovieReadError("The movie has a frame of " + std::to_string(f.width) + " x " +
                                 std::to_string(f.height) +
                                 " pixels, larger than any picture "
                                 "the program can show.");
        }
        if (picture.Width() != f.width || picture.Height() != f.height) {
            picture.Resize(f.width, f.height, false);
        }
        const std::size_t rowBytes = static_cast<std::size_t>(f.width) * 3;
        if (f.format == AV_PIX_FMT_BGR24) {
            for (int y = 0; y < f.height; ++y) {
                std::memcpy(picture.Row(y),
                            f.data[0] + static_cast<std::ptrdiff_t>(y) * f.linesize[0], rowBytes);
            }
            return;
        }
        scaler = sws_getCachedContext(scaler, f.width, f.height,
                                      static_cast<AVPixelFormat>(f.format), f.width, f.height,
                                      AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr);
        if (scaler == nullptr) {
            throw MovieReadError(std::string("The movie's pixel format ") +
                                 (av_get_pix_fmt_name(static_cast<AVPixelFormat>(f.format))
                                      ? av_get_pix_fmt_name(static_cast<AVPixelFormat>(f.format))
                                      : "(unknown)") +
                                 " cannot be converted for display.");
        }
        std::uint8_t* target[4] = {picture.Data(), nullptr, nullptr, nullptr};
        const int stride[4] = {static_cast<int>(picture.Stride()), 0, 0, 0};
        sws_scale(scaler, f.data, f.linesize, 0, f.height, target, stride);
    }
};

MovieDecoder::MovieDecoder(const std::string& path) : state_(std::make_unique<State>()) {
    QuietLibraries();
    State& s = *state_;
    const auto fail = [&](const std::string& why) {
        throw MovieReadError("Cannot play " + path + ": " + why);
    };
    // A pipe or device would be opened and waited on for ever: only regular files, as the
    // picture readers take them. Missing files are left to the library, which says so.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        fail(S_ISDIR(info.st_mode) ? "it is a directory." : "it is not a regular file.");
    }
    // "file:" so that no part of the name is taken for a network or other protocol.
    int rc = avformat_open_input(&s.format, ("file:" + path).c_str(), nullptr, nullptr);
    if (rc < 0) fail(ErrorText(rc) + ".");
    if (IsStillOrText(*s.format->iformat)) fail("it is a picture or a text, not a movie.");
    rc = avformat_find_stream_info(s.format, nullptr);
    if (rc < 0) fail(ErrorText(rc) + ".");
    const AVCodec* decoder = nullptr;
    s.stream = av_find_best_stream(s.format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (s.stream == AVERROR_STREAM_NOT_FOUND) fail("the file holds no video.");
    if (s.stream < 0 || decoder == nullptr) fail("no decoder for its video is available.");
    for (unsigned i = 0; i < s.format->nb_streams; ++i) {
        if (static_cast<int>(i) != s.stream) s.format->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVStream& stream = *s.format->streams[s.stream];
    s.codec = avcodec_alloc_context3(decoder);
    s.packet = av_packet_alloc();
    s.frame = av_frame_alloc();
    if (s.codec == nullptr || s.packet == nullptr || s.frame == nullptr) fail("out of memory.");
    rc = avcodec_parameters_to_context(s.codec, stream.codecpar);
    if (rc < 0) fail(ErrorText(rc) + ".");
    s.codec->thread_count = 0;
    rc = avcodec_open2(s.codec, decoder, nullptr);
    if (rc < 0) fail(ErrorText(rc) + ".");
    s.width = stream.codecpar->width;
    s.height = stream.codecpar->height;
    if (s.width <= 0 || s.height <= 0) fail("its frames have no size.");
    try {
        Bitmap24::CheckSize(s.width, s.height);
    } catch (const ImageError&) {
        fail("its frames of " + std::to_string(s.width) + " x " + std::to_string(s.height) +
             " pixels are larger than any picture the program can show.");
    }
    s.jpegFrames = stream.codecpar->codec_id == AV_CODEC_ID_MJPEG;
    s.fps = RateOf(stream);
    s.timeBase = av_q2d(stream.time_base);
    s.startPts = stream.start_time != AV_NOPTS_VALUE ? stream.start_time : 0;
    double frames = 0;
    if (stream.nb_frames > 0) {
        frames = static_cast<double>(stream.nb_frames);
    } else if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0 && s.timeBase > 0) {
        frames = std::round(static_cast<double>(stream.duration) * s.timeBase * s.fps);
    } else if (s.format->duration != AV_NOPTS_VALUE && s.format->duration > 0) {
        frames = std::round(static_cast<double>(s.format->duration) / AV_TIME_BASE * s.fps);
    }
    s.length = static_cast<int>(std::clamp(frames, 1.0, 1e9));
}

MovieDecoder::~MovieDecoder() = default;

int MovieDecoder::Width() const {
    return state_->width;
}
int MovieDecoder::Height() const {
    return state_->height;
}
int MovieDecoder::Length() const {
    return state_->length;
}
double MovieDecoder::FramesPerSecond() const {
    return state_->fps;
}

void MovieDecoder::Seek(int frame) {
    State& s = *state_;
    frame = std::clamp(frame, 0, s.length - 1);
    std::int64_t target = s.startPts;
    if (s.timeBase > 0) {
        target += static_cast<std::int64_t>(std::floor(frame / s.fps / s.timeBase + 0.5));
    }
    int rc = av_seek_frame(s.format, s.stream, target, AVSEEK_FLAG_BACKWARD);
    if (rc < 0) rc = avformat_seek_file(s.format, s.stream, INT64_MIN, target, target, 0);
    if (rc < 0 && frame == 0) rc = av_seek_frame(s.format, s.stream, 0, AVSEEK_FLAG_BYTE);
    if (rc < 0) throw MovieReadError("The movie cannot be positioned: " + ErrorText(rc) + ".");
    avcodec_flush_buffers(s.codec);
    s.skipUntil = frame;
    s.lastNumber = -1;
    s.firstPacketNumber = -1;
    s.draining = false;
}

int MovieDecoder::ReadFrame(Bitmap24& picture) {
    State& s = *state_;
    if (s.jpegFrames) {
        const int number = s.ReadJpegFrame(picture);
        if (number != -2) return number;
        s.jpegFrames = false;
        avcodec_send_packet(s.codec, s.packet);
        av_packet_unref(s.packet);
    }
    for (;;) {
        int rc = avcodec_receive_frame(s.codec, s.frame);
        if (rc == 0) {
            const int number = s.NumberOf(*s.frame);
            s.lastNumber = number;
            if (number < s.skipUntil) {
                av_frame_unref(s.frame);
                continue;
            }
            s.skipUntil = 0;
            try {
                s.Convert(*s.frame, picture);
            } catch (...) {
                av_frame_unref(s.frame);
                throw;
            }
            av_frame_unref(s.frame);
            return number;
        }
        if (rc == AVERROR_EOF) return -1;
        if (rc != AVERROR(EAGAIN)) {
            throw MovieReadError("The movie's video cannot be decoded: " + ErrorText(rc) + ".");
        }
        if (s.draining) return -1;
        rc = av_read_frame(s.format, s.packet);
        if (rc < 0) {
            // The end of the file (or data past repair): the decoder gives what it holds.
            s.draining = true;
            avcodec_send_packet(s.codec, nullptr);
            continue;
        }
        if (s.packet->stream_index == s.stream) {
            if (s.firstPacketNumber < 0) {
                s.firstPacketNumber =
                    s.NumberAt(s.packet->pts != AV_NOPTS_VALUE ? s.packet->pts : s.packet->dts);
            }
            // A damaged packet is dropped; the decoder conceals what it can of the next ones.
            avcodec_send_packet(s.codec, s.packet);
        }
        av_packet_unref(s.packet);
    }
}

MovieProbe ProbeMovie(const std::string& path) {
    MovieProbe probe;
    try {
        const MovieDecoder movie(path);
        probe.width = movie.Width();
        probe.height = movie.Height();
        probe.length = movie.Length();
    } catch (const MovieReadError& e) {
        probe.error = e.what();
    }
    return probe;
}

}  // namespace kobrix
