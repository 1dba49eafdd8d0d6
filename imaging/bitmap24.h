#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kobrix {

// Pixel format of the picture a bitmap was read from, kept so that windows can name the
// depth before conversion ("8 bit") and after it ("24 bit").
enum class PixelFormat { Device, Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Unknown };

std::string_view PixelFormatName(PixelFormat format);

// Largest picture any reader accepts: a side of 16384 pixels and 1 GiB of pixel rows.
inline constexpr int kMaxImageSide = 16384;
inline constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;

// A 24-bit picture: blue, green, red; rows padded to a multiple of 4 bytes, top row first.
// Same layout as QImage::Format_BGR888, so a window can wrap the pixels without a copy.
// Row() is backed by a table of row start addresses rebuilt on every resize.
class Bitmap24 {
  public:
    Bitmap24() = default;
    Bitmap24(int width, int height);
    Bitmap24(const Bitmap24& other);
    Bitmap24& operator=(const Bitmap24& other);
    Bitmap24(Bitmap24&& other) noexcept;
    Bitmap24& operator=(Bitmap24&& other) noexcept;
    ~Bitmap24() = default;

    // Bytes per row for a given width (3 bytes a pixel, rounded up to 4).
    static std::size_t StrideFor(int width) {
        return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    }

    // Throws ImageError (without a file name) when a side is negative, over kMaxImageSide or
    // the rows would exceed kMaxImageBytes. Decoders call it before trusting a header's size.
    static void CheckSize(int width, int height);

    // Throws as CheckSize does. With clear = false the new pixels are left uninitialised
    // (for decoders that write every row).
    void Resize(int width, int height, bool clear = true);
    void Clear();
    void Fill(std::uint8_t blue, std::uint8_t green, std::uint8_t red);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    std::size_t Stride() const { return stride_; }
    std::size_t SizeBytes() const { return stride_ * static_cast<std::size_t>(height_); }

    std::uint8_t* Data() { return pixels_.get(); }
    const std::uint8_t* Data() const { return pixels_.get(); }
    std::uint8_t* Row(int y) { return rows_[static_cast<std::size_t>(y)]; }
    const std::uint8_t* Row(int y) const { return rows_[static_cast<std::size_t>(y)]; }
    std::uint8_t* const* Rows() { return rows_.data(); }
    const std::uint8_t* const* Rows() const { return rows_.data(); }

    PixelFormat SourceFormat() const { return sourceFormat_; }
    void SetSourceFormat(PixelFormat format) { sourceFormat_ = format; }

    bool SamePixels(const Bitmap24& other) const;

  private:
    void RebuildRows();

    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::unique_ptr<std::uint8_t[]> pixels_;
    std::vector<std::uint8_t*> rows_;
    PixelFormat sourceFormat_ = PixelFormat::Bits24;
};

}  // namespace kobrix
