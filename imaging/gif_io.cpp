#include "imaging/gif_io.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "imaging/median_cut.h"

namespace kobrix {
namespace {

std::string GifMessage(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "unknown GIF error " + std::to_string(code);
}

struct MemoryReader {
    std::span<const std::uint8_t> data;
    std::size_t position = 0;

    bool AtEnd() const { return position == data.size(); }
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t n =
        std::min(static_cast<std::size_t>(length), reader->data.size() - reader->position);
    std::memcpy(buffer, reader->data.data() + reader->position, n);
    reader->position += n;
    return static_cast<int>(n);
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool Empty() const { return right <= left || bottom <= top; }
};

using ColourTable = std::array<std::array<std::uint8_t, 3>, 256>;  // blue, green, red

// All 256 indexes are defined, so a pixel never reads past a short table.
ColourTable MakeColourTable(const ColorMapObject* map) {
    ColourTable table{};
    if (!map) {
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            table[i] = {v, v, v};
        }
        return table;
    }
    const int count = std::clamp(map->ColorCount, 0, 256);
    for (int i = 0; i < count; ++i) {
        const GifColorType& c = map->Colors[i];
        table[i] = {c.Blue, c.Green, c.Red};
    }
    return table;
}

// What the file's records say before anything is decoded: each frame's place and how much
// compressed data it has. giflib reads the records; nothing is allocated by a header's word.
struct FrameLayout {
    Rect rect;             // as declared, on the logical screen
    bool fillable = true;  // its data could produce all of its pixels
};

struct GifLayout {
    std::vector<FrameLayout> frames;  // up to the trailer, or to the first bad record
    bool trailer = false;             // the records end properly
};

// An LZW code stands for at most 4096 pixels (the longest string of a full table) and takes
// at least (minimum code size + 1) bits, so a frame's data bounds the pixels it can give.
bool DataCanFill(std::uint64_t pixels, std::uint64_t dataBytes, int minCodeSize) {
    const std::uint64_t bits = static_cast<std::uint64_t>(std::clamp(minCodeSize, 1, 11)) + 1;
    const std::uint64_t codes = dataBytes * 8 / bits + 1;
    return pixels <= codes * 4096;
}

GifLayout ScanLayout(std::span<const std::uint8_t> data) {
    GifLayout layout;
    MemoryReader reader{data};
    int error = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif) return layout;
    while (layout.frames.size() < static_cast<std::size_t>(kMaxGifFrames) + 1) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return layout;
        if (type == TERMINATE_RECORD_TYPE) {
            layout.trailer = true;
            return layout;
        }
        GifByteType* block = nullptr;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return layout;
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) return layout;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            return layout;
        }
        const GifImageDesc& desc = gif->Image;
        FrameLayout frame;
        frame.rect = {desc.Left, desc.Top, desc.Left + desc.Width, desc.Top + desc.Height};
        int codeSize = 0;
        std::uint64_t bytes = 0;
        bool complete = DGifGetCode(gif.get(), &codeSize, &block) != GIF_ERROR;
        while (complete && block) {
            bytes += block[0];
            complete = DGifGetCodeNext(gif.get(), &block) != GIF_ERROR;
        }
        const auto pixels =
            static_cast<std::uint64_t>(desc.Width) * static_cast<std::uint64_t>(desc.Height);
        frame.fillable = DataCanFill(pixels, bytes, codeSize);
        layout.frames.push_back(frame);
        if (!complete || !frame.fillable) return layout;
    }
    return layout;
}

// Rows of an interlaced frame arrive in four passes.
int InterlacedRow(int line, int height) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows =
            height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (line < rows) return kStart[pass] + line * kStep[pass];
        line -= rows;
    }
    return height;  // not reached for line < height
}

