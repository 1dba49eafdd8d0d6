#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "decode/product_name.h"
#include "imaging/bitmap24.h"

namespace kobrix {

// The cache's cap when no other is given: some 18,000 thumbnails of the sheet's size.
inline constexpr std::uint64_t kThumbnailCacheBytes = std::uint64_t{1} << 30;

// What a cached thumbnail stands for: the file by its absolute path, size and modification
// time, the other files its picture is read from by the same three (a raw .IMG's detached
// label, the data files a detached PDS3 label or a PDS4 label names), and the thumbnail's
// edge. A file changed in place, or its label, gets another key.
struct ThumbnailKey {
    struct File {
        std::string path;
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const File&) const = default;
    };
    std::string path;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    int edge = 0;
    std::vector<File> parts;
    bool operator==(const ThumbnailKey&) const = default;
};

// The key of `path` now; nothing when it is not a regular file. An archive file's label is
// read to find its parts only where it can name other files: a .LBL, a PDS4 .xml, or a raw
// .IMG through its .LBL (an attached label's file holds its own samples).
std::optional<ThumbnailKey> ThumbnailKeyOf(const std::string& path, int edge);

// The cache file's name for a key: a hash of the key, in hexadecimal, ".thumb".
std::string ThumbnailFileName(const ThumbnailKey& key);

// The picture scaled down to fit `edge` x `edge` (each pixel the mean of the pixels it
// covers), its sides in proportion; a smaller picture stays as it is.
Bitmap24 ShrinkToFit(const Bitmap24& picture, int edge);

// Thumbnails kept in a folder of the program's own, never beside the pictures. Each file
// holds its key, so a file of another key under the same hash is made again, not shown.
// Two programs filling one cache at once each write whole files under a temporary name.
//
// The cache is kept under its cap by dropping the thumbnails used longest ago: a thumbnail
// found in the cache counts as used then (its file's time is set to now). Get prunes by itself
// at the first thumbnail it stores and after each tenth of the cap stored since, on the
// thread that made the thumbnail, so a window showing thumbnails needs no call of its own;
// Prune() trims at once (it lists the folder: some tens of milliseconds for a full cache, to
// be called off the window's thread).
class ThumbnailCache {
  public:
    explicit ThumbnailCache(std::string folder, std::uint64_t maxBytes = kThumbnailCacheBytes);
    const std::string& Folder() const { return folder_; }
    std::uint64_t MaxBytes() const { return maxBytes_; }

    std::optional<Bitmap24> Load(const ThumbnailKey& key) const;
    // Creates the folder when missing; throws ImageError when it cannot be written.
    void Store(const ThumbnailKey& key, const Bitmap24& thumbnail) const;

    // The thumbnail of `path`: from the cache when the file is unchanged, else read (any
    // picture ReadAnyPicture reads, archive files once their reader is registered), shrunk
    // and stored. `made` tells which.
    // Throws ImageError when the file cannot be read; a cache that cannot be written only
    // costs the next run the work again.
    Bitmap24 Get(const std::string& path, int edge, bool* made = nullptr) const;

    // When the cache's files come to more than `maxBytes`, removes the thumbnails used
    // longest ago until they come to at most nine tenths of it. Only the cache's own files
    // are removed: thumbnails, and temporary files that a run killed while writing left more
    // than an hour ago; never anything else in the folder, and no link is followed. Another
    // run storing, loading or pruning at the same time is no harm: what it wants may be gone,
    // and is then made again. Returns the files removed and their bytes.
    struct Pruned {
        std::size_t files = 0;
        std::uint64_t bytes = 0;
    };
    Pruned Prune(std::uint64_t maxBytes) const;
    Pruned Prune() const { return Prune(maxBytes_); }

  private:
    std::string folder_;
    std::uint64_t maxBytes_;
    mutable std::atomic<std::uint64_t> storedSincePrune_;
};

// The text under a thumbnail: camera, eye and filter on one line, the UTC capture time the
// name gives on the next; the file name for a name outside the scheme.
std::string ThumbnailCaption(std::string_view fileName, const DecodeState& decoded);

}  // namespace kobrix
