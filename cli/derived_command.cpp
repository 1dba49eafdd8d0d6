#include "cli/derived_command.h"

#include <sys/stat.h>
#include <optional>

#include "volume/derived_products.h"

namespace kobrix::cli {

int RunDerivedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::optional<std::string> file;
    bool linearized = false;
    for (const std::string& arg : args) {
        if (arg == "--linearized") {
            linearized = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "kobrix-cli derived: unknown option " << arg << '\n';
            return 2;
        } else if (file) {
            err << "kobrix-cli derived: give one file\n";
            return 2;
        } else {
            file = arg;
        }
    }
    if (!file) {
        err << "kobrix-cli derived: give one file\n";
        return 2;
    }
    struct stat status {};
    if (stat(file->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        err << "kobrix-cli: " << *file << ": no such file\n";
        return 1;
    }
    const std::size_t slash = file->rfind('/');
    const std::optional<ProductNameParts> parts =
        SplitProductName(slash == std::string::npos ? *file : file->substr(slash + 1));
    if (!parts) {
        err << "kobrix-cli: " << *file
            << ": not named as a rover product (no product-type letters after the clock)\n";
        return 1;
    }
    if (linearized && !IsEdrType(parts->type)) {
        err << "kobrix-cli: " << *file << ": --linearized takes an EDR (its product type, "
            << parts->type << ", does not begin with E)\n";
        return 1;
    }
    if (linearized) {
        const std::string product = LinearizedProduct(*file);
        if (product.empty()) {
            err << "kobrix-cli: " << *file << ": no linearized product of this exposure\n";
            return 1;
        }
        out << product << '\n';
        return 0;
    }
    for (const std::string& product : DerivedProducts(*file)) out << product << '\n';
    return 0;
}

}  // namespace kobrix::cli
