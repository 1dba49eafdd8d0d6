#include "imaging/bmp_layout.h"

#include <algorithm>
#include <bit>

#include "imaging/image_error.h"

namespace kobrix {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string Hex(std::uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += digits[(value >> shift) & 15];
    return text;
}

const char* CodingName(BmpLayout::Coding coding) {
    switch (coding) {
        case BmpLayout::Coding::Rgb:
            return "uncompressed";
        case BmpLayout::Coding::Rle8:
            return "RLE8";
        case BmpLayout::Coding::Rle4:
            return "RLE4";
        case BmpLayout::Coding::BitFields:
            return "bit-field";
    }
    return "unknown";
}

class Parser {
  public:
    Parser(std::span<const std::uint8_t> head, std::uint64_t fileSize, const std::string& name)
        : head_(head), fileSize_(fileSize), name_(name) {}

    BmpLayout Parse();

  private:
    [[noreturn]] void Fail(const std::string& problem) const { throw ImageError(name_, problem); }
    void Need(std::uint64_t end, const char* what) const;
    void ReadCoreHeader();
    void ReadInfoHeader(std::uint32_t headerSize);
    void CheckCoding(std::uint32_t compression);
    void CheckMasks();
    void CheckSize();
    void ReadPalette(std::uint64_t start, std::uint32_t colorsUsed, int entryBytes);
    void CheckPixelData();

