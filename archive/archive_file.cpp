#include "archive/archive_file.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <optional>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <gdal_frmts.h>
#include <gdal_priv.h>

#include "imaging/ascii_case.h"
#include "imaging/file_access.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

std::string Directory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string Join(const std::string& directory, const std::string& name) {
    return directory == "/" ? "/" + name : directory + "/" + name;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The archive is read from local files only: a path the library would take for a virtual or
// remote file is refused, and so is anything but a regular file (a pipe would block).
void CheckLocalRegularFile(const std::string& path, const std::string& what) {
    if (path.rfind("/vsi", 0) == 0) throw ImageError(path, "not a local file");
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        throw ImageError(path, what + (errno == ENOENT ? " is missing"
                                                       : ": " + std::string(std::strerror(errno))));
    }
    if (!S_ISREG(status.st_mode)) throw ImageError(path, what + " is not a regular file");
}

// `name` in `directory`: the exact name when it exists, else one that differs only in case.
std::optional<std::string> FindIgnoringCase(const std::string& directory, const std::string& name) {
    struct stat status {};
    const std::string exact = Join(directory, name);
    if (stat(exact.c_str(), &status) == 0) return exact;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(directory.c_str()), closedir);
    if (!dir) return std::nullopt;
    while (const dirent* entry = readdir(dir.get())) {
        if (EqualIgnoringCase(entry->d_name, name)) return Join(directory, entry->d_name);
    }
    return std::nullopt;
}

std::vector<std::uint8_t> ReadHead(const std::string& path, std::size_t limit) {
    InputFile file(path);
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), limit)));
    file.ReadAt(0, head.data(), head.size());
    return head;
}

// The label text and its format; the text holds one byte past the cap when the file is
// longer, so that the parser can tell a label that never ends from one that is too long.
std::pair<ArchiveFormat, std::vector<std::uint8_t>> ReadLabelText(const std::string& label) {
    std::vector<std::uint8_t> text = ReadHead(label, kMaxLabelBytes + 1);
    const std::optional<ArchiveFormat> format = SniffLabel(text);
    if (!format) throw ImageError(label, "not a PDS3, PDS4, VICAR or ISIS3 label");
    return {*format, std::move(text)};
}

LabelFacts ParseLabelFile(const std::string& label) {
    const auto [format, text] = ReadLabelText(label);
    try {
        return ParseLabel(
            format, std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    } catch (const ImageError& e) {
        throw ImageError(label, e.Problem());
    }
}

// GDAL's messages for this thread, gathered while a guard lives instead of printed.
class GdalErrors {
  public:
    GdalErrors() { CPLPushErrorHandlerEx(Collect, this); }
    ~GdalErrors() { CPLPopErrorHandler(); }
    GdalErrors(const GdalErrors&) = delete;
    GdalErrors& operator=(const GdalErrors&) = delete;

    std::string Text(const std::string& fallback) const { return text_.empty() ? fallback : text_; }

  private:
    static void CPL_STDCALL Collect(CPLErr level, CPLErrorNum, const char* message) {
        auto* self = static_cast<GdalErrors*>(CPLGetErrorHandlerUserData());
        if (self == nullptr || level < CE_Failure || message == nullptr) return;
        if (self->text_.size() > 1000) return;
        if (!self->text_.empty()) self->text_ += "; ";
        self->text_ += message;
    }
    std::string text_;
};

void StartGdal() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Nothing is ever written beside a user's file, and a folder of thousands of
        // products is not listed for every one of them.
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
        CPLSetConfigOption("GDAL_DISABLE_READDIR_ON_OPEN", "EMPTY_DIR");
        CPLSetConfigOption("GDAL_CACHEMAX", "64");
        CPLSetConfigOption("GDAL_TRY_PDS3_WITH_VICAR", "NO");
        // Only the archive's formats (the PDS driver hands old ISIS qubes to ISIS2).
        GDALRegister_PDS();
        GDALRegister_PDS4();
        GDALRegister_VICAR();
        GDALRegister_ISIS3();
        GDALRegister_ISIS2();
    });
}

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<std::remove_pointer_t<GDALDatasetH>, DatasetCloser>;

