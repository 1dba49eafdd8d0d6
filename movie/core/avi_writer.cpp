#include "movie/core/avi_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "imaging/bmp_io.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"

namespace kobrix {
namespace {

// A RIFF part is kept under 1 GiB, where AVI 1.0 readers stop; later parts are 'AVIX' lists.
constexpr std::uint64_t kPartLimit = std::uint64_t{1} << 30;
// Room for the super index: one entry a part, so 256 parts (about 256 GiB of frames).
constexpr std::uint32_t kSuperIndexEntries = 256;
constexpr std::uint32_t kKeyFrame = 0x10;  // AVIIF_KEYFRAME

// Little-endian building of headers.
class Bytes {
  public:
    void U8(std::uint8_t v) { data_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void U64(std::uint64_t v) {
        U32(static_cast<std::uint32_t>(v));
        U32(static_cast<std::uint32_t>(v >> 32));
    }
    void Tag(const char (&fourcc)[5]) {
        for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(fourcc[i]));
    }
    void Raw(const std::uint8_t* p, std::size_t n) { data_.insert(data_.end(), p, p + n); }
    void Zeros(std::size_t n) { data_.insert(data_.end(), n, 0); }
    std::size_t Size() const { return data_.size(); }
    // Patches a 32-bit value at `at`.
    void Put32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) data_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    const std::vector<std::uint8_t>& Data() const { return data_; }
    void Clear() { data_.clear(); }