// Reads a GIF record by record and composes each frame on the logical screen. giflib's
// DGifSlurp would allocate every frame as its header declares; here nothing is allocated
// that the screen limits and our frame checks have not allowed.
class GifComposer {
  public:
    GifComposer(std::span<const std::uint8_t> data, const std::string& name)
        : name_(name), reader_{data} {
        if (data.empty()) throw ImageError(name, "the file is empty");
        int error = 0;
        gif_.reset(DGifOpen(&reader_, ReadFromMemory, &error));
        if (!gif_) throw ImageError(name, GifMessage(error));
        const int width = gif_->SWidth, height = gif_->SHeight;
        if (width <= 0 || height <= 0) {
            throw ImageError(name, "the screen size " + std::to_string(width) + " x " +
                                       std::to_string(height) + " is empty");
        }
        layout_ = ScanLayout(data);
        if (!layout_.frames.empty() && !layout_.frames.front().fillable) RefuseFrame(1);
        // A screen past the limit is cut to the part its frames draw: the rest could only
        // ever show the background, and a few bytes must not take gigabytes.
        Rect area{0, 0, width, height};
        if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) >
            kMaxGifScreenPixels) {
            area = FramesArea(width, height);
            if (area.Empty()) throw ImageError(name, "the file holds no picture on its screen");
        }
        origin_ = {area.left, area.top};
        try {
            canvas_.Resize(area.right - area.left, area.bottom - area.top, false);
        } catch (const ImageError& e) {
            throw ImageError(name, e.Problem());
        }
        const ColorMapObject* global = gif_->SColorMap;
        if (global && gif_->SBackGroundColor >= 0 && gif_->SBackGroundColor < global->ColorCount) {
            const GifColorType& c = global->Colors[gif_->SBackGroundColor];
            background_ = {c.Blue, c.Green, c.Red};
        }
        canvas_.Fill(background_[0], background_[1], background_[2]);
        canvas_.SetSourceFormat(PixelFormat::Bits8);
    }

    int Width() const { return canvas_.Width(); }
    int Height() const { return canvas_.Height(); }
    int Frames() const { return frames_; }
    // Frames the records announce (to the first bad one); the decode may still fail there.
    int AnnouncedFrames() const { return static_cast<int>(layout_.frames.size()); }
    bool EndsProperly() const { return layout_.trailer; }
    const Bitmap24& Canvas() const { return canvas_; }
    Bitmap24 TakeCanvas() { return std::move(canvas_); }
    int DelayMs() const { return delayMs_; }

    // Disposes of the previous frame, then reads up to the next one and draws it. False at
    // the trailer. A file that ends without the trailer is cut short even when it ends
    // between two frames: the frames after the cut cannot be told from a missing trailer.
    bool NextFrame() {
        Dispose();
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        while (true) {
            GifRecordType type = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif_.get(), &type) == GIF_ERROR) Fail();
            switch (type) {
                case IMAGE_DESC_RECORD_TYPE:
                    DrawFrame(control);
                    return true;
                case EXTENSION_RECORD_TYPE:
                    ReadExtension(control);
                    break;
                case TERMINATE_RECORD_TYPE:
                    return false;
                default:
                    throw ImageError(name_, "unknown record in the file");
            }
        }
    }

  private:
    [[noreturn]] void RefuseFrame(int number) const {
        const Rect& r = layout_.frames[static_cast<std::size_t>(number - 1)].rect;
        throw ImageError(name_, "the data of frame " + std::to_string(number) +
                                    " is too short for its " + std::to_string(r.right - r.left) +
                                    " x " + std::to_string(r.bottom - r.top) + " pixels");
    }

    // The union of the frames' parts on the screen.
    Rect FramesArea(int width, int height) const {
        Rect area{width, height, 0, 0};
        for (const FrameLayout& frame : layout_.frames) {
            const Rect r{std::max(frame.rect.left, 0), std::max(frame.rect.top, 0),
                         std::min(frame.rect.right, width), std::min(frame.rect.bottom, height)};
            if (r.Empty()) continue;
            area = {std::min(area.left, r.left), std::min(area.top, r.top),
                    std::max(area.right, r.right), std::max(area.bottom, r.bottom)};
        }
        return area;
    }

    [[noreturn]] void Fail() {
        // giflib says "failed to read" for a file that simply ends too early.
        if (reader_.AtEnd()) {
            throw ImageError(name_, "the file is cut short (" + GifMessage(gif_->Error) + ")");
        }
        throw ImageError(name_, GifMessage(gif_->Error));
    }

    // Only the graphics control extension matters; it applies to the next frame.
    void ReadExtension(GraphicsControlBlock& control) {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif_.get(), &code, &block) == GIF_ERROR) Fail();
        if (code == GRAPHICS_EXT_FUNC_CODE && block) {
            GraphicsControlBlock parsed;
            // A malformed block (wrong length) is ignored, as viewers do.
            if (DGifExtensionToGCB(block[0], block + 1, &parsed) == GIF_OK) control = parsed;
        }
        while (block) {
            if (DGifGetExtensionNext(gif_.get(), &block) == GIF_ERROR) Fail();
        }
    }

    void DrawFrame(const GraphicsControlBlock& control) {
        if (DGifGetImageDesc(gif_.get()) == GIF_ERROR) Fail();
        const GifImageDesc& desc = gif_->Image;
        ++frames_;
        if (static_cast<std::size_t>(frames_) <= layout_.frames.size() &&
            !layout_.frames[static_cast<std::size_t>(frames_ - 1)].fillable) {
            RefuseFrame(frames_);
        }
        delayMs_ = control.DelayTime * 10;
        // On the canvas, which may start inside the screen.
        const Rect frame{desc.Left - origin_.left, desc.Top - origin_.top,
                         desc.Left - origin_.left + desc.Width,
                         desc.Top - origin_.top + desc.Height};
        const Rect visible{std::max(frame.left, 0), std::max(frame.top, 0),
                           std::min(frame.right, canvas_.Width()),
                           std::min(frame.bottom, canvas_.Height())};
        disposal_ = control.DisposalMode;
        disposeRect_ = visible;
        if (disposal_ == DISPOSE_PREVIOUS) SaveRect(visible);

        if (visible.Empty()) {
            SkipImageData();
            return;
        }
        const ColourTable table = MakeColourTable(desc.ColorMap ? desc.ColorMap : gif_->SColorMap);
        const int transparent = control.TransparentColor;
        line_.resize(static_cast<std::size_t>(desc.Width));
        for (int n = 0; n < desc.Height; ++n) {
            const int row = desc.Interlace ? InterlacedRow(n, desc.Height) : n;
            const int y = frame.top + row;
            // Rows in file order past the bottom: the rest of the frame is not visible.
            if (!desc.Interlace && y >= visible.bottom) {
                SkipImageData();
                return;
            }
            if (DGifGetLine(gif_.get(), line_.data(), desc.Width) == GIF_ERROR) Fail();
            if (y < visible.top || y >= visible.bottom) continue;
            std::uint8_t* out = canvas_.Row(y) + 3 * static_cast<std::size_t>(visible.left);
            const GifPixelType* in = line_.data() + (visible.left - frame.left);
            for (int x = visible.left; x < visible.right; ++x, ++in, out += 3) {
                if (*in == transparent) continue;
                const auto& c = table[*in];
                out[0] = c[0];
                out[1] = c[1];
                out[2] = c[2];
            }
        }
    }

    // Reads past the rest of a frame's compressed data without decoding it.
    void SkipImageData() {
        int codeSize = 0;
        GifByteType* block = nullptr;
        if (DGifGetCode(gif_.get(), &codeSize, &block) == GIF_ERROR) Fail();
        while (block) {
            if (DGifGetCodeNext(gif_.get(), &block) == GIF_ERROR) Fail();
        }
    }

    void SaveRect(const Rect& r) {
        saved_.clear();
        if (r.Empty()) return;
        const std::size_t bytes = 3 * static_cast<std::size_t>(r.right - r.left);
        saved_.resize(bytes * static_cast<std::size_t>(r.bottom - r.top));
        for (int y = r.top; y < r.bottom; ++y) {
            std::memcpy(saved_.data() + bytes * static_cast<std::size_t>(y - r.top),
                        canvas_.Row(y) + 3 * static_cast<std::size_t>(r.left), bytes);
        }
    }

    void Dispose() {
        const Rect r = disposeRect_;
        const int disposal = disposal_;
        disposal_ = DISPOSAL_UNSPECIFIED;
        if (r.Empty()) return;
        const std::size_t bytes = 3 * static_cast<std::size_t>(r.right - r.left);
        if (disposal == DISPOSE_BACKGROUND) {
            for (int y = r.top; y < r.bottom; ++y) {
                std::uint8_t* p = canvas_.Row(y) + 3 * static_cast<std::size_t>(r.left);
                for (int x = r.left; x < r.right; ++x, p += 3) {
                    std::memcpy(p, background_.data(), 3);
                }
            }
        } else if (disposal == DISPOSE_PREVIOUS && !saved_.empty()) {
            for (int y = r.top; y < r.bottom; ++y) {
                std::memcpy(canvas_.Row(y) + 3 * static_cast<std::size_t>(r.left),
                            saved_.data() + bytes * static_cast<std::size_t>(y - r.top), bytes);
            }
        }
    }

    std::string name_;
    MemoryReader reader_;
    std::unique_ptr<GifFileType, DecoderCloser> gif_;
    GifLayout layout_;
    Rect origin_;  // left and top: where the canvas starts on the logical screen
    Bitmap24 canvas_;
    std::array<std::uint8_t, 3> background_{0, 0, 0};
    std::vector<GifPixelType> line_;
    std::vector<std::uint8_t> saved_;  // what a "restore previous" frame covered
    Rect disposeRect_;
    int disposal_ = DISPOSAL_UNSPECIFIED;
    int frames_ = 0;
    int delayMs_ = 0;
};