std::optional<SampleType> SampleTypeOf(GDALRasterBandH band) {
    switch (GDALGetRasterDataType(band)) {
        case GDT_Byte: {
            const char* pixel = GDALGetMetadataItem(band, "PIXELTYPE", "IMAGE_STRUCTURE");
            return pixel != nullptr && std::strcmp(pixel, "SIGNEDBYTE") == 0 ? SampleType::Int8
                                                                             : SampleType::UInt8;
        }
        case GDT_UInt16:
            return SampleType::UInt16;
        case GDT_Int16:
            return SampleType::Int16;
        case GDT_UInt32:
            return SampleType::UInt32;
        case GDT_Int32:
            return SampleType::Int32;
        case GDT_Float32:
            return SampleType::Float32;
        case GDT_Float64:
            return SampleType::Float64;
        default:
            return std::nullopt;
    }
}

GDALDataType GdalTypeOf(SampleType type) {
    switch (type) {
        case SampleType::UInt8:
        case SampleType::Int8:
            return GDT_Byte;
        case SampleType::UInt16:
            return GDT_UInt16;
        case SampleType::Int16:
            return GDT_Int16;
        case SampleType::UInt32:
            return GDT_UInt32;
        case SampleType::Int32:
            return GDT_Int32;
        case SampleType::Float32:
            return GDT_Float32;
        case SampleType::Float64:
            break;
    }
    return GDT_Float64;
}

std::uint64_t FileSize(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

// The samples the label declares must lie inside the files: a label that lies about the
// size, a pointer past the end and a cut file are all refused here, before a sample is read.
std::optional<GDALDataset::RawBinaryLayout> CheckLayout(GDALDatasetH handle,
                                                        const ArchiveInfo& info,
                                                        const std::string& path) {
    GDALDataset::RawBinaryLayout layout;
    const int bands = std::min(info.bands, 3);
    const auto sampleBytes = static_cast<std::int64_t>(SampleBytes(info.type));
    if (GDALDataset::FromHandle(handle)->GetRawBinaryLayout(layout)) {
        const std::string& raw = layout.osRawFilename;
        CheckLocalRegularFile(raw, "the data file");
        const std::int64_t w = info.width - 1;
        const std::int64_t h = info.height - 1;
        const std::int64_t b = bands - 1;
        const auto start = static_cast<std::int64_t>(layout.nImageOffset);
        std::int64_t lowest = start;
        std::int64_t highest = start;
        for (const std::int64_t step :
             {layout.nPixelOffset * w, layout.nLineOffset * h, layout.nBandOffset * b}) {
            (step < 0 ? lowest : highest) += step;
        }
        const auto size = static_cast<std::int64_t>(FileSize(raw));
        if (lowest < 0 || start < 0 || highest + sampleBytes > size) {
            throw ImageError(path, "the label places samples up to byte " +
                                       std::to_string(highest + sampleBytes) +
                                       " but the data file holds " + std::to_string(size) +
                                       " bytes");
        }
        return layout;
    }
    // No plain layout (a tiled cube): the samples cannot outnumber the bytes of the files.
    std::uint64_t total = 0;
    char** files = GDALGetFileList(handle);
    for (char** file = files; file != nullptr && *file != nullptr; ++file) {
        try {
            CheckLocalRegularFile(*file, "the data file");
        } catch (...) {
            CSLDestroy(files);
            throw;
        }
        total += FileSize(*file);
    }
    CSLDestroy(files);
    const auto declared =
        static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height) *
        static_cast<std::uint64_t>(bands) * static_cast<std::uint64_t>(sampleBytes);
    if (declared > total) {
        throw ImageError(path, "the label declares " + std::to_string(declared) +
                                   " bytes of samples but its files hold " + std::to_string(total));
    }
    return std::nullopt;
}

