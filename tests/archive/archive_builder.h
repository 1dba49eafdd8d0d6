#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/jpeg_io.h"
#include "tests/imaging/temp_dir.h"

namespace kobrix::test {

// Small archive files written by the tests themselves, in the layouts the rover archive
// uses. Samples are given as numbers, band after band, and stored by `kind`, `bits` and
// byte order.
enum class StoredKind { Unsigned, Signed, Real };

struct ArchiveLayout {
    int width = 4;
    int height = 3;
    int bands = 1;
    StoredKind kind = StoredKind::Unsigned;
    int bits = 16;
    bool littleEndian = false;
    std::vector<double> samples;
    // Label lines added at the top level (facts, or damage).
    std::string extraLabel;
    // Damage: the label claims other lines than stored, the pointer is moved, or the file
    // is cut short by this many bytes.
    int declaredLines = 0;
    int pointerShift = 0;
    std::size_t cut = 0;
    std::string sampleTypeOverride;
};

// A 1024 x 1024 EDR of 12-bit values in 16-bit words, scattered so that no run compresses:
// the size the figures measure.
inline ArchiveLayout FullFrameEdr() {
    ArchiveLayout layout;
    layout.width = 1024;
    layout.height = 1024;
    layout.samples.resize(1024 * 1024);
    for (std::size_t i = 0; i < layout.samples.size(); ++i) {
        layout.samples[i] = static_cast<double>((i * 2654435761u >> 7) % 4096);
    }
    return layout;
}

// A JPEG picture as a 16-bit EDR: 12-bit values from its green, with the label lines `facts`.
inline ArchiveLayout EdrFromJpeg(const std::string& jpegPath, const std::string& facts) {
    const Bitmap24 picture = ReadJpegFile(jpegPath);
    ArchiveLayout layout;
    layout.width = picture.Width();
    layout.height = picture.Height();
    layout.bits = 16;
    layout.extraLabel = facts;
    for (int y = 0; y < layout.height; ++y) {
        for (int x = 0; x < layout.width; ++x)
            layout.samples.push_back(picture.Row(y)[3 * x + 1] * 16);
    }
    return layout;
}

inline std::vector<std::uint8_t> EncodeSamples(const ArchiveLayout& layout) {
    std::vector<std::uint8_t> out;
    const std::size_t bytes = static_cast<std::size_t>(layout.bits / 8);
    for (const double v : layout.samples) {
        std::uint8_t word[8] = {};
        if (layout.kind == StoredKind::Real && bytes == 4) {
            const auto f = static_cast<float>(v);
            std::memcpy(word, &f, 4);
        } else if (layout.kind == StoredKind::Real) {
            std::memcpy(word, &v, 8);
        } else {
            const auto i = static_cast<std::int64_t>(v);
            std::memcpy(word, &i, 8);  // the low bytes first on this machine
        }
        static_assert(std::endian::native == std::endian::little);
        if (layout.littleEndian) {
            out.insert(out.end(), word, word + bytes);
        } else {
            for (std::size_t b = bytes; b-- > 0;) out.push_back(word[b]);
        }
    }
    return out;
}

inline std::string Pds3SampleType(const ArchiveLayout& layout) {
    if (!layout.sampleTypeOverride.empty()) return layout.sampleTypeOverride;
    switch (layout.kind) {
        case StoredKind::Real:
            return layout.littleEndian ? "PC_REAL" : "IEEE_REAL";
        case StoredKind::Signed:
            return layout.littleEndian ? "LSB_INTEGER" : "MSB_INTEGER";
        case StoredKind::Unsigned:
            break;
    }
    if (layout.bits == 8) return "UNSIGNED_INTEGER";
    return layout.littleEndian ? "LSB_UNSIGNED_INTEGER" : "MSB_UNSIGNED_INTEGER";
}

inline std::string Pds3ImageObject(const ArchiveLayout& layout) {
    return "OBJECT = IMAGE\r\n  LINES = " +
           std::to_string(layout.declaredLines ? layout.declaredLines : layout.height) +
           "\r\n  LINE_SAMPLES = " + std::to_string(layout.width) +
           "\r\n  SAMPLE_TYPE = " + Pds3SampleType(layout) +
           "\r\n  SAMPLE_BITS = " + std::to_string(layout.bits) +
           "\r\n  BANDS = " + std::to_string(layout.bands) +
           "\r\n  BAND_STORAGE_TYPE = BAND_SEQUENTIAL\r\nEND_OBJECT = IMAGE\r\nEND\r\n";
}

// A VICAR label of RECSIZE-long records, LBLSIZE a multiple of them.
inline std::string VicarLabel(const ArchiveLayout& layout, const std::string& extra = {}) {
    const int recsize = layout.width * layout.bits / 8;
    std::string format = "BYTE";
    if (layout.kind == StoredKind::Real) {
        format = layout.bits == 32 ? "REAL" : "DOUB";
    } else if (layout.bits == 16) {
        format = "HALF";
    } else if (layout.bits == 32) {
        format = "FULL";
    }
    const std::string body =
        " FORMAT='" + format + "' TYPE='IMAGE' BUFSIZ=" + std::to_string(recsize) +
        " DIM=3 EOL=0 RECSIZE=" + std::to_string(recsize) +
        " ORG='BSQ' NL=" + std::to_string(layout.height) + " NS=" + std::to_string(layout.width) +
        " NB=" + std::to_string(layout.bands) + " N1=" + std::to_string(layout.width) +
        " N2=" + std::to_string(layout.height) + " N3=" + std::to_string(layout.bands) +
        " N4=0 NBB=0 NLB=0 HOST='X86-LINUX' INTFMT='" + (layout.littleEndian ? "LOW" : "HIGH") +
        "' REALFMT='" + (layout.littleEndian ? "RIEEE" : "IEEE") + "' " + extra;
    std::size_t size = static_cast<std::size_t>(recsize);
    while (size < body.size() + 20) size += static_cast<std::size_t>(recsize);
    std::string head = "LBLSIZE=" + std::to_string(size);
    head.resize(16, ' ');
    std::string label = head + body;
    label.resize(size, ' ');
    return label;
}

// PDS3 label and samples in one file, with or without a VICAR header between them.
inline std::vector<std::uint8_t> AttachedPds3(const ArchiveLayout& layout, bool vicarHeader) {
    const std::size_t record = static_cast<std::size_t>(layout.width * layout.bits / 8);
    const std::string vicar = vicarHeader ? VicarLabel(layout) : std::string();
    const std::size_t vicarRecords = vicar.size() / record;
    const auto label = [&](std::size_t labelRecords) {
        std::string text =
            "PDS_VERSION_ID = PDS3\r\nRECORD_TYPE = FIXED_LENGTH\r\nRECORD_BYTES = " +
            std::to_string(record) + "\r\nLABEL_RECORDS = " + std::to_string(labelRecords) + "\r\n";
        if (vicarHeader) text += "^IMAGE_HEADER = " + std::to_string(labelRecords + 1) + "\r\n";
        text += "^IMAGE = " +
                std::to_string(static_cast<long>(labelRecords + vicarRecords + 1) +
                               layout.pointerShift) +
                "\r\n" + layout.extraLabel + Pds3ImageObject(layout);
        return text;
    };
    std::size_t labelRecords = 1;
    while (label(labelRecords).size() > labelRecords * record) ++labelRecords;
    std::string text = label(labelRecords);
    text.resize(labelRecords * record, ' ');
    text += vicar;
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const std::vector<std::uint8_t> samples = EncodeSamples(layout);
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    bytes.resize(bytes.size() - std::min(layout.cut, bytes.size()));
    return bytes;
}

// A detached label `labelName` whose pointer names `dataName`, and the raw samples there.
inline std::string DetachedPds3(const ScratchDir& dir, const std::string& labelName,
                                const std::string& dataName, const ArchiveLayout& layout,
                                bool writeData = true) {
    const std::string label =
        "PDS_VERSION_ID = PDS3\r\nRECORD_TYPE = FIXED_LENGTH\r\nRECORD_BYTES = " +
        std::to_string(layout.width * layout.bits / 8) + "\r\n^IMAGE = (\"" + dataName +
        "\", 1)\r\n" + layout.extraLabel + Pds3ImageObject(layout);
    if (writeData) Put(dir, dataName, EncodeSamples(layout));
    return Put(dir, labelName, std::vector<std::uint8_t>(label.begin(), label.end()));
}

inline std::vector<std::uint8_t> VicarFile(const ArchiveLayout& layout,
                                           const std::string& extra = {}) {
    const std::string label = VicarLabel(layout, extra);
    std::vector<std::uint8_t> bytes(label.begin(), label.end());
    const std::vector<std::uint8_t> samples = EncodeSamples(layout);
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    return bytes;
}

inline std::string Pds4DataType(const ArchiveLayout& layout) {
    const std::string order = layout.littleEndian ? "LSB" : "MSB";
    if (layout.kind == StoredKind::Real)
        return "IEEE754" + order + (layout.bits == 32 ? "Single" : "Double");
    if (layout.bits == 8) return layout.kind == StoredKind::Signed ? "SignedByte" : "UnsignedByte";
    return (layout.kind == StoredKind::Signed ? "Signed" : "Unsigned") + order +
           std::to_string(layout.bits / 8);
}

// A PDS4 XML label and its data file.
inline std::string Pds4(const ScratchDir& dir, const std::string& stem, const ArchiveLayout& layout,
                        const std::string& extraArea = {}) {
    const std::string dataName = stem + ".dat";
    Put(dir, dataName, EncodeSamples(layout));
    const bool cube = layout.bands > 1;
    const auto axis = [](const std::string& name, int elements, int sequence) {
        return "<Axis_Array><axis_name>" + name + "</axis_name><elements>" +
               std::to_string(elements) + "</elements><sequence_number>" +
               std::to_string(sequence) + "</sequence_number></Axis_Array>";
    };
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Product_Observational xmlns=\"http://pds.nasa.gov/pds4/pds/v1\">\n"
        "<Identification_Area><logical_identifier>urn:nasa:pds:test:data:" +
        stem +
        "</logical_identifier><version_id>1.0</version_id><title>test</title>"
        "<information_model_version>1.11.0.0</information_model_version>"
        "<product_class>Product_Observational</product_class></Identification_Area>\n"
        "<Observation_Area><Time_Coordinates><start_date_time>2004-01-04T12:00:00.123Z</"
        "start_date_time>"
        "<stop_date_time>2004-01-04T12:00:01Z</stop_date_time></Time_Coordinates>" +
        extraArea +
        "</Observation_Area>\n"
        "<File_Area_Observational><File><file_name>" +
        dataName + "</file_name></File>\n" + (cube ? "<Array_3D_Image>" : "<Array_2D_Image>") +
        "<offset unit=\"byte\">0</offset><axes>" + (cube ? "3" : "2") +
        "</axes><axis_index_order>Last Index Fastest</axis_index_order><Element_Array><data_type>" +
        Pds4DataType(layout) + "</data_type></Element_Array>" +
        (cube ? axis("Band", layout.bands, 1) + axis("Line", layout.height, 2) +
                    axis("Sample", layout.width, 3)
              : axis("Line", layout.height, 1) + axis("Sample", layout.width, 2)) +
        (cube ? "</Array_3D_Image>" : "</Array_2D_Image>") +
        "\n</File_Area_Observational>\n</Product_Observational>\n";
    return Put(dir, stem + ".xml", std::vector<std::uint8_t>(xml.begin(), xml.end()));
}

// The facts every test label carries, as a PDS3 label writes them.
inline const std::string kFactLines =
    "PRODUCT_ID = \"2P126471340EFF0000P2303L5M1\"\r\n"
    "INSTRUMENT_ID = \"PANCAM_LEFT\"\r\n"
    "START_TIME = 2004-01-04T12:00:00.123Z\r\n"
    "SPACECRAFT_CLOCK_START_COUNT = \"126471340.466\"\r\n"
    "PLANET_DAY_NUMBER = 1\r\n"
    "LOCAL_TRUE_SOLAR_TIME = \"13:45:12\"\r\n";

}  // namespace kobrix::test
