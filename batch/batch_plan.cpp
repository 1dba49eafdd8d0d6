#include "batch/batch_plan.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "browse/file_list.h"
#include "browse/file_operations.h"
#include "browse/stereo_pair.h"
#include "colour/core/composite.h"
#include "decode/product_name.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::string_view ExtensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// Calls `visit(folder, name, product)` for every name of every folder that decodes as a
// product name of a camera image, not one the program made. `seen` is emptied at each folder,
// for the visits to note what they have taken there.
template <typename Visit>
void ForEachProduct(const std::vector<FolderListing>& folders, const TimeZoneSource& zone,
                    std::unordered_set<std::string>& seen, Visit visit) {
    LocalTimeCache cache;
    DecodeContext context;
    context.zone = &zone;
    context.localTimeCache = &cache;
    DecodeState state;
    for (const FolderListing& folder : folders) {
        seen.clear();
        for (const std::string& name : folder.names) {
            state.panel.Clear();
            DecodeProductName(name, context, state);
            if (!state.product.NameValid || state.product.IsCombined) continue;
            visit(folder, name, state.product);
        }
    }
}

// The stem of an output path, folded: its file name without the extension and the number.
std::string StemOf(std::string_view output) {
    const std::size_t slash = output.rfind('/');
    std::string_view name = slash == std::string_view::npos ? output : output.substr(slash + 1);
    name = name.substr(0, name.rfind('.'));
    const std::size_t number = name.rfind("-0");
    return Folded(number == std::string_view::npos ? name : name.substr(0, number));
}

}  // namespace

OutputNamer::OutputNamer(const std::string& outputDirectory,
                         const std::vector<std::string>& existing, const BatchSettings& settings)
    : directory_(outputDirectory),
      existing_(existing),
      taken_(existing),
      jpeg_(settings.jpeg),
      force_(settings.force) {}

void OutputNamer::Name(const std::string& stem, BatchItem& item) {
    item.exists = !force_ && FirstFreeSaveNumber(stem, existing_) > 1;
    // A forced run replaces what is on the disk, never what it made itself.
    const unsigned long long n =
        item.exists ? 1 : FirstFreeSaveNumber(stem, force_ ? claimed_ : taken_);
    const std::string name = stem + "-0" + std::to_string(n);
    if (!item.exists) {
        claimed_.Add(name + ".jpg");
        taken_.Add(name + ".jpg");
    }
    item.output = SaveTargetAs(JoinPath(directory_, name), jpeg_).path;
}

void KeepShard(BatchPlan& plan, const Shard& shard) {
    const std::size_t total = plan.items.size();
    std::unordered_map<std::string, std::size_t> firstOfStem;  // folded stem, position
    std::vector<BatchItem> kept;
    for (std::size_t i = 0; i < total; ++i) {
        const std::size_t first =
            firstOfStem.try_emplace(StemOf(plan.items[i].output), i).first->second;
        if (ShardOf(first, total, shard.count) == shard.index) {
            kept.push_back(std::move(plan.items[i]));
        }
    }
    plan.items = std::move(kept);
    const auto [begin, end] = ShardRange(shard, plan.unmatched.size());
    plan.unmatched =
        std::vector<Unmatched>(plan.unmatched.begin() + static_cast<std::ptrdiff_t>(begin),
                               plan.unmatched.begin() + static_cast<std::ptrdiff_t>(end));
}