// GDAL takes every 32-bit PDS3 sample whose type does not start with UNSIGNED or INTEGER for
// a real; the label says what it is.
void CorrectPds3Type(const LabelFacts& facts, ArchiveInfo& info) {
    if (facts.format != ArchiveFormat::Pds3 || facts.sampleBits != 32) return;
    const std::string& type = facts.sampleType;
    if (type.find("INTEGER") == std::string::npos) return;
    info.type = type.find("UNSIGNED") != std::string::npos ? SampleType::UInt32 : SampleType::Int32;
}

template <std::size_t N>
void SwapEach(std::uint8_t* data, std::size_t bytes) {
    for (std::size_t i = 0; i + N <= bytes; i += N) std::reverse(data + i, data + i + N);
}

// Plain samples are read straight from the file, a band or a row at a time, and put into
// the machine's byte order.
void ReadRaw(const GDALDataset::RawBinaryLayout& layout, const ArchiveInfo& info,
             std::uint8_t* out) {
    InputFile file(layout.osRawFilename);
    const std::size_t sampleBytes = SampleBytes(info.type);
    const auto width = static_cast<std::size_t>(info.width);
    const std::size_t rowBytes = width * sampleBytes;
    const bool packedPixels = layout.nPixelOffset == static_cast<GIntBig>(sampleBytes);
    const bool packedRows = packedPixels && layout.nLineOffset == static_cast<GIntBig>(rowBytes);
    std::vector<std::uint8_t> line;
    for (int band = 0; band < std::min(info.bands, 3); ++band) {
        const auto bandStart =
            static_cast<std::int64_t>(layout.nImageOffset) + band * layout.nBandOffset;
        std::uint8_t* bandOut =
            out + static_cast<std::size_t>(band) * rowBytes * static_cast<std::size_t>(info.height);
        if (packedRows) {
            file.ReadAt(static_cast<std::uint64_t>(bandStart), bandOut,
                        rowBytes * static_cast<std::size_t>(info.height));
            continue;
        }
        for (int y = 0; y < info.height; ++y) {
            const std::int64_t start = bandStart + y * layout.nLineOffset;
            std::uint8_t* rowOut = bandOut + static_cast<std::size_t>(y) * rowBytes;
            if (packedPixels) {
                file.ReadAt(static_cast<std::uint64_t>(start), rowOut, rowBytes);
                continue;
            }
            // Interleaved by pixel or with gaps: read the row's span and pick the samples.
            const auto span =
                static_cast<std::size_t>(layout.nPixelOffset) * (width - 1) + sampleBytes;
            line.resize(span);
            file.ReadAt(static_cast<std::uint64_t>(start), line.data(), span);
            for (std::size_t x = 0; x < width; ++x) {
                std::memcpy(rowOut + x * sampleBytes,
                            line.data() + x * static_cast<std::size_t>(layout.nPixelOffset),
                            sampleBytes);
            }
        }
    }
    const bool littleMachine = CPL_IS_LSB != 0;
    if (layout.bLittleEndianOrder == littleMachine || sampleBytes == 1) return;
    const std::size_t total = rowBytes * static_cast<std::size_t>(info.height) *
                              static_cast<std::size_t>(std::min(info.bands, 3));
    if (sampleBytes == 2) SwapEach<2>(out, total);
    if (sampleBytes == 4) SwapEach<4>(out, total);
    if (sampleBytes == 8) SwapEach<8>(out, total);
}

struct Opened {
    Dataset dataset;
    ArchiveInfo info;
    std::optional<GDALDataset::RawBinaryLayout> layout;
};

