#include "imaging/bmp_io.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>

#include "imaging/bmp_layout.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"

namespace kobrix {
namespace {

using Coding = BmpLayout::Coding;

// Output row of the r-th row stored in the file.
int OutputRow(const BmpLayout& layout, int r) {
    return layout.topDown ? r : layout.height - 1 - r;
}

// RLE leaves skipped pixels alone, so those start black; every other coding fills each row.
Bitmap24 Allocate(const BmpLayout& layout, const std::string& name) {
    try {
        Bitmap24 out;
        const bool rle = layout.coding == Coding::Rle8 || layout.coding == Coding::Rle4;
        out.Resize(layout.width, layout.height, rle);
        out.SetSourceFormat(layout.SourceFormat());
        return out;
    } catch (const std::bad_alloc&) {
        throw ImageError(name, "not enough memory for a " + std::to_string(layout.width) + " x " +
                                   std::to_string(layout.height) + " picture");
    }
}

void PutEntry(std::uint8_t* dst, const std::uint8_t* entry) {
    dst[0] = entry[0];
    dst[1] = entry[1];
    dst[2] = entry[2];
}

template <int Bits>
void IndexedRows(const BmpLayout& layout, const std::uint8_t* data, Bitmap24& out) {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    const std::uint8_t* palette = layout.palette.data();
    std::uint8_t* const* rows = out.Rows();
    for (int r = 0; r < layout.height; ++r) {
        const std::uint8_t* src = data + layout.rowStride * static_cast<std::uint64_t>(r);
        std::uint8_t* dst = rows[OutputRow(layout, r)];
        for (int x = 0; x < layout.width; ++x, dst += 3) {
            const int shift = 8 - Bits - (x % kPerByte) * Bits;
            const unsigned index = (src[x / kPerByte] >> shift) & kMask;
            PutEntry(dst, palette + index * 4);
        }
    }
}

void CopyRows24(const BmpLayout& layout, const std::uint8_t* data, Bitmap24& out) {
    const std::size_t used = static_cast<std::size_t>(layout.width) * 3;
    std::uint8_t* const* rows = out.Rows();
    for (int r = 0; r < layout.height; ++r) {
        std::memcpy(rows[OutputRow(layout, r)],
                    data + layout.rowStride * static_cast<std::uint64_t>(r), used);
    }
}

// One colour channel of a bit-field pixel: mask, shift down to at most 8 bits, then widen
// to 8 bits by repeating the bits (so a full 5- or 6-bit value becomes 255), as other
// readers do.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::array<std::uint8_t, 256> scale{};

    explicit Channel(std::uint32_t channelMask) : mask(channelMask) {
        if (mask == 0) return;
        const int bits = std::popcount(mask);
        const int dropped = bits > 8 ? bits - 8 : 0;
        shift = std::countr_zero(mask) + dropped;
        const int kept = bits - dropped;
        for (unsigned i = 0; i < (1u << kept); ++i) {
            unsigned wide = 0;
            for (int at = 8 - kept; at > -kept; at -= kept) wide |= at >= 0 ? i << at : i >> -at;
            scale[i] = static_cast<std::uint8_t>(wide);
        }
    }
    std::uint8_t operator()(std::uint32_t pixel) const { return scale[(pixel & mask) >> shift]; }
};

template <int Bytes>
void BitFieldRows(const BmpLayout& layout, const std::uint8_t* data, Bitmap24& out) {
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    std::uint8_t* const* rows = out.Rows();
    for (int r = 0; r < layout.height; ++r) {
        const std::uint8_t* src = data + layout.rowStride * static_cast<std::uint64_t>(r);
        std::uint8_t* dst = rows[OutputRow(layout, r)];
        for (int x = 0; x < layout.width; ++x, src += Bytes, dst += 3) {
            std::uint32_t pixel = src[0] | static_cast<std::uint32_t>(src[1]) << 8;
            if constexpr (Bytes == 4) {
                pixel |= static_cast<std::uint32_t>(src[2]) << 16 |
                         static_cast<std::uint32_t>(src[3]) << 24;
            }
            dst[0] = blue(pixel);
            dst[1] = green(pixel);
            dst[2] = red(pixel);
        }
    }
}

// The usual 32-bit layout is blue, green, red and a fourth byte that is dropped.
void CopyRows32(const BmpLayout& layout, const std::uint8_t* data, Bitmap24& out) {
    std::uint8_t* const* rows = out.Rows();
    for (int r = 0; r < layout.height; ++r) {
        const std::uint8_t* src = data + layout.rowStride * static_cast<std::uint64_t>(r);
        std::uint8_t* dst = rows[OutputRow(layout, r)];
        for (int x = 0; x < layout.width; ++x, src += 4, dst += 3) PutEntry(dst, src);
    }
}

class RleDecoder {
  public:
    RleDecoder(const BmpLayout& layout, std::span<const std::uint8_t> stream, Bitmap24& out,
               const std::string& name)
        : layout_(layout), stream_(stream), out_(out), name_(name) {}

