#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "decode/product_name.h"
#include "imaging/bitmap24.h"

namespace kobrix {

// What a cached thumbnail stands for: the file by its absolute path, size and modification
// time, and the thumbnail's edge. A file changed in place gets another key.
struct ThumbnailKey {
    std::string path;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    int edge = 0;
    bool operator==(const ThumbnailKey&) const = default;
};

// The key of `path` now; nothing when it is not a regular file.
std::optional<ThumbnailKey> ThumbnailKeyOf(const std::string& path, int edge);

// The cache file's name for a key: a hash of the key, in hexadecimal, ".thumb".
std::string ThumbnailFileName(const ThumbnailKey& key);

// The picture scaled down to fit `edge` x `edge` (each pixel the mean of the pixels it
// covers), its sides in proportion; a smaller picture stays as it is.
Bitmap24 ShrinkToFit(const Bitmap24& picture, int edge);

// Thumbnails kept in a folder of the program's own, never beside the pictures. Each file
// holds its key, so a file of another key under the same hash is made again, not shown.
// Two programs filling one cache at once each write whole files under a temporary name.
class ThumbnailCache {
  public:
    explicit ThumbnailCache(std::string folder);
    const std::string& Folder() const { return folder_; }

    std::optional<Bitmap24> Load(const ThumbnailKey& key) const;
    // Creates the folder when missing; throws ImageError when it cannot be written.
    void Store(const ThumbnailKey& key, const Bitmap24& thumbnail) const;

    // The thumbnail of `path`: from the cache when the file is unchanged, else read (any
    // picture ReadAnyPicture reads, archive files once their reader is registered), shrunk
    // and stored. `made` tells which.
    // Throws ImageError when the file cannot be read; a cache that cannot be written only
    // costs the next run the work again.
    Bitmap24 Get(const std::string& path, int edge, bool* made = nullptr) const;

  private:
    std::string folder_;
};

// The text under a thumbnail: camera, eye and filter on one line, the UTC capture time the
// name gives on the next; the file name for a name outside the scheme.
std::string ThumbnailCaption(std::string_view fileName, const DecodeState& decoded);

}  // namespace kobrix
