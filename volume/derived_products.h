#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kobrix {

// A product name split around its three product-type letters: rover, camera and clock before
// them (with the dash some names carry after the camera), site, drive, sequence, eye, filter,
// producer and version after them, up to the extension.
struct ProductNameParts {
    std::string before;
    std::string type;
    std::string after;
    std::string extension;  // with its dot, as written
};

std::optional<ProductNameParts> SplitProductName(std::string_view fileName);

// True for the product types of raw data (EDRs), whose letters begin with E.
bool IsEdrType(std::string_view type);

// The other products of the exposure of `path`: the names that differ from its own only in
// the product-type letters (any letter case, any type), with an .IMG extension (any case),
// in the file's own folder and, for a file in a volume's edr/ or rdr/ folder, in the sol's
// other one of the two (any letter case): an EDR finds its RDRs, an RDR its EDR and the
// other RDRs. Sorted by name, each once; the file itself is not among them. Paths are
// absolute, from the folder the file is in however `path` was written.
std::vector<std::string> DerivedProducts(const std::string& path);

// The linearized product of the exposure of `path` among its derived products: a type whose
// last letter is L (FFL full frame, SFL sub-frame, DNL downsampled, in that order of choice,
// then any other by name), the picture with the lens distortion taken out and the epipolar
// lines level, which a stereo pair is best looked at in. Empty when the exposure has none
// and for a product that is not an EDR.
std::string LinearizedProduct(const std::string& path);

// The linearized products of both eyes of a pair, of the best type both have (FFL, then SFL,
// then DNL, then any other ending in L by name), or nothing when they have none in common:
// one eye linearized beside the other raw, or a full frame beside a sub-frame, would not fuse.
struct LinearizedPair {
    std::string rightEye;
    std::string leftEye;
};
std::optional<LinearizedPair> LinearizedPairOf(const std::string& rightEyePath,
                                               const std::string& leftEyePath);

}  // namespace kobrix