    void Run();

  private:
    [[noreturn]] void Fail(const std::string& problem) const {
        throw ImageError(name_, problem + " (RLE data byte " + std::to_string(at_) + ")");
    }
    std::size_t Left() const { return stream_.size() - at_; }
    void NextRows(int count);
    int CheckRun(int count) const;  // returns how many of the pixels lie inside the row
    void EncodedRun(int count, std::uint8_t value);
    void AbsoluteRun(int count);

    const BmpLayout& layout_;
    std::span<const std::uint8_t> stream_;
    Bitmap24& out_;
    const std::string& name_;
    std::size_t at_ = 0;
    int paddedWidth_ = 0;  // pixels in a stored row, padding included
    int x_ = 0;
    int y_ = 0;  // in file order
    std::uint8_t* row_ = nullptr;
};

void RleDecoder::Run() {
    const bool four = layout_.coding == Coding::Rle4;
    const int bits = four ? 4 : 8;
    paddedWidth_ =
        static_cast<int>((static_cast<std::int64_t>(layout_.width) * bits + 31) / 32 * 32 / bits);
    row_ = out_.Row(OutputRow(layout_, 0));
    while (true) {
        if (Left() < 2) {
            // Writers often leave out the end-of-bitmap code after the last row.
            const bool complete =
                y_ >= layout_.height || (y_ == layout_.height - 1 && x_ >= layout_.width);
            if (complete) return;
            Fail("RLE data ends before the picture is complete");
        }
        const int count = stream_[at_];
        const std::uint8_t code = stream_[at_ + 1];
        at_ += 2;
        if (count > 0) {
            EncodedRun(count, code);
        } else if (code == 0) {
            x_ = 0;
            NextRows(1);
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (Left() < 2) Fail("RLE data ends inside a delta code");
            const int dx = stream_[at_];
            const int dy = stream_[at_ + 1];
            at_ += 2;
            if (x_ + dx > paddedWidth_ || y_ + dy > layout_.height) {
                Fail("RLE delta moves outside the picture");
            }
            x_ += dx;
            NextRows(dy);
        } else {
            const std::size_t bytes = four ? (code + 1u) / 2 : code;
            if (Left() < bytes) Fail("RLE data ends inside an absolute run");
            AbsoluteRun(code);
            at_ = std::min(at_ + bytes + (bytes & 1), stream_.size());  // runs are word aligned
        }
    }
}

void RleDecoder::NextRows(int count) {
    if (count == 0) return;
    y_ += count;
    row_ = y_ < layout_.height ? out_.Row(OutputRow(layout_, y_)) : nullptr;
}

// Some writers (ImageMagick among them) let runs cover the row's padding as if it were
// pixels; those are dropped. A run past the padding is an error.
int RleDecoder::CheckRun(int count) const {
    if (y_ >= layout_.height) Fail("RLE data runs past the last row");
    if (count > paddedWidth_ - x_) {
        Fail("RLE run of " + std::to_string(count) + " pixels at column " + std::to_string(x_) +
             " overruns a row of " + std::to_string(layout_.width));
    }
    return std::clamp(layout_.width - x_, 0, count);
}

void RleDecoder::EncodedRun(int count, std::uint8_t value) {
    const int shown = CheckRun(count);
    const std::uint8_t* palette = layout_.palette.data();
    std::uint8_t* dst = row_ + static_cast<std::size_t>(std::min(x_, layout_.width)) * 3;
    if (layout_.coding == Coding::Rle4) {
        const std::uint8_t* pair[2] = {palette + (value >> 4) * 4, palette + (value & 15) * 4};
        for (int k = 0; k < shown; ++k, dst += 3) PutEntry(dst, pair[k & 1]);
    } else {
        for (int k = 0; k < shown; ++k, dst += 3) PutEntry(dst, palette + value * 4);
    }
    x_ += count;
}

void RleDecoder::AbsoluteRun(int count) {
    const int shown = CheckRun(count);
    const std::uint8_t* palette = layout_.palette.data();
    const std::uint8_t* src = &stream_[at_];
    std::uint8_t* dst = row_ + static_cast<std::size_t>(std::min(x_, layout_.width)) * 3;
    for (int k = 0; k < shown; ++k, dst += 3) {
        const unsigned index =
            layout_.coding == Coding::Rle4 ? (src[k / 2] >> (k & 1 ? 0 : 4)) & 15 : src[k];
        PutEntry(dst, palette + index * 4);
    }
    x_ += count;
}

// `pixels` starts at the pixel data and holds layout.dataSize bytes.
void DecodePixels(const BmpLayout& layout, std::span<const std::uint8_t> pixels, Bitmap24& out,
                  const std::string& name) {
    const std::uint8_t* data = pixels.data();
    switch (layout.coding) {
        case Coding::Rle8:
        case Coding::Rle4:
            RleDecoder(layout, pixels, out, name).Run();
            return;
        case Coding::Rgb:
        case Coding::BitFields:
            break;
    }
    switch (layout.bitCount) {
        case 1:
            IndexedRows<1>(layout, data, out);
            return;
        case 4:
            IndexedRows<4>(layout, data, out);
            return;
        case 8:
            IndexedRows<8>(layout, data, out);
            return;
        case 16:
            BitFieldRows<2>(layout, data, out);
            return;
        case 24:
            CopyRows24(layout, data, out);
            return;
        case 32:
            if (layout.SourceFormat() == PixelFormat::Bits32) {
                CopyRows32(layout, data, out);
            } else {
                BitFieldRows<4>(layout, data, out);
            }
            return;
        default:
            throw ImageError(name, "unsupported bit depth");
    }
}

constexpr std::size_t kWrittenHeaderSize = 14 + 40;

void PutLe16(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::uint8_t* p, std::uint32_t value) {
    PutLe16(p, value);
    PutLe16(p + 2, value >> 16);
}

// 24 bits, no palette, bottom-up (positive height); biSizeImage is filled in because the
// movie writer takes the per-frame byte count from it.
std::array<std::uint8_t, kWrittenHeaderSize> HeaderFor(const Bitmap24& bitmap,
                                                       const std::string& name) {
    if (bitmap.Empty()) throw ImageError(name, "cannot write an empty picture as BMP");
    const auto imageSize = static_cast<std::uint32_t>(bitmap.SizeBytes());
    std::array<std::uint8_t, kWrittenHeaderSize> header{};
    std::uint8_t* h = header.data();
    h[0] = 'B';
    h[1] = 'M';
    PutLe32(h + 2, static_cast<std::uint32_t>(kWrittenHeaderSize) + imageSize);
    PutLe32(h + 10, static_cast<std::uint32_t>(kWrittenHeaderSize));
    PutLe32(h + 14, 40);
    PutLe32(h + 18, static_cast<std::uint32_t>(bitmap.Width()));
    PutLe32(h + 22, static_cast<std::uint32_t>(bitmap.Height()));
    PutLe16(h + 26, 1);
    PutLe16(h + 28, 24);
    PutLe32(h + 34, imageSize);
    PutLe32(h + 38, 2835);  // 72 dots per inch
    PutLe32(h + 42, 2835);
    return header;
}

// The padding bytes of a bitmap's rows are unspecified; files get zeros there.
const std::uint8_t kZeroPadding[4] = {0, 0, 0, 0};

}  // namespace