// Appends giflib's output to a vector. giflib is C: nothing may be thrown through it, so a
// failed allocation becomes a short write, which giflib reports as an error.
int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    try {
        out->insert(out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return length;
}

}  // namespace

Bitmap24 DecodeGif(std::span<const std::uint8_t> data, const std::string& name) {
    GifComposer composer(data, name);
    if (!composer.NextFrame()) throw ImageError(name, "the file holds no picture");
    return composer.TakeCanvas();
}

Bitmap24 ReadGifFile(const std::string& path) {
    return DecodeGif(ReadWholeFile(path), path);
}

GifAnimation DecodeGifAnimation(std::span<const std::uint8_t> data, const std::string& name,
                                const GifAnimationLimits& limits) {
    GifComposer composer(data, name);
    GifAnimation animation;
    animation.width = composer.Width();
    animation.height = composer.Height();
    const std::size_t frameBytes = composer.Canvas().SizeBytes();
    const auto announced = static_cast<std::size_t>(composer.AnnouncedFrames());
    // Every frame counts against the budget, the first too; checked before any is decoded
    // where the records announce them.
    const auto check = [&](std::size_t count) {
        if (count > static_cast<std::size_t>(limits.maxFrames)) {
            throw ImageError(name, "more than " + std::to_string(limits.maxFrames) + " frames");
        }
        if (frameBytes * count > limits.maxBytes) {
            throw ImageError(name, "the frames would take more than " +
                                       std::to_string(limits.maxBytes) + " bytes");
        }
    };
    check(std::max<std::size_t>(announced, 1));
    while (composer.NextFrame()) {
        const auto count = static_cast<std::size_t>(composer.Frames());
        check(count);
        // The canvas goes on to the next frame, so earlier frames are copies; the last one
        // of a file whose records end properly takes the canvas itself.
        if (count == announced && composer.EndsProperly()) {
            animation.frames.push_back(GifFrame{composer.TakeCanvas(), composer.DelayMs()});
            break;
        }
        animation.frames.push_back(GifFrame{composer.Canvas(), composer.DelayMs()});
    }
    if (animation.frames.empty()) throw ImageError(name, "the file holds no picture");
    return animation;
}