    std::span<const std::uint8_t> head_;
    std::uint64_t fileSize_;
    const std::string& name_;
    BmpLayout layout_;
};

void Parser::Need(std::uint64_t end, const char* what) const {
    if (end > fileSize_ || end > head_.size()) {
        Fail(std::string("file is cut short in the ") + what + " (" + std::to_string(fileSize_) +
             " bytes)");
    }
}

BmpLayout Parser::Parse() {
    // The signature first, so that a short file of another kind is named for what it is not.
    if (head_.size() < 2 || head_[0] != 'B' || head_[1] != 'M') {
        if (fileSize_ == 0) Fail("the file is empty");
        Fail("not a BMP file (no \"BM\" signature)");
    }
    Need(kFileHeaderSize + 4, "file header");
    layout_.dataOffset = Le32(&head_[10]);
    const std::uint32_t headerSize = Le32(&head_[14]);
    if (headerSize == kCoreHeaderSize) {
        ReadCoreHeader();
    } else if (headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
               headerSize == 108 || headerSize == 124) {
        ReadInfoHeader(headerSize);
    } else {
        Fail("unsupported BMP header size " + std::to_string(headerSize));
    }
    CheckPixelData();
    return layout_;
}

void Parser::ReadCoreHeader() {
    const std::uint64_t end = kFileHeaderSize + kCoreHeaderSize;
    Need(end, "bitmap header");
    const std::uint8_t* h = &head_[kFileHeaderSize];
    layout_.width = Le16(h + 4);
    layout_.height = Le16(h + 6);
    const int planes = Le16(h + 8);
    layout_.bitCount = Le16(h + 10);
    if (planes != 1) Fail("header gives " + std::to_string(planes) + " colour planes, not 1");
    if (layout_.bitCount != 1 && layout_.bitCount != 4 && layout_.bitCount != 8 &&
        layout_.bitCount != 24) {
        Fail("unsupported bit depth " + std::to_string(layout_.bitCount) + " in a core header");
    }
    CheckSize();
    ReadPalette(end, 0, 3);
}

void Parser::ReadInfoHeader(std::uint32_t headerSize) {
    Need(kFileHeaderSize + headerSize, "bitmap header");
    const std::uint8_t* h = &head_[kFileHeaderSize];
    const auto width = static_cast<std::int32_t>(Le32(h + 4));
    const auto height = static_cast<std::int32_t>(Le32(h + 8));
    const int planes = Le16(h + 12);
    layout_.bitCount = Le16(h + 14);
    const std::uint32_t compression = Le32(h + 16);
    const std::uint32_t colorsUsed = Le32(h + 32);
    if (width <= 0 || height == 0) {
        Fail("picture size " + std::to_string(width) + " x " + std::to_string(height) +
             " is not positive");
    }
    // A negative height marks rows stored top row first; widen before negating INT32_MIN.
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (rows > kMaxImageSide) {
        Fail("picture size " + std::to_string(width) + " x " + std::to_string(rows) +
             " exceeds the limit of " + std::to_string(kMaxImageSide) + " pixels a side");
    }
    layout_.width = width;
    layout_.height = static_cast<int>(rows);
    layout_.topDown = height < 0;
    if (planes != 1) Fail("header gives " + std::to_string(planes) + " colour planes, not 1");
    switch (layout_.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            Fail("unsupported bit depth " + std::to_string(layout_.bitCount));
    }
    CheckCoding(compression);
    CheckSize();

    std::uint64_t paletteStart = kFileHeaderSize + headerSize;
    if (layout_.coding == BmpLayout::Coding::BitFields) {
        // Right after the first 40 bytes: after a plain info header, inside the later ones.
        const std::uint64_t masksAt = kFileHeaderSize + kInfoHeaderSize;
        Need(masksAt + 12, "colour masks");
        for (int i = 0; i < 3; ++i) layout_.masks[i] = Le32(&head_[masksAt + 4 * i]);
        if (headerSize == kInfoHeaderSize) paletteStart += 12;
        CheckMasks();
    } else if (layout_.bitCount == 16) {
        layout_.masks[0] = 0x7C00;
        layout_.masks[1] = 0x03E0;
        layout_.masks[2] = 0x001F;
    } else if (layout_.bitCount == 32) {
        layout_.masks[0] = 0x00FF0000;
        layout_.masks[1] = 0x0000FF00;
        layout_.masks[2] = 0x000000FF;
    }
    ReadPalette(paletteStart, colorsUsed, 4);
}

void Parser::CheckCoding(std::uint32_t compression) {
    using Coding = BmpLayout::Coding;
    switch (compression) {
        case 0:
            layout_.coding = Coding::Rgb;
            break;
        case 1:
            layout_.coding = Coding::Rle8;
            break;
        case 2:
            layout_.coding = Coding::Rle4;
            break;
        case 3:
            layout_.coding = Coding::BitFields;
            break;
        case 4:
            Fail("BMP files holding a JPEG are not supported");
        case 5:
            Fail("BMP files holding a PNG are not supported");
        default:
            Fail("unsupported BMP compression " + std::to_string(compression));
    }
    const int bits = layout_.bitCount;
    const bool fits = layout_.coding == Coding::Rgb ||
                      (layout_.coding == Coding::Rle8 && bits == 8) ||
                      (layout_.coding == Coding::Rle4 && bits == 4) ||
                      (layout_.coding == Coding::BitFields && (bits == 16 || bits == 32));
    if (!fits) {
        Fail(std::string(CodingName(layout_.coding)) + " compression does not go with " +
             std::to_string(bits) + " bits per pixel");
    }
}

// Each mask must be one run of bits inside the pixel, and no two may share a bit. An empty
// mask is allowed and gives a channel of 0.
void Parser::CheckMasks() {
    const std::uint64_t pixelBits = layout_.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::uint32_t seen = 0;
    for (std::uint32_t mask : layout_.masks) {
        if (mask == 0) continue;
        const std::uint64_t run = (std::uint64_t{mask} >> std::countr_zero(mask)) + 1;
        if (mask & ~pixelBits || !std::has_single_bit(run) || mask & seen) {
            Fail("bad colour masks " + Hex(layout_.masks[0]) + ", " + Hex(layout_.masks[1]) + ", " +
                 Hex(layout_.masks[2]) + " for " + std::to_string(layout_.bitCount) +
                 " bits per pixel");
        }
        seen |= mask;
    }
}

void Parser::CheckSize() {
    if (layout_.width == 0 || layout_.height == 0) {
        Fail("picture size " + std::to_string(layout_.width) + " x " +
             std::to_string(layout_.height) + " is not positive");
    }
    try {
        Bitmap24::CheckSize(layout_.width, layout_.height);
    } catch (const ImageError& e) {
        Fail(e.Problem());
    }
}

// The palette lies between the headers and the pixel data. An explicit colour count must
// fit there; an implied full palette may be cut short by the pixel data offset (some
// writers store only the colours they use), and the missing entries read black.
void Parser::ReadPalette(std::uint64_t start, std::uint32_t colorsUsed, int entryBytes) {
    if (layout_.dataOffset < start) {
        Fail("pixel data offset " + std::to_string(layout_.dataOffset) +
             " points into the headers, which end at " + std::to_string(start));
    }
    if (layout_.dataOffset >= fileSize_) {
        Fail("pixel data offset " + std::to_string(layout_.dataOffset) +
             " lies past the end of the file (" + std::to_string(fileSize_) + " bytes)");
    }
    if (layout_.bitCount > 8) return;  // a palette here is only a display hint
    const std::uint32_t most = 1u << layout_.bitCount;
    if (colorsUsed > most) {
        Fail("palette of " + std::to_string(colorsUsed) + " colours is too large for " +
             (layout_.bitCount == 8 ? "an " : "a ") + std::to_string(layout_.bitCount) +
             "-bit picture");
    }
    const std::uint64_t room = (layout_.dataOffset - start) / entryBytes;
    std::uint64_t count = colorsUsed != 0 ? colorsUsed : most;
    if (count > room) {
        if (colorsUsed != 0) {
            Fail("palette of " + std::to_string(colorsUsed) +
                 " colours overruns the pixel data at offset " +
                 std::to_string(layout_.dataOffset));
        }
        count = room;
    }
    if (count == 0) Fail(std::to_string(layout_.bitCount) + "-bit picture has no palette");
    Need(start + count * entryBytes, "palette");
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = &head_[start + i * entryBytes];
        std::copy(entry, entry + 3, &layout_.palette[i * 4]);
    }
    layout_.paletteSize = static_cast<int>(count);
}