Bitmap24 DecodeBmp(std::span<const std::uint8_t> data, const std::string& name) {
    const BmpLayout layout = ParseBmpLayout(data, data.size(), name);
    Bitmap24 out = Allocate(layout, name);
    DecodePixels(layout, data.subspan(layout.dataOffset, layout.dataSize), out, name);
    return out;
}

Bitmap24 ReadBmpFile(const std::string& path) {
    InputFile file(path);
    std::array<std::uint8_t, kBmpHeadBytes> head;
    const auto headSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), head.size()));
    file.ReadAt(0, head.data(), headSize);
    const BmpLayout layout = ParseBmpLayout(std::span(head.data(), headSize), file.Size(), path);
    Bitmap24 out = Allocate(layout, path);
    if (layout.coding == Coding::Rgb && layout.bitCount == 24) {
        // The file's rows have the bitmap's stride: read each straight into its place.
        std::vector<ReadPiece> rows(static_cast<std::size_t>(layout.height));
        for (int r = 0; r < layout.height; ++r) {
            rows[static_cast<std::size_t>(r)] = {out.Row(OutputRow(layout, r)), out.Stride()};
        }
        rows.back().size = static_cast<std::size_t>(
            layout.dataSize - out.Stride() * static_cast<std::uint64_t>(layout.height - 1));
        file.ReadAt(layout.dataOffset, rows);
        return out;
    }
    std::vector<std::uint8_t> pixels;
    try {
        pixels.resize(static_cast<std::size_t>(layout.dataSize));
    } catch (const std::bad_alloc&) {
        throw ImageError(path, "not enough memory to read the pixel data");
    }
    file.ReadAt(layout.dataOffset, pixels.data(), pixels.size());
    DecodePixels(layout, pixels, out, path);
    return out;
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap24& bitmap) {
    const auto header = HeaderFor(bitmap, "");
    const std::size_t used = static_cast<std::size_t>(bitmap.Width()) * 3;
    const std::size_t stride = bitmap.Stride();
    std::vector<std::uint8_t> bytes(kWrittenHeaderSize + bitmap.SizeBytes());
    std::memcpy(bytes.data(), header.data(), header.size());
    std::uint8_t* dst = bytes.data() + kWrittenHeaderSize;
    for (int y = bitmap.Height() - 1; y >= 0; --y, dst += stride) {
        std::memcpy(dst, bitmap.Row(y), used);
        std::memset(dst + used, 0, stride - used);
    }
    return bytes;
}

void WriteBmpFile(const Bitmap24& bitmap, const std::string& path, Placement placement) {
    const auto header = HeaderFor(bitmap, path);
    const std::size_t used = static_cast<std::size_t>(bitmap.Width()) * 3;
    const std::size_t padding = bitmap.Stride() - used;
    // Rows go from the bitmap to the file in one gathered write, bottom row first.
    std::vector<WritePiece> pieces;
    pieces.reserve(1 + static_cast<std::size_t>(bitmap.Height()) * (padding ? 2 : 1));
    pieces.push_back({header.data(), header.size()});
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        pieces.push_back({bitmap.Row(y), used});
        if (padding) pieces.push_back({kZeroPadding, padding});
    }
    OutputFile file(path, placement);
    file.Write(pieces);
    file.Commit();
}

}  // namespace kobrix
