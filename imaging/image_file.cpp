#include "imaging/image_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <new>

#include "imaging/ascii_case.h"
#include "imaging/bmp_io.h"
#include "imaging/file_access.h"
#include "imaging/gif_io.h"
#include "imaging/image_error.h"
#include "imaging/jpeg_io.h"

namespace kobrix {
namespace {

// The extension of the last path component, dot included, in small letters.
bool HasGifSignature(std::span<const std::uint8_t> head) {
    static constexpr std::uint8_t kSignature[] = {'G', 'I', 'F', '8'};
    return head.size() >= 4 && std::equal(kSignature, kSignature + 4, head.begin());
}

// Few readers exist, all registered at start-up; a fixed table read without a lock.
constexpr std::size_t kMaxReaders = 4;
std::array<PictureReader, kMaxReaders> readers{};
std::atomic<std::size_t> readerCount{0};

}  // namespace

void RegisterPictureReader(PictureReader reader) {
    const std::size_t count = readerCount.load();
    for (std::size_t i = 0; i < count; ++i) {
        if (readers[i].claims == reader.claims && readers[i].read == reader.read) return;
    }
    if (count == kMaxReaders) throw ImageError("", "too many picture readers");
    readers[count] = reader;
    readerCount.store(count + 1);
}

const PictureReader* ClaimingPictureReader(std::string_view path) {
    const std::size_t count = readerCount.load();
    for (std::size_t i = 0; i < count; ++i) {
        if (readers[i].claims(path)) return &readers[i];
    }
    return nullptr;
}

bool HasJpegExtension(std::string_view path) {
    const std::string extension = LowerExtension(path);
    return extension == ".jpg" || extension == ".jpeg";
}

PictureKind PictureKindOf(std::string_view path, std::span<const std::uint8_t> head) {
    if (HasJpegExtension(path)) return PictureKind::Jpeg;
    if (LowerExtension(path) == ".gif" || HasGifSignature(head)) return PictureKind::Gif;
    return PictureKind::Bmp;
}

std::optional<PictureKind> WritableKindOf(std::string_view path) {
    const std::string extension = LowerExtension(path);
    if (extension == ".jpg" || extension == ".jpeg") return PictureKind::Jpeg;
    if (extension == ".bmp") return PictureKind::Bmp;
    if (extension == ".gif") return PictureKind::Gif;
    return std::nullopt;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t limit) {
    std::vector<std::uint8_t> bytes;
    ReadWholeFileInto(path, bytes, limit);
    return bytes;
}

void ReadWholeFileInto(const std::string& path, std::vector<std::uint8_t>& bytes,
                       std::size_t limit) {
    InputFile file(path);
    if (file.Size() > limit) {
        throw ImageError(path, "file of " + std::to_string(file.Size()) +
                                   " bytes is larger than the limit of " + std::to_string(limit) +
                                   " bytes");
    }
    try {
        bytes.resize(static_cast<std::size_t>(file.Size()));
    } catch (const std::bad_alloc&) {
        throw ImageError(path, "not enough memory to read the file");
    }
    file.ReadAt(0, bytes.data(), bytes.size());
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    Placement placement) {
    OutputFile file(path, placement);
    file.Write(bytes.data(), bytes.size());
    file.Commit();
}

Bitmap24 ReadJpegOrBmp(const std::string& path) {
    if (const PictureReader* reader = ClaimingPictureReader(path)) return reader->read(path);
    return HasJpegExtension(path) ? ReadJpegFile(path) : ReadBmpFile(path);
}

void ReadAnyPictureInto(const std::string& path, Bitmap24& picture,
                        std::vector<std::uint8_t>& bytes) {
    if (const PictureReader* reader = ClaimingPictureReader(path)) {
        picture = reader->read(path);
        return;
    }
    if (!HasJpegExtension(path)) {
        picture = ReadAnyPicture(path);
        return;
    }
    ReadWholeFileInto(path, bytes);
    DecodeJpegInto(bytes, path, picture);
}

Bitmap24 ReadAnyPicture(const std::string& path) {
    if (const PictureReader* reader = ClaimingPictureReader(path)) return reader->read(path);
    std::array<std::uint8_t, 4> head{};
    std::size_t headSize = 0;
    if (!HasJpegExtension(path)) {
        InputFile file(path);
        headSize = static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), head.size()));
        file.ReadAt(0, head.data(), headSize);
    }
    switch (PictureKindOf(path, std::span(head.data(), headSize))) {
        case PictureKind::Jpeg:
            return ReadJpegFile(path);
        case PictureKind::Gif:
            return ReadGifFile(path);
        case PictureKind::Bmp:
            break;
    }
    return ReadBmpFile(path);
}

void WritePictureByExtension(const Bitmap24& bitmap, const std::string& path, Placement placement) {
    const std::optional<PictureKind> kind = WritableKindOf(path);
    if (!kind) {
        const std::string extension = LowerExtension(path);
        throw ImageError(path, (extension.empty() ? std::string("no file extension")
                                                  : "unknown picture type \"" + extension + "\"") +
                                   "; use .jpg, .jpeg, .bmp or .gif");
    }
    switch (*kind) {
        case PictureKind::Jpeg:
            WriteJpegFile(bitmap, path, placement);
            return;
        case PictureKind::Gif:
            WriteGifFile(bitmap, path, placement);
            return;
        case PictureKind::Bmp:
            WriteBmpFile(bitmap, path, placement);
            return;
    }
}

}  // namespace kobrix