// Compressed data must be able to paint at least 1/16 of the pixels its header declares.
constexpr std::uint64_t kRleLeastPaintedShare = 16;

void Parser::CheckPixelData() {
    const std::uint64_t available = fileSize_ - layout_.dataOffset;
    if (layout_.coding == BmpLayout::Coding::Rle8 || layout_.coding == BmpLayout::Coding::Rle4) {
        // The stream ends at its end-of-bitmap code; the decoder finds a cut-off stream.
        // biSizeImage is not trusted for this: many writers leave it 0 or wrong.
        layout_.dataSize = available;
        // A run paints at most 255 pixels for 2 bytes. Skips and an early end may leave the
        // rest to the background, but data that could paint less than a sixteenth of the
        // picture is not a picture of that size, and must not take its memory.
        const std::uint64_t pixels =
            static_cast<std::uint64_t>(layout_.width) * static_cast<std::uint64_t>(layout_.height);
        const std::uint64_t paintable = available / 2 * 255;
        if (paintable * kRleLeastPaintedShare < pixels) {
            Fail(std::string(CodingName(layout_.coding)) + " data of " + std::to_string(available) +
                 " bytes could paint at most " + std::to_string(paintable) + " of the " +
                 std::to_string(layout_.width) + " x " + std::to_string(layout_.height) +
                 " pixels");
        }
        return;
    }
    const std::uint64_t rowBits = static_cast<std::uint64_t>(layout_.width) * layout_.bitCount;
    layout_.rowStride = (rowBits + 31) / 32 * 4;
    // The last row's padding may be missing; its pixels may not.
    const std::uint64_t needed =
        layout_.rowStride * static_cast<std::uint64_t>(layout_.height - 1) + (rowBits + 7) / 8;
    if (needed > available) {
        Fail("pixel data is cut short: " + std::to_string(layout_.width) + " x " +
             std::to_string(layout_.height) + " at " + std::to_string(layout_.bitCount) +
             " bits needs " + std::to_string(needed) + " bytes from offset " +
             std::to_string(layout_.dataOffset) + ", the file has " + std::to_string(available));
    }
    layout_.dataSize = std::min(available, layout_.rowStride * layout_.height);
}

}  // namespace

PixelFormat BmpLayout::SourceFormat() const {
    switch (bitCount) {
        case 1:
            return PixelFormat::Bits1;
        case 4:
            return PixelFormat::Bits4;
        case 8:
            return PixelFormat::Bits8;
        case 24:
            return PixelFormat::Bits24;
        case 16:
            if (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F) {
                return PixelFormat::Bits15;
            }
            if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
                return PixelFormat::Bits16;
            }
            return PixelFormat::Unknown;
        case 32:
            if (masks[0] == 0x00FF0000 && masks[1] == 0x0000FF00 && masks[2] == 0x000000FF) {
                return PixelFormat::Bits32;
            }
            return PixelFormat::Unknown;
        default:
            return PixelFormat::Unknown;
    }
}

BmpLayout ParseBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                         const std::string& name) {
    return Parser(head, fileSize, name).Parse();
}

}  // namespace kobrix
