#include "cli/thumbnail_command.h"

#include <optional>

#include "cli/option_value.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "volume/thumbnail_cache.h"

namespace kobrix::cli {

int RunThumbnailCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    std::optional<std::string> in, out;
    int size = 128;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value = SplitOptionValue(arg);
        if (arg == "-o" || arg == "--size") {
            if (!value && i + 1 < args.size()) value = args[++i];
            if (!value) {
                err << "kobrix-cli thumbnail: " << arg << " needs a value\n";
                return 2;
            }
            if (arg == "-o") {
                out = *value;
                continue;
            }
            std::size_t used = 0;
            try {
                size = std::stoi(*value, &used);
            } catch (const std::exception&) {
                used = 0;
            }
            if (used != value->size() || size < 1 || size > 1024) {
                err << "kobrix-cli thumbnail: --size " << *value
                    << ": a whole number from 1 to 1024\n";
                return 2;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "kobrix-cli thumbnail: unknown option " << args[i] << '\n';
            return 2;
        } else if (in) {
            err << "kobrix-cli thumbnail: give one picture\n";
            return 2;
        } else {
            in = args[i];
        }
    }
    if (!in || !out) {
        err << "kobrix-cli thumbnail: give a picture and -o OUT\n";
        return 2;
    }
    if (!WritableKindOf(*out)) {
        err << "kobrix-cli thumbnail: " << *out << ": write .jpg, .bmp or .gif\n";
        return 2;
    }
    try {
        WritePictureByExtension(ShrinkToFit(ReadAnyPicture(*in), size), *out);
    } catch (const ImageError& e) {
        err << "kobrix-cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace kobrix::cli