Opened Open(const std::string& path) {
    Opened opened;
    ArchiveInfo& info = opened.info;
    CheckLocalRegularFile(path, "the file");
    info.labelPath = FindArchiveLabel(path);
    info.facts = ParseLabelFile(info.labelPath);
    try {
        CheckSampleType(info.facts);
    } catch (const ImageError& e) {
        throw ImageError(path, e.Problem());
    }
    const std::string directory = Directory(info.labelPath);
    for (const std::string& name : info.facts.dataFiles) {
        const std::optional<std::string> data = FindIgnoringCase(directory, name);
        if (!data)
            throw ImageError(path, "the data file " + name + " named by the label is missing");
        try {
            CheckLocalRegularFile(*data, "the data file " + name);
        } catch (const ImageError& e) {
            throw ImageError(path, e.Problem());
        }
    }
    StartGdal();
    GdalErrors errors;
    static const char* const kDrivers[] = {"PDS", "PDS4", "VICAR", "ISIS3", "ISIS2", nullptr};
    // A relative name starting "PDS4:" or the like must not read as a driver's prefix.
    const std::string local =
        info.labelPath.front() == '/' ? info.labelPath : "./" + info.labelPath;
    opened.dataset.reset(
        GDALOpenEx(local.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, kDrivers, nullptr, nullptr));
    if (!opened.dataset) throw ImageError(path, errors.Text("GDAL cannot read the file"));
    GDALDatasetH handle = opened.dataset.get();
    info.width = GDALGetRasterXSize(handle);
    info.height = GDALGetRasterYSize(handle);
    info.bands = GDALGetRasterCount(handle);
    if (info.bands < 1) throw ImageError(path, "the file holds no image");
    try {
        Bitmap24::CheckSize(info.width, info.height);
    } catch (const ImageError& e) {
        throw ImageError(path, e.Problem());
    }
    const std::optional<SampleType> type = SampleTypeOf(GDALGetRasterBand(handle, 1));
    if (!type) {
        throw ImageError(
            path, std::string("unsupported sample type ") +
                      GDALGetDataTypeName(GDALGetRasterDataType(GDALGetRasterBand(handle, 1))));
    }
    for (int band = 2; band <= std::min(info.bands, 3); ++band) {
        if (SampleTypeOf(GDALGetRasterBand(handle, band)) != type) {
            throw ImageError(path, "the bands have different sample types");
        }
    }
    info.type = *type;
    CorrectPds3Type(info.facts, info);
    info.bits = static_cast<int>(8 * SampleBytes(info.type));
    opened.layout = CheckLayout(handle, info, path);
    // Only plain layouts that can be checked against the file are read past GDAL; the rest
    // (none for a 32-bit PDS3 integer) through it.
    if (!opened.layout && info.type != *type)
        throw ImageError(path, "unsupported layout of 32-bit integers");
    return opened;
}

Bitmap24 ReadClaimedPicture(const std::string& path) {
    return ReadArchivePicture(path);
}

}  // namespace

