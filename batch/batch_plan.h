#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "batch/folder_listing.h"
#include "batch/shard.h"
#include "colour/core/anaglyph.h"
#include "decode/time_zone.h"

namespace kobrix {

// What a folder run makes of each set of pictures it finds.
enum class BatchKind {
    Anaglyph,   // a stereo pair as the anaglyph maker renders it
    CrossEyed,  // a stereo pair side by side, as the stereo viewer arranges it
    Composite,  // a left-eye filter 4, 5 and 6 set as the colour tool's straight combination
};

struct BatchSettings {
    BatchKind kind = BatchKind::Anaglyph;
    AnaglyphSettings anaglyph;
    bool blueSeparation = false;  // the right eye gives blue only
    // The colour tool's mixtures of the red and blue band with the green band (0..100); with
    // either given the composite is named as the mixture method names it.
    std::optional<int> redMix;
    std::optional<int> blueMix;
    bool jpeg = true;    // else a 24-bit BMP
    bool force = false;  // make again what is there already
};

// One picture to make. `inputs` are paths: right and left eye for a pair; red, green and blue
// band for a composite.
struct BatchItem {
    std::vector<std::string> inputs;
    std::string output;   // the path written
    bool exists = false;  // made before: skipped unless forced
};

// A picture that found no partner, with why.
struct Unmatched {
    std::string path;
    std::string reason;
};

struct BatchPlan {
    std::vector<BatchItem> items;  // in the order of the folders and of their listings
    std::vector<Unmatched> unmatched;
};

// Finds the stereo pairs of every folder by the decode's partner names: a JPEG or an archive
// file (a reader registered for it, see PartnerExtension) whose name decodes with an eye
// letter L or R (either case) stands for its pair; the two partners are the names with "L"
// and "R" in the eye position and ".jpg" (an archive file's own extension as written), looked
// up as the stereo viewer looks them up (exact, then the extension as written, then any
// spelling). A raw .IMG's detached label is no picture of its own. Program-made names and
// names that do not decode are left out; monoscopic pictures and lone eyes are unmatched.
// Each output is named as the anaglyph maker proposes it in `outputDirectory` (left-eye base
// name, settings tag, "-0" and the first free number, the file name upper-cased as a save
// writes it); a cross-eyed picture has "-XEYED" in place of the settings tag. `existing` are
// the names in `outputDirectory`.
BatchPlan PlanPairs(const std::vector<FolderListing>& folders, const BatchSettings& settings,
                    const std::string& outputDirectory, const std::vector<std::string>& existing,
                    const TimeZoneSource& zone);

// Finds every left-eye filter 4, 5 and 6 set of one exposure: the names the automatic colour
// processing builds from the product-name prefix ("4M1", "5M1", "6M1" and the extension of the
// name found first), looked up as stereo partners are. Outputs are named as the colour tool
// proposes them (green base name, "-L4L5L6" or the mixture method's tag, "-0" and a number).
BatchPlan PlanComposites(const std::vector<FolderListing>& folders, const BatchSettings& settings,
                         const std::string& outputDirectory,
                         const std::vector<std::string>& existing, const TimeZoneSource& zone);

// Keeps the items and the unmatched pictures of `shard`'s part of the plan. The items are
// divided in their order, except that the items of one stem (the same pair in two folders)
// stay with the part of the first of them: their numbers follow one another, and a run that
// made the first must not meet it in the folder while it names the others.
void KeepShard(BatchPlan& plan, const Shard& shard);

// The numbering of both: a stem already saved as "-01" (".jpg" or ".bmp", any case) among
// `existing` is made already; otherwise the first number free among `existing` and the
// earlier items of the run (when forced: free among the earlier items). The stems are base
// name and tag.
class OutputNamer {
  public:
    OutputNamer(const std::string& outputDirectory, const std::vector<std::string>& existing,
                const BatchSettings& settings);
    void Name(const std::string& stem, BatchItem& item);

  private:
    std::string directory_;
    SaveNameSet existing_;  // in the directory before the run
    SaveNameSet claimed_;   // by earlier items of the run
    SaveNameSet taken_;     // both
    bool jpeg_;
    bool force_;
};

}  // namespace kobrix