  private:
    std::vector<std::uint8_t> data_;
};

std::uint32_t Read32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// What the movie needs to know of a BMP frame.
struct FrameFormat {
    std::uint32_t dataOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::vector<std::uint8_t> infoBlock;  // from byte 14 to the pixel data
    // What gives the pixel values their colours: the colour masks and the colour table.
    std::vector<std::uint8_t> colours;
};

constexpr std::uint32_t kBitFields = 3;       // BI_BITFIELDS
constexpr std::uint32_t kAlphaBitFields = 6;  // BI_ALPHABITFIELDS

MovieError Unreadable(const InputFile& file, int index, const std::string& why) {
    return MovieError(MovieError::Kind::FrameUnreadable, index,
                      "frame " + std::to_string(index + 1) + " (" + file.Path() + ") " + why);
}

FrameFormat ReadFormatOf(InputFile& file, int index, bool withInfo) {
    const auto unreadable = [&](const std::string& why) { return Unreadable(file, index, why); };
    if (file.Size() < 54) throw unreadable("is too short for a bitmap");
    std::array<std::uint8_t, 54> head{};
    file.ReadAt(0, head.data(), head.size());
    if (head[0] != 'B' || head[1] != 'M') throw unreadable("is not a BMP file");
    FrameFormat f;
    f.dataOffset = Read32(&head[10]);
    const std::uint32_t infoSize = Read32(&head[14]);
    if (infoSize < 40 || f.dataOffset < 14 + infoSize || f.dataOffset > file.Size()) {
        throw unreadable("has a bitmap header this writer does not take");
    }
    f.width = static_cast<std::int32_t>(Read32(&head[18]));
    f.height = static_cast<std::int32_t>(Read32(&head[22]));
    f.bitCount = static_cast<std::uint16_t>(head[28] | head[29] << 8);
    f.compression = Read32(&head[30]);
    f.imageSize = Read32(&head[34]);
    const std::uint64_t absHeight =
        f.height < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(std::int64_t{f.height})
                     : static_cast<std::uint64_t>(f.height);
    if (f.width <= 0 || f.height == 0 || f.bitCount == 0 || f.bitCount > 32) {
        throw unreadable("has an impossible size or depth");
    }
    // The limits every picture reader of the program keeps, in 64 bits.
    const std::uint64_t stride =
        (std::uint64_t{static_cast<std::uint32_t>(f.width)} * f.bitCount + 31) / 32 * 4;
    if (static_cast<std::uint64_t>(f.width) > kMaxImageSide || absHeight > kMaxImageSide ||
        stride * absHeight > kMaxImageBytes) {
        throw unreadable("is " + std::to_string(f.width) + " x " + std::to_string(absHeight) +
                         " at " + std::to_string(f.bitCount) + " bits; frames are limited to " +
                         std::to_string(kMaxImageSide) + " pixels a side and " +
                         std::to_string(kMaxImageBytes >> 20) + " MiB of pixels");
    }
    // Uncompressed rows are as long as the header says the picture is, whatever size field
    // it carries.
    if (f.compression == 0 || f.compression == kBitFields || f.compression == kAlphaBitFields) {
        f.imageSize = static_cast<std::uint32_t>(stride * absHeight);
    } else if (f.imageSize > kMaxImageBytes) {
        throw unreadable("declares more pixel data than any picture may have");
    }
    if (f.imageSize == 0) throw unreadable("gives no size for its pixel data");
    if (std::uint64_t{f.dataOffset} + f.imageSize > file.Size()) {
        throw unreadable("is shorter than its pixel data");
    }
    // The colour masks follow the 40-byte part of the header (inside a version 4 or 5
    // header, after a plain one); the colour table follows the whole header and the masks of
    // a plain one. Frames of 8 bits and fewer get their colours from every entry counted.
    const std::uint64_t masks = f.compression == kBitFields        ? 12
                                : f.compression == kAlphaBitFields ? 16
                                                                   : 0;
    const std::uint32_t used = Read32(&head[46]);
    const std::uint64_t entries = f.bitCount > 8 ? 0
                                  : used != 0    ? std::min<std::uint32_t>(used, 256)
                                                 : 1u << f.bitCount;
    const std::uint64_t tableAt = 14 + std::uint64_t{infoSize} + (infoSize == 40 ? masks : 0);
    const auto take = [&](std::uint64_t at, std::uint64_t size) {
        const std::uint64_t end = std::min<std::uint64_t>(at + size, f.dataOffset);
        if (end <= at) return;
        const std::size_t old = f.colours.size();
        f.colours.resize(old + static_cast<std::size_t>(end - at));
        file.ReadAt(at, f.colours.data() + old, static_cast<std::size_t>(end - at));
    };
    take(14 + 40, masks);
    take(tableAt, entries * 4);
    if (withInfo) {
        f.infoBlock.resize(f.dataOffset - 14);
        file.ReadAt(14, f.infoBlock.data(), f.infoBlock.size());
    }
    return f;
}

FrameFormat ReadFormat(InputFile& file, int index, bool withInfo) {
    try {
        return ReadFormatOf(file, index, withInfo);
    } catch (const ImageError& e) {  // the file changed while read, or a read error
        throw Unreadable(file, index, e.Problem());
    }
}

struct IndexEntry {
    std::uint64_t offset;  // of the chunk's data in the file
    std::uint32_t size;
};

class MovieFile {
  public:
    MovieFile(const std::string& path, const FrameFormat& format, int rate)
        : path_(path), out_(path), format_(format), rate_(rate) {
        WriteHeaders();
    }

    void AddFrame(const std::uint8_t* data, std::uint32_t size) {
        const std::uint32_t padded = size + (size & 1);
        if (position_ + 8 + padded + PartTail() > partStart_ + kPartLimit && !part_.empty()) {
            ClosePart();
            OpenContinuationPart();
        }
        Bytes head;
        head.Tag("00db");
        head.U32(size);
        const std::uint8_t pad = 0;
        const WritePiece pieces[] = {{head.Data().data(), 8}, {data, size}, {&pad, size & 1u}};
        Write(pieces);
        part_.push_back({position_ - padded, size});
        if (firstPart_) legacy_.push_back({position_ - padded, size});
        ++written_;
    }