bool HasArchiveExtension(std::string_view path) {
    static constexpr std::array<std::string_view, 6> kExtensions = {".img", ".lbl",   ".xml",
                                                                    ".vic", ".vicar", ".cub"};
    const std::string extension = LowerExtension(path);
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

bool ClaimsArchiveFile(std::string_view path) {
    if (!HasArchiveExtension(path)) return false;
    if (LowerExtension(path) != ".xml") return true;
    try {
        const std::string name(path);
        CheckLocalRegularFile(name, "the file");
        return SniffLabel(ReadHead(name, 4096)) == ArchiveFormat::Pds4;
    } catch (const ImageError&) {
        return false;
    }
}

std::string FindArchiveLabel(const std::string& path) {
    CheckLocalRegularFile(path, "the file");
    if (SniffLabel(ReadHead(path, 4096))) return path;
    if (LowerExtension(path) == ".img") {
        const std::size_t slash = path.rfind('/');
        const std::size_t dot = path.rfind('.');
        const std::string stem = path.substr(slash == std::string::npos ? 0 : slash + 1,
                                             dot - (slash == std::string::npos ? 0 : slash + 1));
        const std::string directory = Directory(path);
        std::optional<std::string> label = FindIgnoringCase(directory, stem + ".LBL");
        if (!label) label = FindIgnoringCase(directory, stem + ".lbl");
        if (label) {
            CheckLocalRegularFile(*label, "the label " + *label);
            return *label;
        }
        throw ImageError(path, "no label in the file and no .LBL beside it");
    }
    throw ImageError(path, "not a PDS3, PDS4, VICAR or ISIS3 file");
}

LabelFacts ReadArchiveLabel(const std::string& path) {
    return ParseLabelFile(FindArchiveLabel(path));
}

std::vector<std::string> ArchiveProductFiles(const std::string& path) {
    std::vector<std::string> files{path};
    const std::string label = FindArchiveLabel(path);
    if (label != path) files.push_back(label);
    const std::string directory = Directory(label);
    for (const std::string& name : ParseLabelFile(label).dataFiles) {
        const std::optional<std::string> data = FindIgnoringCase(directory, name);
        if (data && std::find(files.begin(), files.end(), *data) == files.end())
            files.push_back(*data);
    }
    return files;
}

std::vector<std::string> ArchiveFilesToDelete(const std::string& path) {
    std::string label;
    try {
        label = FindArchiveLabel(path);
    } catch (const ImageError&) {
        return {path};  // no label of its own: the file alone
    }
    std::vector<std::string> product{path};
    if (label != path) product.push_back(label);
    try {
        product = ArchiveProductFiles(path);
    } catch (const ImageError&) {
        return product;  // an unreadable label still goes with its samples
    }
    std::vector<std::string> files;
    for (const std::string& file : product) {
        bool own = file == path || file == label;
        if (!own) {
            // A data file that another label describes (or that carries one) is a picture of
            // its own and stays.
            try {
                own = FindArchiveLabel(file) == label;
            } catch (const ImageError&) {
                own = true;
            }
        }
        if (own) files.push_back(file);
    }
    return files;
}

ArchiveInfo InspectArchiveFile(const std::string& path) {
    return Open(path).info;
}

void ReadArchiveSamples(const std::string& path, ArchiveSamples& samples) {
    Opened opened = Open(path);
    samples.info = opened.info;
    const ArchiveInfo& info = samples.info;
    const int bands = std::min(info.bands, 3);
    const std::size_t bytes = static_cast<std::size_t>(info.width) *
                              static_cast<std::size_t>(info.height) *
                              static_cast<std::size_t>(bands) * SampleBytes(info.type);
    try {
        samples.bytes.resize(bytes);
    } catch (const std::bad_alloc&) {
        throw ImageError(path, "not enough memory for the samples");
    }
    if (opened.layout) {
        try {
            ReadRaw(*opened.layout, info, samples.bytes.data());
        } catch (const ImageError& e) {
            throw ImageError(path, e.Problem());
        }
        return;
    }
    GdalErrors errors;
    int bandMap[3] = {1, 2, 3};
    const CPLErr result = GDALDatasetRasterIO(
        opened.dataset.get(), GF_Read, 0, 0, info.width, info.height, samples.bytes.data(),
        info.width, info.height, GdalTypeOf(info.type), bands, bandMap, 0, 0, 0);
    if (result != CE_None) throw ImageError(path, errors.Text("the samples cannot be read"));
}

Bitmap24 ReadArchivePicture(const std::string& path, double p) {
    ArchiveSamples samples;
    ReadArchiveSamples(path, samples);
    try {
        return RenderDisplayPicture(samples.View(), p);
    } catch (const ImageError& e) {
        throw ImageError(path, e.Problem());
    }
}

void RegisterArchiveReader() {
    RegisterPictureReader({ClaimsArchiveFile, ReadClaimedPicture});
}

}  // namespace kobrix
