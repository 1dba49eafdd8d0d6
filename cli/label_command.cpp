#include "cli/label_command.h"

#include <optional>

#include "cli/option_value.h"
#include "imaging/image_error.h"
#include "volume/whole_label.h"

namespace kobrix::cli {

int RunLabelCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> file;
    std::optional<std::string> find;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value = SplitOptionValue(arg);
        if (arg == "--find") {
            if (!value && i + 1 < args.size()) value = args[++i];
            if (!value) {
                err << "kobrix-cli label: --find needs a value\n";
                return 2;
            }
            find = *value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "kobrix-cli label: unknown option " << args[i] << '\n';
            return 2;
        } else if (file) {
            err << "kobrix-cli label: give one file\n";
            return 2;
        } else {
            file = args[i];
        }
    }
    if (!file) {
        err << "kobrix-cli label: give one file\n";
        return 2;
    }
    try {
        const WholeLabel label = ReadWholeLabel(*file);
        const std::string text = find ? MatchingLines(label.text, *find) : label.text;
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    } catch (const ImageError& e) {
        err << "kobrix-cli: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace kobrix::cli