    void Finish() {
        ClosePart();
        // The headers, now that the counts are known.
        header_.Put32(totalFramesAt_, static_cast<std::uint32_t>(legacyCount_));
        header_.Put32(streamLengthAt_, static_cast<std::uint32_t>(written_));
        header_.Put32(dmlhFramesAt_, static_cast<std::uint32_t>(written_));
        header_.Put32(superCountAt_, static_cast<std::uint32_t>(superEntries_.size()));
        for (std::size_t i = 0; i < superEntries_.size(); ++i) {
            const std::size_t at = superEntriesAt_ + i * 16;
            header_.Put32(at, static_cast<std::uint32_t>(superEntries_[i].offset));
            header_.Put32(at + 4, static_cast<std::uint32_t>(superEntries_[i].offset >> 32));
            header_.Put32(at + 8, superEntries_[i].size);
            header_.Put32(at + 12, superEntries_[i].duration);
        }
        out_.WriteAt(0, header_.Data().data(), header_.Size());
        out_.Commit();
    }

  private:
    struct SuperEntry {
        std::uint64_t offset;
        std::uint32_t size;
        std::uint32_t duration;
    };

    void Write(std::span<const WritePiece> pieces) {
        out_.Write(pieces);
        for (const WritePiece& p : pieces) position_ += p.size;
    }
    void Write(const Bytes& bytes) {
        const WritePiece piece{bytes.Data().data(), bytes.Size()};
        Write(std::span(&piece, 1));
    }

    // What closing a part adds after its frames: the standard index, and the legacy index.
    std::uint64_t PartTail() const {
        std::uint64_t tail = 32 + 8 * (part_.size() + 1);
        if (firstPart_) tail += 8 + 16 * (part_.size() + 1);
        return tail;
    }

    void WriteHeaders() {
        Bytes& h = header_;
        const std::uint32_t info = static_cast<std::uint32_t>(format_.infoBlock.size());
        const std::uint32_t absHeight =
            static_cast<std::uint32_t>(format_.height < 0 ? -format_.height : format_.height);
        h.Tag("RIFF");
        h.U32(0);  // sizes are put in when the part closes
        h.Tag("AVI ");
        h.Tag("LIST");
        const std::size_t hdrlSizeAt = h.Size();
        h.U32(0);
        h.Tag("hdrl");
        h.Tag("avih");
        h.U32(56);
        h.U32(static_cast<std::uint32_t>(1000000 / rate_));
        h.U32(static_cast<std::uint32_t>(std::min<std::uint64_t>(
            std::uint64_t{format_.imageSize} * static_cast<std::uint64_t>(rate_), 0xFFFFFFFFu)));
        h.U32(0);
        h.U32(0x10 | 0x100);  // AVIF_HASINDEX | AVIF_ISINTERLEAVED
        totalFramesAt_ = h.Size();
        h.U32(0);
        h.U32(0);
        h.U32(1);
        h.U32(format_.imageSize + 8);
        h.U32(static_cast<std::uint32_t>(format_.width));
        h.U32(absHeight);
        h.Zeros(16);
        h.Tag("LIST");
        const std::size_t strlSizeAt = h.Size();
        h.U32(0);
        h.Tag("strl");
        h.Tag("strh");
        h.U32(56);
        h.Tag("vids");
        h.Tag("DIB ");
        h.U32(0);  // flags
        h.U32(0);  // priority, language
        h.U32(0);  // initial frames
        h.U32(1);  // scale
        h.U32(static_cast<std::uint32_t>(rate_));
        h.U32(0);  // start
        streamLengthAt_ = h.Size();
        h.U32(0);
        h.U32(format_.imageSize);
        h.U32(0xFFFFFFFFu);  // quality: the default
        h.U32(0);            // sample size: varies
        h.U16(0);
        h.U16(0);
        h.U16(static_cast<std::uint16_t>(format_.width));
        h.U16(static_cast<std::uint16_t>(absHeight));
        h.Tag("strf");
        h.U32(info);
        h.Raw(format_.infoBlock.data(), info);
        if (info & 1) h.U8(0);
        // The OpenDML super index, filled in at the end.
        h.Tag("indx");
        h.U32(24 + 16 * kSuperIndexEntries);
        h.U16(4);  // longs per entry
        h.U8(0);   // sub type
        h.U8(0);   // AVI_INDEX_OF_INDEXES
        superCountAt_ = h.Size();
        h.U32(0);
        h.Tag("00db");
        h.Zeros(12);
        superEntriesAt_ = h.Size();
        h.Zeros(16 * kSuperIndexEntries);
        h.Put32(strlSizeAt, static_cast<std::uint32_t>(h.Size() - strlSizeAt - 4));
        h.Tag("LIST");
        h.U32(4 + 8 + 248);
        h.Tag("odml");
        h.Tag("dmlh");
        h.U32(248);
        dmlhFramesAt_ = h.Size();
        h.Zeros(248);
        h.Put32(hdrlSizeAt, static_cast<std::uint32_t>(h.Size() - hdrlSizeAt - 4));
        h.Tag("LIST");
        h.U32(0);
        moviStart_ = h.Size();
        h.Tag("movi");
        Write(h);
        partStart_ = 0;
    }

