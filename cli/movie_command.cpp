#include "cli/movie_command.h"

#include <charconv>
#include <optional>

#include "browse/file_list.h"
#include "imaging/image_file.h"
#include "movie/core/avi_writer.h"

namespace kobrix::cli {
namespace {

constexpr int kProgressFrom = 50;  // frames; shorter movies are written without a word

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool IsBmpName(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".bmp";
}

}  // namespace

int RunMovieCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    bool progress) {
    std::string directory;
    std::string output;
    int fps = 5;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "-o" || arg == "--fps") && i + 1 >= args.size()) {
            err << "kobrix-cli movie: " << arg << " needs a value\n";
            return 2;
        }
        if (arg == "-o") {
            output = args[++i];
        } else if (arg == "--fps") {
            const std::optional<int> rate = WholeNumber(args[++i]);
            if (!rate || *rate <= 0) {
                err << "kobrix-cli movie: --fps " << args[i]
                    << ": give a whole number of frames per second, at least 1\n";
                return 2;
            }
            fps = *rate;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "kobrix-cli movie: unknown option " << arg << "\n";
            return 2;
        } else if (directory.empty()) {
            directory = arg;
        } else {
            err << "kobrix-cli movie: give one directory of frames\n";
            return 2;
        }
    }
    if (directory.empty() || output.empty()) {
        err << "Usage: kobrix-cli movie DIR -o OUT.avi [--fps N]\n";
        return 2;
    }
    FileList frames;
    if (!frames.Read(directory)) {
        err << "kobrix-cli movie: " << directory << ": cannot read the directory\n";
        return 2;
    }
    if (frames.Empty()) {
        err << "kobrix-cli movie: " << directory << " holds no frames\n";
        return 2;
    }
    const int total = frames.Count();
    const MovieProgress report = [&err, total, progress](int written, int count) {
        if (progress && total >= kProgressFrom && (written % 25 == 0 || written == count)) {
            err << "\r" << written << " of " << count << " frames" << (written == count ? "\n" : "")
                << std::flush;
        }
        return true;
    };
    bool allBitmaps = true;
    std::vector<std::string> paths;
    for (int i = 0; i < total; ++i) {
        paths.push_back(frames.PathOf(i));
        allBitmaps = allBitmaps && IsBmpName(frames.Names()[static_cast<std::size_t>(i)]);
    }
    try {
        if (allBitmaps) {
            WriteMovie(output, paths, fps, report);
        } else {
            WriteMovieFromBitmaps(
                output, total,
                [&](int index) { return ReadAnyPicture(paths[static_cast<std::size_t>(index)]); },
                fps, report);
        }
    } catch (const MovieError& e) {
        err << "kobrix-cli movie: " << e.what() << "\n";
        return 1;
    }
    out << output << ": " << total << " frames at " << fps << " a second\n";
    return 0;
}

}  // namespace kobrix::cli