BatchPlan PlanPairs(const std::vector<FolderListing>& folders, const BatchSettings& settings,
                    const std::string& outputDirectory, const std::vector<std::string>& existing,
                    const TimeZoneSource& zone) {
    BatchPlan plan;
    OutputNamer namer(outputDirectory, existing, settings);
    const std::string tag = settings.kind == BatchKind::CrossEyed
                                ? std::string("-XEYED")
                                : AnaglyphSettingsTag(settings.anaglyph);
    // The pictures as the file list shows them: a raw .IMG's detached label is no picture.
    // (Copied only where there are labels: folders of JPEGs are long.)
    std::vector<FolderListing> withoutLabels;
    const bool labels = std::any_of(folders.begin(), folders.end(), [](const FolderListing& f) {
        return std::any_of(f.names.begin(), f.names.end(), [](const std::string& name) {
            return Folded(ExtensionOf(name)) == ".lbl";
        });
    });
    if (labels) {
        withoutLabels = folders;
        for (FolderListing& folder : withoutLabels) FileList::DropDetachedLabels(folder.names);
    }
    std::unordered_set<std::string> seen;  // folded left-eye name and partner extension
    ForEachProduct(
        labels ? withoutLabels : folders, zone, seen,
        [&](const FolderListing& folder, const std::string& name, const DecodedProduct& product) {
            const std::string path = JoinPath(folder.directory, name);
            // Partners carry the extension the stereo viewer looks for: an archive file's own,
            // else ".jpg"; a bitmap or GIF is no half of a pair.
            const std::string extension = PartnerExtension(path);
            if (extension == ".jpg" && !HasJpegExtension(name)) return;
            if (product.LeftEyeName == "N/A") {
                plan.unmatched.push_back({path, "monoscopic image, no stereo partner"});
                return;
            }
            if (!seen.insert(Folded(product.LeftEyeName + extension)).second) return;
            const auto left = ChoosePartnerName(product.LeftEyeName + extension, folder.names);
            const auto right = ChoosePartnerName(product.RightEyeName + extension, folder.names);
            if (!left || !right) {
                plan.unmatched.push_back(
                    {path, std::string("no ") + (left ? "right" : "left") + " eye (" +
                               (left ? product.RightEyeName : product.LeftEyeName) + extension +
                               ")"});
                return;
            }
            BatchItem item;
            item.inputs = {JoinPath(folder.directory, *right), JoinPath(folder.directory, *left)};
            namer.Name(BaseNameOf(*left) + tag, item);
            plan.items.push_back(std::move(item));
        });
    return plan;
}

BatchPlan PlanComposites(const std::vector<FolderListing>& folders, const BatchSettings& settings,
                         const std::string& outputDirectory,
                         const std::vector<std::string>& existing, const TimeZoneSource& zone) {
    BatchPlan plan;
    OutputNamer namer(outputDirectory, existing, settings);
    const bool mixed = settings.redMix || settings.blueMix;
    std::unordered_set<std::string> seen;  // folded product-name prefixes
    ForEachProduct(
        folders, zone, seen,
        [&](const FolderListing& folder, const std::string& name, const DecodedProduct& product) {
            if (product.EyeLetter != "L") return;
            const std::string& digit = product.FilterDigit;
            if (digit != "4" && digit != "5" && digit != "6") return;
            if (!seen.insert(Folded(product.FilterSetPrefix)).second) return;
            const std::string_view extension = ExtensionOf(name);
            std::vector<std::string> bands;  // red, green, blue
            std::string missing;
            for (const char band : {'4', '5', '6'}) {
                const std::string wanted = PresetBandName(product.FilterSetPrefix, band, extension);
                const auto found = ChoosePartnerName(wanted, folder.names);
                if (found) {
                    bands.push_back(*found);
                } else {
                    missing += (missing.empty() ? "" : ", ") + wanted;
                }
            }
            if (!missing.empty()) {
                plan.unmatched.push_back({JoinPath(folder.directory, name),
                                          "incomplete filter set, missing " + missing});
                return;
            }
            FilterTags tags;
            UpdateFilterTags(tags, bands[2], bands[1], bands[0], true);
            const std::string tag = mixed ? Mer2RgbTag(tags) : tags.tag;
            BatchItem item;
            for (const std::string& band : bands) {
                item.inputs.push_back(JoinPath(folder.directory, band));
            }
            namer.Name(BaseNameOf(bands[1]) + tag, item);
            plan.items.push_back(std::move(item));
        });
    return plan;
}

}  // namespace kobrix