    void OpenContinuationPart() {
        Bytes h;
        partStart_ = position_;
        h.Tag("RIFF");
        h.U32(0);
        h.Tag("AVIX");
        h.Tag("LIST");
        h.U32(0);
        moviStart_ = position_ + h.Size();
        h.Tag("movi");
        Write(h);
        firstPart_ = false;
    }

    void ClosePart() {
        // The standard index of this part's frames.
        Bytes ix;
        const std::uint64_t base = part_.empty() ? 0 : part_.front().offset;
        ix.Tag("ix00");
        ix.U32(static_cast<std::uint32_t>(24 + 8 * part_.size()));
        ix.U16(2);
        ix.U8(0);
        ix.U8(1);  // AVI_INDEX_OF_CHUNKS
        ix.U32(static_cast<std::uint32_t>(part_.size()));
        ix.Tag("00db");
        ix.U64(base);
        ix.U32(0);
        for (const IndexEntry& e : part_) {
            ix.U32(static_cast<std::uint32_t>(e.offset - base));
            ix.U32(e.size);  // high bit clear: a key frame
        }
        if (superEntries_.size() >= kSuperIndexEntries) {
            throw MovieError(MovieError::Kind::WriteFailed, -1,
                             path_ + ": the movie is longer than this writer can index");
        }
        superEntries_.push_back({position_, static_cast<std::uint32_t>(ix.Size()),
                                 static_cast<std::uint32_t>(part_.size())});
        Write(ix);
        const std::uint64_t moviEnd = position_;
        // The 'movi' list and, in the first part, the legacy index after it.
        std::uint8_t size[4];
        const auto put = [&](std::uint64_t at, std::uint64_t value) {
            for (int i = 0; i < 4; ++i) size[i] = static_cast<std::uint8_t>(value >> (8 * i));
            if (at < header_.Size()) {
                header_.Put32(static_cast<std::size_t>(at), static_cast<std::uint32_t>(value));
            } else {
                out_.WriteAt(at, size, 4);
            }
        };
        put(moviStart_ - 4, moviEnd - moviStart_);
        if (firstPart_) {
            Bytes idx;
            idx.Tag("idx1");
            idx.U32(static_cast<std::uint32_t>(16 * legacy_.size()));
            for (const IndexEntry& e : legacy_) {
                idx.Tag("00db");
                idx.U32(kKeyFrame);
                idx.U32(static_cast<std::uint32_t>(e.offset - 8 - moviStart_));
                idx.U32(e.size);
            }
            legacyCount_ = legacy_.size();
            Write(idx);
            legacy_.clear();
            legacy_.shrink_to_fit();
        }
        put(partStart_ + 4, position_ - partStart_ - 8);
        part_.clear();
    }

    std::string path_;
    OutputFile out_;
    const FrameFormat& format_;
    int rate_;
    Bytes header_;
    std::uint64_t position_ = 0;
    std::uint64_t partStart_ = 0;
    std::uint64_t moviStart_ = 0;  // of the 'movi' fourcc of the current part
    bool firstPart_ = true;
    std::vector<IndexEntry> part_;
    std::vector<IndexEntry> legacy_;
    std::vector<SuperEntry> superEntries_;
    std::size_t legacyCount_ = 0;
    int written_ = 0;
    std::size_t totalFramesAt_ = 0, streamLengthAt_ = 0, dmlhFramesAt_ = 0, superCountAt_ = 0,
                superEntriesAt_ = 0;
};

}  // namespace

