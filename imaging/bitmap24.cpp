#include "imaging/bitmap24.h"

#include <cstring>
#include <string>

#include "imaging/image_error.h"

namespace kobrix {

std::string_view PixelFormatName(PixelFormat format) {
    switch (format) {
        case PixelFormat::Device:
            return "Device";
        case PixelFormat::Bits1:
            return "1 bit";
        case PixelFormat::Bits4:
            return "4 bit";
        case PixelFormat::Bits8:
            return "8 bit";
        case PixelFormat::Bits15:
            return "15 bit";
        case PixelFormat::Bits16:
            return "16 bit";
        case PixelFormat::Bits24:
            return "24 bit";
        case PixelFormat::Bits32:
            return "32 bit";
        case PixelFormat::Unknown:
            break;
    }
    return "Unknown";
}

Bitmap24::Bitmap24(int width, int height) {
    Resize(width, height);
}

Bitmap24::Bitmap24(const Bitmap24& other) : sourceFormat_(other.sourceFormat_) {
    Resize(other.width_, other.height_, false);
    if (SizeBytes() != 0) std::memcpy(pixels_.get(), other.pixels_.get(), SizeBytes());
}

Bitmap24& Bitmap24::operator=(const Bitmap24& other) {
    if (this != &other) {
        Bitmap24 copy(other);
        *this = std::move(copy);
    }
    return *this;
}

// Moving a unique_ptr and a vector keeps the row addresses valid: the pixels stay put.
Bitmap24::Bitmap24(Bitmap24&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      pixels_(std::move(other.pixels_)),
      rows_(std::move(other.rows_)),
      sourceFormat_(other.sourceFormat_) {
    other.width_ = other.height_ = 0;
    other.stride_ = 0;
    other.rows_.clear();
}

Bitmap24& Bitmap24::operator=(Bitmap24&& other) noexcept {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        stride_ = other.stride_;
        pixels_ = std::move(other.pixels_);
        rows_ = std::move(other.rows_);
        sourceFormat_ = other.sourceFormat_;
        other.width_ = other.height_ = 0;
        other.stride_ = 0;
        other.rows_.clear();
    }
    return *this;
}

void Bitmap24::CheckSize(int width, int height) {
    if (width < 0 || height < 0) {
        throw ImageError("", "picture size " + std::to_string(width) + " x " +
                                 std::to_string(height) + " is negative");
    }
    if (width > kMaxImageSide || height > kMaxImageSide) {
        throw ImageError("", "picture size " + std::to_string(width) + " x " +
                                 std::to_string(height) + " exceeds the limit of " +
                                 std::to_string(kMaxImageSide) + " pixels a side");
    }
    if (StrideFor(width) * static_cast<std::size_t>(height) > kMaxImageBytes) {
        throw ImageError("", "picture size " + std::to_string(width) + " x " +
                                 std::to_string(height) + " exceeds the limit of 1 GiB");
    }
}

void Bitmap24::Resize(int width, int height, bool clear) {
    CheckSize(width, height);
    const std::size_t stride = StrideFor(width);
    const std::size_t bytes = stride * static_cast<std::size_t>(height);
    if (bytes != SizeBytes() || !pixels_) {
        pixels_.reset(bytes ? new std::uint8_t[bytes] : nullptr);
    }
    width_ = width;
    height_ = height;
    stride_ = stride;
    if (clear && bytes) std::memset(pixels_.get(), 0, bytes);
    RebuildRows();
}

void Bitmap24::Clear() {
    pixels_.reset();
    rows_.clear();
    width_ = height_ = 0;
    stride_ = 0;
}

void Bitmap24::Fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* p = Row(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            p[0] = blue;
            p[1] = green;
            p[2] = red;
        }
    }
}

bool Bitmap24::SamePixels(const Bitmap24& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    const std::size_t used = static_cast<std::size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y) {
        if (std::memcmp(Row(y), other.Row(y), used) != 0) return false;
    }
    return true;
}

void Bitmap24::RebuildRows() {
    rows_.resize(static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        rows_[static_cast<std::size_t>(y)] = pixels_.get() + stride_ * static_cast<std::size_t>(y);
    }
}

}  // namespace kobrix
