#include "volume/derived_products.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace kobrix {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

bool IsLetters(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

std::string Directory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get())) names.emplace_back(entry->d_name);
    return names;
}

// The key that every product of one exposure shares: the name without its type letters.
std::string ExposureKey(const ProductNameParts& parts) {
    return Lower(parts.before) + "/" + Lower(parts.after);
}

}  // namespace

std::optional<ProductNameParts> SplitProductName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::string_view stem =
        dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
    if (stem.size() < 16 || (stem[0] != '1' && stem[0] != '2')) return std::nullopt;
    const std::size_t clock = stem[2] == '-' ? 3 : 2;
    if (stem.size() < clock + 9 + 3 + 1 || !IsDigits(stem.substr(clock, 9))) return std::nullopt;
    const std::size_t type = clock + 9;
    if (!IsLetters(stem.substr(type, 3))) return std::nullopt;
    ProductNameParts parts;
    parts.before = std::string(stem.substr(0, type));
    parts.type = std::string(stem.substr(type, 3));
    parts.after = std::string(stem.substr(type + 3));
    if (dot != std::string_view::npos) parts.extension = std::string(fileName.substr(dot));
    return parts;
}

bool IsEdrType(std::string_view type) {
    return !type.empty() && (type[0] == 'E' || type[0] == 'e');
}

std::vector<std::string> DerivedProducts(const std::string& path) {
    const std::string name = FileName(path);
    const std::optional<ProductNameParts> own = SplitProductName(name);
    if (!own) return {};
    const std::string key = ExposureKey(*own);
    const std::string folder = Directory(path);

    std::vector<std::string> folders;
    // data/solNNNN/edr/NAME: the sol's rdr/ folder in any letter case.
    const std::string solFolder = Directory(folder);
    if (Lower(FileName(folder)) == "edr" && solFolder != folder) {
        for (const std::string& entry : Entries(solFolder)) {
            if (Lower(entry) == "rdr" && IsFolder(solFolder + "/" + entry))
                folders.push_back(solFolder + "/" + entry);
        }
    }
    folders.push_back(folder);

    std::vector<std::string> found;
    std::vector<std::string> seenNames;
    for (const std::string& where : folders) {
        std::vector<std::string> names = Entries(where);
        std::sort(names.begin(), names.end());
        for (const std::string& entry : names) {
            const std::optional<ProductNameParts> parts = SplitProductName(entry);
            if (!parts || Lower(parts->extension) != ".img") continue;
            if (ExposureKey(*parts) != key || Lower(parts->type) == Lower(own->type)) continue;
            const std::string candidate = where + "/" + entry;
            if (!IsRegularFile(candidate)) continue;
            if (std::find(seenNames.begin(), seenNames.end(), entry) != seenNames.end()) continue;
            seenNames.push_back(entry);
            found.push_back(candidate);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const std::string& a, const std::string& b) { return FileName(a) < FileName(b); });
    return found;
}

std::string LinearizedProduct(const std::string& path) {
    const std::optional<ProductNameParts> own = SplitProductName(FileName(path));
    if (!own || !IsEdrType(own->type)) return {};
    static constexpr std::string_view kPreferred[] = {"ffl", "sfl", "dnl"};
    std::string chosen;
    std::size_t chosenRank = std::size(kPreferred) + 1;
    for (const std::string& product : DerivedProducts(path)) {
        const std::string type = Lower(SplitProductName(FileName(product))->type);
        if (type.back() != 'l' || IsEdrType(type)) continue;
        const std::size_t rank =
            std::find(std::begin(kPreferred), std::end(kPreferred), type) - std::begin(kPreferred);
        // Products come sorted by name, so the first of a rank is kept.
        if (rank < chosenRank) {
            chosen = product;
            chosenRank = rank;
        }
    }
    return chosen;
}

std::optional<LinearizedPair> LinearizedPairOf(const std::string& rightEyePath,
                                               const std::string& leftEyePath) {
    LinearizedPair pair{LinearizedProduct(rightEyePath), LinearizedProduct(leftEyePath)};
    if (pair.rightEye.empty() || pair.leftEye.empty()) return std::nullopt;
    return pair;
}

}  // namespace kobrix
