#include "cli/frames_command.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "imaging/bmp_io.h"
#include "imaging/image_error.h"
#include "movie/core/movie_decoder.h"

namespace kobrix::cli {
namespace {

std::optional<int> Count(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0) return std::nullopt;
    return value;
}

}  // namespace

int RunFramesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string movie;
    std::string directory;
    int from = 0;
    int count = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool valued = arg == "-o" || arg == "--from" || arg == "--count";
        if (valued && i + 1 >= args.size()) {
            err << "kobrix-cli frames: " << arg << " needs a value\n";
            return 2;
        }
        if (arg == "-o") {
            directory = args[++i];
        } else if (arg == "--from" || arg == "--count") {
            const std::optional<int> n = Count(args[++i]);
            if (!n) {
                err << "kobrix-cli frames: " << arg << " " << args[i]
                    << ": give a whole number, 0 or more\n";
                return 2;
            }
            (arg == "--from" ? from : count) = *n;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "kobrix-cli frames: unknown option " << arg << "\n";
            return 2;
        } else if (movie.empty()) {
            movie = arg;
        } else {
            err << "kobrix-cli frames: give one movie\n";
            return 2;
        }
    }
    if (movie.empty()) {
        err << "Usage: kobrix-cli frames MOVIE [--from N] [--count N] [-o DIR]\n";
        return 2;
    }
    try {
        MovieDecoder decoder(movie);
        out << movie << ": " << decoder.Width() << " x " << decoder.Height() << ", "
            << decoder.Length() << " frames at " << decoder.FramesPerSecond() << " a second\n";
        if (!directory.empty()) std::filesystem::create_directories(directory);
        if (from > 0) decoder.Seek(from);
        Bitmap24 frame;
        int decoded = 0;
        while (count < 0 || decoded < count) {
            const int number = decoder.ReadFrame(frame);
            if (number < 0) break;
            if (number < from) continue;  // a start past the end lands on the last frame
            ++decoded;
            if (!directory.empty()) {
                char name[32];
                std::snprintf(name, sizeof name, "frame%06d.bmp", number);
                WriteBmpFile(frame, (std::filesystem::path(directory) / name).string());
            }
        }
        out << decoded << " frames decoded\n";
        if (decoded == 0 && count != 0) {
            if (from > 0 && from >= decoder.Length()) {
                err << "kobrix-cli frames: " << movie << ": --from " << from
                    << " is past the end; its frames are 0 to " << decoder.Length() - 1 << "\n";
            } else {
                err << "kobrix-cli frames: " << movie << ": no frame of the movie plays\n";
            }
            return 1;
        }
    } catch (const MovieReadError& e) {
        err << "kobrix-cli frames: " << e.what() << "\n";
        return 1;
    } catch (const ImageError& e) {
        err << "kobrix-cli frames: " << e.what() << "\n";
        return 1;
    } catch (const std::filesystem::filesystem_error& e) {
        err << "kobrix-cli frames: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kobrix::cli
