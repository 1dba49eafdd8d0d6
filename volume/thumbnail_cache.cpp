#include "volume/thumbnail_cache.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "archive/archive_file.h"
#include "imaging/ascii_case.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

constexpr std::string_view kMagic = "KOBRIX-THUMBNAIL 1\n";

std::string Absolute(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string KeyText(const ThumbnailKey& key) {
    std::string text = key.path + '\n' + std::to_string(key.size) + ' ' +
                       std::to_string(key.modifiedNs) + ' ' + std::to_string(key.edge) + '\n';
    for (const ThumbnailKey::File& part : key.parts) {
        text += part.path + '\n' + std::to_string(part.size) + ' ' +
                std::to_string(part.modifiedNs) + '\n';
    }
    return text;
}

std::int64_t ModifiedNs(const struct stat& status) {
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

// The other files of the product at `path` whose bytes its picture is made from.
std::vector<std::string> OtherProductFiles(const std::string& path) {
    const std::string extension = LowerExtension(path);
    try {
        if (extension == ".img") {
            if (FindArchiveLabel(path) == path) return {};
        } else if (extension != ".lbl" && extension != ".xml") {
            return {};
        }
        std::vector<std::string> files = ArchiveProductFiles(path);
        files.erase(files.begin());
        return files;
    } catch (const ImageError&) {
        return {};  // no label to read: the picture cannot be made either
    }
}

// The names of the cache's own files: thumbnails, and the temporary files a write leaves
// when it is killed.
bool IsThumbnailName(std::string_view name) {
    if (name.size() != 22 || name.substr(16) != ".thumb") return false;
    return std::all_of(name.begin(), name.begin() + 16,
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool IsTemporaryName(std::string_view name) {
    if (name.size() != 20 || name.substr(0, 8) != ".kobrix-") return false;
    return std::all_of(name.begin() + 8, name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

// A temporary file younger than this may still be being written by another run.
constexpr std::int64_t kStaleTemporaryNs = std::int64_t{3600} * 1000000000;

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace

std::optional<ThumbnailKey> ThumbnailKeyOf(const std::string& path, int edge) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    ThumbnailKey key;
    key.path = Absolute(path);
    key.size = static_cast<std::uint64_t>(status.st_size);
    key.modifiedNs = ModifiedNs(status);
    key.edge = edge;
    for (const std::string& file : OtherProductFiles(path)) {
        struct stat part {};
        if (stat(file.c_str(), &part) != 0 || !S_ISREG(part.st_mode)) continue;
        const std::string absolute = Absolute(file);
        if (absolute == key.path) continue;
        key.parts.push_back({absolute, static_cast<std::uint64_t>(part.st_size), ModifiedNs(part)});
    }
    return key;
}

std::string ThumbnailFileName(const ThumbnailKey& key) {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.thumb",
                  static_cast<unsigned long long>(Fnv1a(KeyText(key))));
    return name;
}

namespace {

// Adds a row's bytes to the sums; the two never overlap, which lets the compiler add many at a
// time.
void AddRow(const std::uint8_t* __restrict source, std::uint32_t* __restrict sums,
            std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sums[i] += source[i];
}

}  // namespace

Bitmap24 ShrinkToFit(const Bitmap24& picture, int edge) {
    const int width = picture.Width();
    const int height = picture.Height();
    if (width <= edge && height <= edge) return picture;
    const double scale = static_cast<double>(edge) / std::max(width, height);
    const int outWidth = std::max(1, static_cast<int>(width * scale + 0.5));
    const int outHeight = std::max(1, static_cast<int>(height * scale + 0.5));
    Bitmap24 out(outWidth, outHeight);
    // The rows of each band of areas are added up first, byte by byte along whole rows (which
    // the compiler does many at a time), then each area's columns of those sums.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint32_t> columns(rowBytes);
    for (int y = 0; y < outHeight; ++y) {
        const int y0 = static_cast<int>(static_cast<std::int64_t>(y) * height / outHeight);
        const int y1 = std::max(
            y0 + 1, static_cast<int>(static_cast<std::int64_t>(y + 1) * height / outHeight));
        std::fill(columns.begin(), columns.end(), 0u);
        for (int sy = y0; sy < y1; ++sy) AddRow(picture.Row(sy), columns.data(), rowBytes);
        std::uint8_t* row = out.Row(y);
        for (int x = 0; x < outWidth; ++x) {
            const int x0 = static_cast<int>(static_cast<std::int64_t>(x) * width / outWidth);
            const int x1 = std::max(
                x0 + 1, static_cast<int>(static_cast<std::int64_t>(x + 1) * width / outWidth));
            std::uint64_t sum[3] = {0, 0, 0};
            for (int sx = x0; sx < x1; ++sx) {
                const std::uint32_t* column = &columns[3 * static_cast<std::size_t>(sx)];
                sum[0] += column[0];
                sum[1] += column[1];
                sum[2] += column[2];
            }
            const auto count = static_cast<std::uint64_t>((y1 - y0) * (x1 - x0));
            for (int c = 0; c < 3; ++c) {
                row[3 * x + c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
        }
    }
    return out;
}

ThumbnailCache::ThumbnailCache(std::string folder, std::uint64_t maxBytes)
    : folder_(std::move(folder)), maxBytes_(maxBytes), storedSincePrune_(maxBytes / 10) {}

std::optional<Bitmap24> ThumbnailCache::Load(const ThumbnailKey& key) const {
    const std::string path = folder_ + "/" + ThumbnailFileName(key);
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(path, 16 << 20);
    } catch (const ImageError&) {
        return std::nullopt;
    }
    const std::string head = std::string(kMagic) + KeyText(key);
    if (bytes.size() < head.size() + 8 || std::memcmp(bytes.data(), head.data(), head.size()) != 0)
        return std::nullopt;
    std::uint32_t size[2];
    std::memcpy(size, bytes.data() + head.size(), 8);
    const int width = static_cast<int>(size[0]);
    const int height = static_cast<int>(size[1]);
    if (width < 1 || height < 1 || width > key.edge || height > key.edge) return std::nullopt;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    if (bytes.size() != head.size() + 8 + rowBytes * static_cast<std::size_t>(height))
        return std::nullopt;
    Bitmap24 thumbnail(width, height);
    const std::uint8_t* source = bytes.data() + head.size() + 8;
    for (int y = 0; y < height; ++y, source += rowBytes) {
        std::memcpy(thumbnail.Row(y), source, rowBytes);
    }
    // Used now: the last to go when the cache is pruned. A cache of another user's may refuse.
    const timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
    return thumbnail;
}

void ThumbnailCache::Store(const ThumbnailKey& key, const Bitmap24& thumbnail) const {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    const std::string head = std::string(kMagic) + KeyText(key);
    std::vector<std::uint8_t> bytes(head.begin(), head.end());
    const std::uint32_t size[2] = {static_cast<std::uint32_t>(thumbnail.Width()),
                                   static_cast<std::uint32_t>(thumbnail.Height())};
    const auto* sizeBytes = reinterpret_cast<const std::uint8_t*>(size);
    bytes.insert(bytes.end(), sizeBytes, sizeBytes + 8);
    const std::size_t rowBytes = static_cast<std::size_t>(thumbnail.Width()) * 3;
    for (int y = 0; y < thumbnail.Height(); ++y) {
        bytes.insert(bytes.end(), thumbnail.Row(y), thumbnail.Row(y) + rowBytes);
    }
    WriteWholeFile(folder_ + "/" + ThumbnailFileName(key), bytes, Placement::ReplaceName);
}

Bitmap24 ThumbnailCache::Get(const std::string& path, int edge, bool* made) const {
    const std::optional<ThumbnailKey> key = ThumbnailKeyOf(path, edge);
    if (key) {
        if (std::optional<Bitmap24> cached = Load(*key)) {
            if (made != nullptr) *made = false;
            return std::move(*cached);
        }
    }
    Bitmap24 thumbnail = ShrinkToFit(ReadAnyPicture(path), edge);
    if (made != nullptr) *made = true;
    if (key) {
        try {
            Store(*key, thumbnail);
        } catch (const ImageError&) {
            // A read-only or full cache folder: the thumbnail is still shown.
            return thumbnail;
        }
        // Prune at the first store and after each tenth of the cap; one thread at a time.
        const std::uint64_t stored = kMagic.size() + KeyText(*key).size() + 8 +
                                     3 * static_cast<std::uint64_t>(thumbnail.Width()) *
                                         static_cast<std::uint64_t>(thumbnail.Height());
        const std::uint64_t step = std::max<std::uint64_t>(maxBytes_ / 10, 1);
        if (storedSincePrune_.fetch_add(stored) + stored >= step &&
            storedSincePrune_.exchange(0) >= step) {
            Prune();
        }
    }
    return thumbnail;
}

ThumbnailCache::Pruned ThumbnailCache::Prune(std::uint64_t maxBytes) const {
    Pruned pruned;
    const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return pruned;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(folder), closedir);
    if (!dir) {
        close(folder);
        return pruned;
    }
    struct Entry {
        std::string name;
        std::uint64_t bytes;
        std::int64_t modifiedNs;
    };
    std::vector<Entry> removable;
    std::uint64_t total = 0;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t nowNs = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        const bool temporary = IsTemporaryName(name);
        if (!temporary && !IsThumbnailName(name)) continue;
        struct stat status {};
        if (fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(status.st_mode)) {
            continue;  // gone meanwhile, or a link or folder under such a name: not ours
        }
        const auto bytes = static_cast<std::uint64_t>(status.st_size);
        total += bytes;
        if (temporary && nowNs - ModifiedNs(status) < kStaleTemporaryNs) continue;
        removable.push_back({std::string(name), bytes, ModifiedNs(status)});
    }
    if (total <= maxBytes) return pruned;
    const std::uint64_t goal = maxBytes - maxBytes / 10;
    std::sort(removable.begin(), removable.end(), [](const Entry& a, const Entry& b) {
        return a.modifiedNs != b.modifiedNs ? a.modifiedNs < b.modifiedNs : a.name < b.name;
    });
    for (const Entry& entry : removable) {
        if (total <= goal) break;
        struct stat status {};
        if (fstatat(folder, entry.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            total -= entry.bytes;  // another run removed it
            continue;
        }
        // Used or made again since it was listed: it stays.
        if (!S_ISREG(status.st_mode) || ModifiedNs(status) != entry.modifiedNs) continue;
        if (unlinkat(folder, entry.name.c_str(), 0) == 0) {
            ++pruned.files;
            pruned.bytes += entry.bytes;
            total -= entry.bytes;
        } else if (errno == ENOENT) {
            total -= entry.bytes;
        }
    }
    return pruned;
}

std::string ThumbnailCaption(std::string_view fileName, const DecodeState& decoded) {
    const DecodedProduct& product = decoded.product;
    if (!product.NameValid || !product.ClockValid) return std::string(fileName);
    static constexpr std::pair<char, const char*> kCameras[] = {
        {'F', "Front Hazcam"}, {'R', "Rear Hazcam"}, {'N', "Navcam"},
        {'P', "Pancam"},       {'M', "Microscopic"}, {'E', "Descent"}};
    std::string caption;
    const char camera = static_cast<char>(std::toupper(
        static_cast<unsigned char>(product.CameraLetter.empty() ? ' ' : product.CameraLetter[0])));
    for (const auto& [letter, name] : kCameras) {
        if (letter == camera) caption = name;
    }
    caption += ' ';
    caption += product.EyeLetter;
    caption += product.FilterDigit;
    const CivilTime time = DecodeDateTime(decoded.times.ImageTimeUtc);
    char text[40];
    std::snprintf(text, sizeof text, "\n%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    caption += text;
    return caption;
}

}  // namespace kobrix
