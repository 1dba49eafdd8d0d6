#include "imaging/jpeg_io.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// After <cstdio> and <cstddef>: jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "imaging/image_error.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

// libjpeg's working memory (the coefficient buffer of a progressive or multi-scan file is the
// big one). Past this it reports an error instead of asking for more.
constexpr long kJpegWorkingMemory = 1L << 30;

// Rows of CMYK decoded at a time before they are turned into BGR.
constexpr int kCmykBatchRows = 16;

// libjpeg sees only `pub`; the rest is ours. Plain data, so a longjmp may leave it behind.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[2 * JMSG_LENGTH_MAX];  // libjpeg's text and a few words of ours
};

// Our own fatal errors. Only plain data may be alive here: the longjmp skips destructors.
[[noreturn]] void FailWithText(j_common_ptr cinfo, const char* text) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "%s", text);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void OnErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    const int code = cinfo->err->msg_code;
    if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY) {
        // libjpeg's words for "over max_memory_to_use" say nothing to a user.
        std::snprintf(err->message, sizeof err->message,
                      "decoding would need more than the limit of %ld MiB of working memory",
                      kJpegWorkingMemory >> 20);
    } else {
        (*cinfo->err->format_message)(cinfo, err->message);
    }
    std::longjmp(err->jump, 1);
}

[[noreturn]] void FailMissingData(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::snprintf(err->message, sizeof err->message, "the file is cut short or damaged (%s)", text);
    std::longjmp(err->jump, 1);
}

// Nothing goes to stderr. Warnings that picture data is missing are errors: libjpeg would
// paint the rest grey and the damage would pass for a picture. The entropy decoder says so
// when it needs bits that are not there (HIT_MARKER). The end of the file itself (JPEG_EOF)
// may be only the decoder reading ahead, in a single-scan file whose EOI marker is missing,
// and then nothing is lost; between the scans of a progressive or multi-scan file an early
// end cannot be told from the last scan, so there it is an error. Other warnings (stray
// bytes between markers, an unknown JFIF revision, a bad code the decoder resynchronises
// after) leave a complete picture, as every viewer shows it, and are ignored. Arithmetic
// coding hides missing bits (it decodes zeros past the end), so there the end of the file
// before the last row of blocks is an error.
void OnEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace output
    const int code = cinfo->err->msg_code;
    if (code == JWRN_HIT_MARKER) FailMissingData(cinfo);
    if (code == JWRN_JPEG_EOF && cinfo->is_decompressor) {
        const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->progressive_mode || d->comps_in_scan < d->num_components) FailMissingData(cinfo);
        // The arithmetic decoder never says it lacks bits: after the end it decodes zeros.
        // Reading ahead happens only in the last row of blocks; an end before it is lost data.
        if (d->arith_code && d->input_iMCU_row + 1 < d->total_iMCU_rows) FailMissingData(cinfo);
    }
    ++cinfo->err->num_warnings;
}

// A file of many tiny progressive scans makes every scan a pass over the whole coefficient
// buffer: a few kilobytes can keep the decoder busy for minutes.
void OnProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
        char text[96];
        std::snprintf(text, sizeof text, "more than %d scans (a progressive picture has about ten)",
                      kMaxJpegScans);
        FailWithText(cinfo, text);
    }
}

jpeg_error_mgr* InstallErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnErrorExit;
    err.pub.emit_message = OnEmitMessage;
    err.message[0] = '\0';
    return &err.pub;
}

// The only setjmp. Nothing in this frame needs a destructor, and `body` must not hold objects
// that do across a libjpeg call, because a longjmp skips them; so no local here changes
// between setjmp and longjmp and none needs to be volatile. C++ exceptions thrown by `body`
// (a size check, an allocation) pass through normally.
template <typename Body>
[[nodiscard]] bool RunGuarded(ErrorManager& err, Body& body) {
    if (setjmp(err.jump) != 0) return false;
    body();
    return true;
}

struct DecompressGuard {
    jpeg_decompress_struct* cinfo;
    ~DecompressGuard() { jpeg_destroy_decompress(cinfo); }  // safe on a half-made struct
};

struct CompressGuard {
    jpeg_compress_struct* cinfo;
    ~CompressGuard() { jpeg_destroy_compress(cinfo); }
};

// The buffer jpeg_mem_dest grows with malloc; ours to free, also after an error.
struct MemoryDestination {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    ~MemoryDestination() { std::free(buffer); }
};

std::uint8_t Product255(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Adobe's applications (and most others) store CMYK inverted, 255 meaning no ink; they are
// known by the Adobe marker. Without it the values are taken as plain ink amounts.
void CmykRowToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = Product255(y, k);
        bgr[1] = Product255(m, k);
        bgr[2] = Product255(c, k);
    }
}

[[noreturn]] void RethrowWithName(const ImageError& error, const std::string& name) {
    throw ImageError(name, error.Problem());
}

}  // namespace

Bitmap24 DecodeJpeg(std::span<const std::uint8_t> data, const std::string& name) {
    Bitmap24 picture;
    DecodeJpegInto(data, name, picture);
    return picture;
}