MovieError::MovieError(Kind kind, int frame, const std::string& message)
    : std::runtime_error(message), kind_(kind), frame_(frame) {}

namespace {

void CheckRate(int framesPerSecond) {
    if (framesPerSecond <= 0) {
        throw MovieError(MovieError::Kind::BadRate, -1,
                         "the frame rate must be at least 1 frame per second, not " +
                             std::to_string(framesPerSecond));
    }
}

// Writes `count` frames of `format`; `fill(i, pixels)` puts frame i's pixel bytes into
// `pixels` (image-size bytes) or throws MovieError.
void WriteFrames(const std::string& path, const FrameFormat& format, int count, int framesPerSecond,
                 const MovieProgress& progress,
                 const std::function<void(int, std::vector<std::uint8_t>&)>& fill) {
    std::unique_ptr<MovieFile> movie;
    try {
        movie = std::make_unique<MovieFile>(path, format, framesPerSecond);
    } catch (const ImageError& e) {
        throw MovieError(MovieError::Kind::WriteFailed, -1, e.what());
    }
    std::vector<std::uint8_t> pixels(format.imageSize);
    for (int i = 0; i < count; ++i) {
        fill(i, pixels);
        try {
            movie->AddFrame(pixels.data(), format.imageSize);
        } catch (const ImageError& e) {
            throw MovieError(MovieError::Kind::WriteFailed, i, e.what());
        }
        if (progress && !progress(i + 1, count)) {
            throw MovieError(MovieError::Kind::WriteFailed, i, "the movie was stopped");
        }
    }
    try {
        movie->Finish();
    } catch (const ImageError& e) {
        throw MovieError(MovieError::Kind::WriteFailed, -1, e.what());
    }
}

std::string Mismatch(int index, int width, int height, const FrameFormat& first) {
    return "frame " + std::to_string(index + 1) + " is " + std::to_string(width) + " x " +
           std::to_string(height) + ", not " + std::to_string(first.width) + " x " +
           std::to_string(first.height) + " as the first frame";
}

std::string CompressionName(std::uint32_t compression) {
    switch (compression) {
        case 0:
            return "none";
        case 1:
            return "RLE8";
        case 2:
            return "RLE4";
        case 3:
            return "bit fields";
        case 4:
            return "JPEG";
        case 5:
            return "PNG";
        default:
            return std::to_string(compression);
    }
}

// Names each thing in which frame `index` differs from the first frame.
std::string FormatMismatch(int index, const FrameFormat& f, const FrameFormat& first) {
    std::string what;
    const auto add = [&](const std::string& part) { what += (what.empty() ? "" : "; ") + part; };
    if (f.width != first.width || f.height != first.height) {
        add("size " + std::to_string(f.width) + " x " + std::to_string(f.height) + ", not " +
            std::to_string(first.width) + " x " + std::to_string(first.height));
    }
    if (f.bitCount != first.bitCount) {
        add(std::to_string(f.bitCount) + " bits a pixel, not " + std::to_string(first.bitCount));
    }
    if (f.compression != first.compression) {
        add("compression " + CompressionName(f.compression) + ", not " +
            CompressionName(first.compression));
    }
    if (what.empty() && f.imageSize != first.imageSize) {
        add(std::to_string(f.imageSize) + " bytes of pixel data, not " +
            std::to_string(first.imageSize));
    }
    return "frame " + std::to_string(index + 1) + " differs from the first frame: " + what;
}

}  // namespace