int CountGifFrames(std::span<const std::uint8_t> data) {
    return static_cast<int>(ScanLayout(data).frames.size());
}

GifAnimation ReadGifAnimationFile(const std::string& path) {
    return DecodeGifAnimation(ReadWholeFile(path), path);
}

std::vector<std::uint8_t> EncodeGif(const Bitmap24& bitmap) {
    if (bitmap.Empty()) throw ImageError("", "an empty picture cannot be written as GIF");
    IndexedPicture indexed = QuantizeMedianCut(bitmap, 256);

    // A colour table has a power of two entries, at least two.
    int bits = 1;
    while ((1 << bits) < static_cast<int>(indexed.palette.size())) ++bits;
    std::vector<GifColorType> colours(std::size_t{1} << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < indexed.palette.size(); ++i) {
        colours[i] = {indexed.palette[i][0], indexed.palette[i][1], indexed.palette[i][2]};
    }
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(
        GifMakeMapObject(1 << bits, colours.data()), GifFreeMapObject);
    if (!map) throw std::bad_alloc();

    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    if (!gif) throw ImageError("", GifMessage(error));
    bool ok =
        EGifPutScreenDesc(gif, bitmap.Width(), bitmap.Height(), bits, 0, map.get()) == GIF_OK &&
        EGifPutImageDesc(gif, 0, 0, bitmap.Width(), bitmap.Height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < bitmap.Height(); ++y) {
        GifPixelType* row = indexed.indexes.data() + static_cast<std::size_t>(y) * bitmap.Width();
        ok = EGifPutLine(gif, row, bitmap.Width()) == GIF_OK;
    }
    if (!ok) error = gif->Error;
    // Writes the trailer and frees the handle, also after a failure.
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) == GIF_ERROR && ok) {
        ok = false;
        error = closeError;
    }
    if (!ok) throw ImageError("", GifMessage(error));
    return out;
}

void WriteGifFile(const Bitmap24& bitmap, const std::string& path, Placement placement) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EncodeGif(bitmap);
    } catch (const ImageError& e) {
        throw ImageError(path, e.Problem());
    }
    WriteWholeFile(path, bytes, placement);
}

}  // namespace kobrix