void DecodeJpegInto(std::span<const std::uint8_t> data, const std::string& name,
                    Bitmap24& picture) {
    if (data.empty()) throw ImageError(name, "the file is empty");

    // Everything with a destructor lives out here, before the setjmp.
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    std::vector<std::uint8_t> cmykRows;
    cinfo.err = InstallErrorManager(err);
    DecompressGuard guard{&cinfo};

    auto body = [&] {
        jpeg_create_decompress(&cinfo);
        cinfo.mem->max_memory_to_use = kJpegWorkingMemory;
        progress.progress_monitor = OnProgress;
        cinfo.progress = &progress;
        jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
        jpeg_read_header(&cinfo, TRUE);

        // libjpeg hands YCCK out as CMYK; neither has a conversion to BGR in libjpeg.
        const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
        cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        cinfo.dct_method = JDCT_ISLOW;
        jpeg_calc_output_dimensions(&cinfo);

        // Checked and allocated before the decoder reads a single scan.
        const int width = static_cast<int>(cinfo.output_width);
        const int height = static_cast<int>(cinfo.output_height);
        try {
            if (picture.Width() != width || picture.Height() != height) {
                picture.Resize(width, height, false);
            }
            if (cmyk) cmykRows.resize(static_cast<std::size_t>(width) * 4 * kCmykBatchRows);
        } catch (const ImageError& e) {
            RethrowWithName(e, name);
        }
        picture.SetSourceFormat(cinfo.jpeg_color_space == JCS_GRAYSCALE ? PixelFormat::Bits8
                                                                        : PixelFormat::Bits24);

        jpeg_start_decompress(&cinfo);
        const auto rows = const_cast<JSAMPARRAY>(picture.Rows());
        JSAMPROW batch[kCmykBatchRows];
        for (int i = 0; i < kCmykBatchRows && cmyk; ++i) {
            batch[i] = cmykRows.data() + static_cast<std::size_t>(width) * 4 * i;
        }
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION first = cinfo.output_scanline;
            const JDIMENSION left = cinfo.output_height - first;
            if (!cmyk) {
                // Straight into the bitmap's rows, as many as libjpeg will give at once.
                if (jpeg_read_scanlines(&cinfo, rows + first, left) == 0) {
                    FailWithText(reinterpret_cast<j_common_ptr>(&cinfo), "decoder stalled");
                }
                continue;
            }
            const JDIMENSION want = left < kCmykBatchRows ? left : JDIMENSION{kCmykBatchRows};
            const JDIMENSION got = jpeg_read_scanlines(&cinfo, batch, want);
            if (got == 0) FailWithText(reinterpret_cast<j_common_ptr>(&cinfo), "decoder stalled");
            for (JDIMENSION i = 0; i < got; ++i) {
                CmykRowToBgr(batch[i], rows[first + i], width, cinfo.saw_Adobe_marker);
            }
        }
        // No jpeg_finish_decompress: every row is out, so the picture is complete, and a
        // missing EOI marker or bytes after it need not fail the read.
    };
    if (!RunGuarded(err, body)) throw ImageError(name, err.message);
}

Bitmap24 ReadJpegFile(const std::string& path) {
    return DecodeJpeg(ReadWholeFile(path), path);
}

std::vector<std::uint8_t> EncodeJpeg(const Bitmap24& bitmap) {
    if (bitmap.Empty()) throw ImageError("", "an empty picture cannot be written as JPEG");

    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    MemoryDestination destination;
    cinfo.err = InstallErrorManager(err);
    CompressGuard guard{&cinfo};

    auto body = [&] {
        jpeg_create_compress(&cinfo);
        jpeg_mem_dest(&cinfo, &destination.buffer, &destination.size);
        cinfo.image_width = static_cast<JDIMENSION>(bitmap.Width());
        cinfo.image_height = static_cast<JDIMENSION>(bitmap.Height());
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, 100, TRUE);
        cinfo.dct_method = JDCT_ISLOW;
        // Full-resolution chroma (4:4:4). The usual 4:2:0 halves the colour resolution, and
        // the pictures we write are anaglyphs and composites whose information is in the
        // colour: the red/cyan edges of an anaglyph would bleed by a pixel and fringe. The
        // price is size: a near-grey rover picture grows by a few percent, a very colourful
        // one can double.
        for (int i = 0; i < cinfo.num_components; ++i) {
            cinfo.comp_info[i].h_samp_factor = 1;
            cinfo.comp_info[i].v_samp_factor = 1;
        }
        jpeg_start_compress(&cinfo, TRUE);
        const auto rows = const_cast<JSAMPARRAY>(bitmap.Rows());
        while (cinfo.next_scanline < cinfo.image_height) {
            jpeg_write_scanlines(&cinfo, rows + cinfo.next_scanline,
                                 cinfo.image_height - cinfo.next_scanline);
        }
        jpeg_finish_compress(&cinfo);
    };
    if (!RunGuarded(err, body)) throw ImageError("", err.message);
    return std::vector<std::uint8_t>(destination.buffer, destination.buffer + destination.size);
}

void WriteJpegFile(const Bitmap24& bitmap, const std::string& path, Placement placement) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EncodeJpeg(bitmap);
    } catch (const ImageError& e) {
        RethrowWithName(e, path);
    }
    WriteWholeFile(path, bytes, placement);
}

}  // namespace kobrix
