#include "volume/derived_products.h"
#include "imaging/ascii_case.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace kobrix {
namespace {

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
    return AsciiLower(parts.before) + "/" + AsciiLower(parts.after);
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
    // The folder as it is on disk, not as typed: "NAME" and "./NAME" in edr/ must still reach
    // the sol's other folder.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string folder = Directory(error ? path : absolute.lexically_normal().string());

    std::vector<std::string> folders;
    // data/solNNNN/edr/NAME and data/solNNNN/rdr/NAME: the sol's other folder, in any letter
    // case.
    const std::string solFolder = Directory(folder);
    const std::string kind = AsciiLower(FileName(folder));
    const std::string other = kind == "edr" ? "rdr" : kind == "rdr" ? "edr" : "";
    if (!other.empty() && solFolder != folder) {
        for (const std::string& entry : Entries(solFolder)) {
            if (AsciiLower(entry) == other && IsFolder(solFolder + "/" + entry))
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
            if (!parts || AsciiLower(parts->extension) != ".img") continue;
            if (ExposureKey(*parts) != key || AsciiLower(parts->type) == AsciiLower(own->type))
                continue;
            const std::string candidate = (where == "/" ? "" : where) + "/" + entry;
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

namespace {

// The linearized products of the exposure of the EDR at `path` by their type in lower case, the
// first by name of each type; none for a product that is not an EDR.
std::map<std::string, std::string> LinearizedProducts(const std::string& path) {
    std::map<std::string, std::string> byType;
    const std::optional<ProductNameParts> own = SplitProductName(FileName(path));
    if (!own || !IsEdrType(own->type)) return byType;
    for (const std::string& product : DerivedProducts(path)) {
        const std::string type = AsciiLower(SplitProductName(FileName(product))->type);
        // Products come sorted by name, so the first of a type is kept.
        if (type.back() == 'l' && !IsEdrType(type)) byType.emplace(type, product);
    }
    return byType;
}

// The linearized types in order of choice: FFL, SFL, DNL, then any other by name.
std::vector<std::string> TypesByChoice(const std::map<std::string, std::string>& byType) {
    static constexpr std::string_view kPreferred[] = {"ffl", "sfl", "dnl"};
    std::vector<std::string> types;
    for (const std::string_view type : kPreferred) types.emplace_back(type);
    for (const auto& [type, product] : byType) {
        if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
    }
    return types;
}

}  // namespace

std::string LinearizedProduct(const std::string& path) {
    const std::map<std::string, std::string> byType = LinearizedProducts(path);
    for (const std::string& type : TypesByChoice(byType)) {
        if (const auto found = byType.find(type); found != byType.end()) return found->second;
    }
    return {};
}

std::optional<LinearizedPair> LinearizedPairOf(const std::string& rightEyePath,
                                               const std::string& leftEyePath) {
    const std::map<std::string, std::string> right = LinearizedProducts(rightEyePath);
    const std::map<std::string, std::string> left = LinearizedProducts(leftEyePath);
    // The best type both eyes have: a full frame beside a sub-frame would not fuse either.
    for (const std::string& type : TypesByChoice(right)) {
        const auto r = right.find(type);
        const auto l = left.find(type);
        if (r != right.end() && l != left.end()) return LinearizedPair{r->second, l->second};
    }
    return std::nullopt;
}

}  // namespace kobrix
