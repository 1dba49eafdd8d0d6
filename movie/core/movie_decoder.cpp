#include "movie/core/movie_decoder.h"

#include <sys/stat.h>

#include <exception>

#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"
#include "movie/core/movie_module.h"
#include "movie/core/movie_source.h"

namespace kobrix {
namespace {

// The picture a frame is decoded into, as the module sees it. What the module cannot be told
// (a failure other than a picture too large or a JPEG it should decode itself) is kept here
// and thrown once the module has returned.
class PictureSink final : public FrameSink {
  public:
    explicit PictureSink(Bitmap24& picture) : picture_(picture) {}

    std::uint8_t* Reserve(int width, int height, std::size_t& stride) override {
        try {
            if (picture_.Width() != width || picture_.Height() != height) {
                picture_.Resize(width, height, false);
            }
        } catch (const ImageError&) {
            return nullptr;  // the module says the frame is too large
        } catch (...) {
            failure_ = std::current_exception();
            return nullptr;
        }
        stride = picture_.Stride();
        return picture_.Data();
    }

    Jpeg TakeJpeg(const std::uint8_t* data, std::size_t size, int width, int height) override {
        try {
            DecodeJpegInto({data, size}, "frame", picture_);
        } catch (const ImageError&) {
            return Jpeg::Unreadable;
        } catch (...) {
            failure_ = std::current_exception();
            return Jpeg::Stop;
        }
        return picture_.Width() == width && picture_.Height() == height ? Jpeg::Decoded
                                                                        : Jpeg::Unreadable;
    }

    // Throws what the module was not told, else MovieReadError with the module's text.
    [[noreturn]] void Fail(const std::string& error) const {
        if (failure_) std::rethrow_exception(failure_);
        throw MovieReadError(error);
    }

  private:
    Bitmap24& picture_;
    std::exception_ptr failure_;
};

}  // namespace

struct MovieDecoder::State {
    std::unique_ptr<MovieSource> source;
};

MovieDecoder::MovieDecoder(const std::string& path) : state_(std::make_unique<State>()) {
    const auto fail = [&](const std::string& why) {
        throw MovieReadError("Cannot play " + path + ": " + why);
    };
    // A pipe or device would be opened and waited on for ever: only regular files, as the
    // picture readers take them. Missing files are left to the library, which says so.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        fail(S_ISDIR(info.st_mode) ? "it is a directory." : "it is not a regular file.");
    }
    std::string error;
    const OpenMovieFunction open = LoadMovieModule(error);
    if (open == nullptr) throw MovieModuleError(error);
    state_->source.reset(open(kMovieModuleVersion, path.c_str(), &error));
    if (state_->source == nullptr) throw MovieReadError(error);
    const int width = state_->source->Width();
    const int height = state_->source->Height();
    try {
        Bitmap24::CheckSize(width, height);
    } catch (const ImageError&) {
        fail("its frames of " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels are larger than any picture the program can show.");
    }
}

MovieDecoder::~MovieDecoder() = default;

int MovieDecoder::Width() const {
    return state_->source->Width();
}
int MovieDecoder::Height() const {
    return state_->source->Height();
}
int MovieDecoder::Length() const {
    return state_->source->Length();
}
double MovieDecoder::FramesPerSecond() const {
    return state_->source->FramesPerSecond();
}

void MovieDecoder::Seek(int frame) {
    std::string error;
    if (!state_->source->Seek(frame, error)) throw MovieReadError(error);
}

int MovieDecoder::ReadFrame(Bitmap24& picture) {
    PictureSink sink(picture);
    std::string error;
    const int number = state_->source->ReadFrame(sink, error);
    if (number == MovieSource::kReadFailed) sink.Fail(error);
    return number;
}

MovieProbe ProbeMovie(const std::string& path) {
    MovieProbe probe;
    try {
        const MovieDecoder movie(path);
        probe.width = movie.Width();
        probe.height = movie.Height();
        probe.length = movie.Length();
    } catch (const MovieModuleError& e) {
        probe.error = e.what();
        probe.noPlayer = true;
    } catch (const MovieReadError& e) {
        probe.error = e.what();
    }
    return probe;
}

}  // namespace kobrix
