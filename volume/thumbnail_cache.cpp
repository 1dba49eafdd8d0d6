#include "volume/thumbnail_cache.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>

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
    return key.path + '\n' + std::to_string(key.size) + ' ' + std::to_string(key.modifiedNs) + ' ' +
           std::to_string(key.edge) + '\n';
}

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
    key.modifiedNs =
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    key.edge = edge;
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

ThumbnailCache::ThumbnailCache(std::string folder) : folder_(std::move(folder)) {}

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
        }
    }
    return thumbnail;
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