void WriteMovie(const std::string& path, const std::vector<std::string>& frames,
                int framesPerSecond, const MovieProgress& progress) {
    CheckRate(framesPerSecond);
    if (frames.empty()) throw MovieError(MovieError::Kind::NoFrames, -1, "there are no frames");
    const auto open = [&](int index) -> std::unique_ptr<InputFile> {
        try {
            return std::make_unique<InputFile>(frames[static_cast<std::size_t>(index)]);
        } catch (const ImageError& e) {
            throw MovieError(MovieError::Kind::FrameUnreadable, index,
                             "frame " + std::to_string(index + 1) + ": " + e.what());
        }
    };
    const FrameFormat format = ReadFormat(*open(0), 0, true);
    // A frame of another size or format would be garbled: refused instead.
    const auto check = [&](int i, const FrameFormat& f) {
        if (f.width != format.width || f.height != format.height || f.bitCount != format.bitCount ||
            f.compression != format.compression || f.imageSize != format.imageSize) {
            throw MovieError(
                MovieError::Kind::FrameMismatch, i,
                FormatMismatch(i, f, format) + " (" + frames[static_cast<std::size_t>(i)] + ")");
        }
    };
    // The movie has one colour table: frames with colours of their own are written as
    // 24-bit pictures, each as its file shows it.
    bool ownColours = false;
    for (int i = 1; i < static_cast<int>(frames.size()); ++i) {
        const FrameFormat f = ReadFormat(*open(i), i, false);
        check(i, f);
        ownColours = ownColours || f.colours != format.colours;
    }
    if (ownColours) {
        WriteMovieFromBitmaps(
            path, static_cast<int>(frames.size()),
            [&](int i) { return ReadBmpFile(frames[static_cast<std::size_t>(i)]); },
            framesPerSecond, progress);
        return;
    }
    WriteFrames(path, format, static_cast<int>(frames.size()), framesPerSecond, progress,
                [&](int i, std::vector<std::uint8_t>& pixels) {
                    std::unique_ptr<InputFile> file = open(i);
                    const FrameFormat f = ReadFormat(*file, i, false);
                    check(i, f);  // again: it may have changed since
                    if (f.colours != format.colours) {
                        throw MovieError(MovieError::Kind::FrameMismatch, i,
                                         "frame " + std::to_string(i + 1) +
                                             " changed its colours while the movie was written");
                    }
                    try {
                        // Its own pixel data, wherever its header puts it.
                        file->ReadAt(f.dataOffset, pixels.data(), pixels.size());
                    } catch (const ImageError& e) {
                        throw MovieError(MovieError::Kind::FrameUnreadable, i, e.what());
                    }
                });
}

void WriteMovieFromBitmaps(const std::string& path, int count,
                           const std::function<Bitmap24(int index)>& frame, int framesPerSecond,
                           const MovieProgress& progress) {
    CheckRate(framesPerSecond);
    if (count <= 0) throw MovieError(MovieError::Kind::NoFrames, -1, "there are no frames");
    const auto get = [&](int index) {
        try {
            return frame(index);
        } catch (const ImageError& e) {
            throw MovieError(MovieError::Kind::FrameUnreadable, index,
                             "frame " + std::to_string(index + 1) + ": " + e.what());
        }
    };
    Bitmap24 picture = get(0);
    FrameFormat format;
    format.width = picture.Width();
    format.height = picture.Height();
    format.bitCount = 24;
    format.imageSize = static_cast<std::uint32_t>(picture.SizeBytes());
    Bytes info;
    info.U32(40);
    info.U32(static_cast<std::uint32_t>(format.width));
    info.U32(static_cast<std::uint32_t>(format.height));  // positive: bottom-up rows
    info.U16(1);
    info.U16(24);
    info.U32(0);
    info.U32(format.imageSize);
    info.Zeros(16);
    format.infoBlock = info.Data();
    WriteFrames(path, format, count, framesPerSecond, progress,
                [&](int i, std::vector<std::uint8_t>& pixels) {
                    if (i > 0) picture = get(i);
                    if (picture.Width() != format.width || picture.Height() != format.height) {
                        throw MovieError(MovieError::Kind::FrameMismatch, i,
                                         Mismatch(i, picture.Width(), picture.Height(), format));
                    }
                    // Bitmap rows run bottom-up; the picture's are top-down, padded alike.
                    const std::size_t stride = picture.Stride();
                    for (int y = 0; y < format.height; ++y) {
                        std::memcpy(pixels.data() +
                                        stride * static_cast<std::size_t>(format.height - 1 - y),
                                    picture.Row(y), stride);
                    }
                });
}

}  // namespace kobrix
