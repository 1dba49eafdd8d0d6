#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/display_rule.h"
#include "archive/label_text.h"
#include "imaging/bitmap24.h"

namespace kobrix {

// True for the names the archive's files carry: .IMG, .LBL, .xml, .VIC and .cub, in any case.
bool HasArchiveExtension(std::string_view path);

// True for a file the archive reader opens: an archive extension, and for ".xml" a PDS4 label
// (its first bytes are read; an XML file of any other kind, or one that cannot be read, is
// not claimed, so that browsing passes it over like any other document).
bool ClaimsArchiveFile(std::string_view path);

// The label of an archive file: the file itself, or for a raw .IMG without a label of its
// own the .LBL beside it (the extension in any letter case). Throws ImageError when neither
// holds a label.
std::string FindArchiveLabel(const std::string& path);

// The files that make up the product at `path`, `path` first: a raw .IMG's detached label and
// the data files the label names, as found beside it (in any letter case). What is moved or
// removed as one picture. Throws ImageError when the label cannot be read.
std::vector<std::string> ArchiveProductFiles(const std::string& path);

// The files a deletion of `path` takes with it, `path` first: its product's files
// (ArchiveProductFiles), less any that is a product of its own (a data file that holds a label
// or has another beside it). When the label cannot be read, still the detached label of a
// raw .IMG. Only files found by their exact names in any letter case; a name that merely
// begins like the product's is never included. Does not throw.
std::vector<std::string> ArchiveFilesToDelete(const std::string& path);

// The label's facts, read from the label alone (no samples, no GDAL).
LabelFacts ReadArchiveLabel(const std::string& path);

struct ArchiveInfo {
    std::string labelPath;
    LabelFacts facts;
    int width = 0;
    int height = 0;
    int bands = 0;
    SampleType type = SampleType::UInt8;
    int bits = 0;  // of one stored sample
};

// Opens the file through GDAL and checks its size and layout against the file, without
// reading samples. Throws ImageError naming the file.
ArchiveInfo InspectArchiveFile(const std::string& path);

// The samples of the first three bands (or the one), band after band in the machine's order.
struct ArchiveSamples {
    ArchiveInfo info;
    std::vector<std::uint8_t> bytes;
    SampleView View() const {
        return {info.type, info.width, info.height, std::min(info.bands, 3), bytes.data()};
    }
};
void ReadArchiveSamples(const std::string& path, ArchiveSamples& samples);

// The display picture of an archive file (the display rule with clip share `p`).
Bitmap24 ReadArchivePicture(const std::string& path, double p = kDefaultStretch);

// Lets ReadAnyPicture and its callers open archive files. Idempotent.
void RegisterArchiveReader();

}  // namespace kobrix
