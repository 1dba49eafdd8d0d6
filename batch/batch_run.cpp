#include "batch/batch_run.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "batch/cross_eyed.h"
#include "colour/core/anaglyph.h"
#include "colour/core/composite.h"
#include "imaging/image_file.h"

namespace kobrix {
namespace {

// The pictures one thread reuses from item to item.
struct Workspace {
    std::vector<std::uint8_t> file;
    Bitmap24 first;  // the first input, separated in place for an anaglyph
    Bitmap24 second;
    Bitmap24 blueMix;
    Bitmap24 redMix;
    Bitmap24 result;
};

// The item's picture into `space.result`. Throws ImageError (naming the file) when an input
// cannot be read.
void Make(const BatchItem& item, const BatchSettings& settings, Workspace& space) {
    switch (settings.kind) {
        case BatchKind::Anaglyph: {
            ReadAnyPictureInto(item.inputs[0], space.first, space.file);
            ReadAnyPictureInto(item.inputs[1], space.second, space.file);
            SeparateInto(space.first, settings.blueSeparation ? Separation::Blue : Separation::Cyan,
                         space.first);
            SeparateInto(space.second, Separation::Red, space.second);
            RenderAnaglyph(space.first, space.second, settings.anaglyph, space.result);
            return;
        }
        case BatchKind::CrossEyed:
            ReadAnyPictureInto(item.inputs[0], space.first, space.file);
            ReadAnyPictureInto(item.inputs[1], space.second, space.file);
            JoinCrossEyed(space.first, space.second, space.result);
            return;
        case BatchKind::Composite: {
            const Bitmap24 red = ReadAnyPicture(item.inputs[0]);
            const Bitmap24 green = ReadAnyPicture(item.inputs[1]);
            const Bitmap24 blue = ReadAnyPicture(item.inputs[2]);
            // The mixture method mixes both bands; a mixture not asked for keeps its band.
            const bool mixed = settings.redMix || settings.blueMix;
            if (!mixed) {
                StraightCombinationInto(blue, green, red, space.result);
                return;
            }
            MixInto(blue, green, settings.blueMix.value_or(100), space.blueMix);
            MixInto(red, green, settings.redMix.value_or(100), space.redMix);
            StraightCombinationInto(space.blueMix, green, space.redMix, space.result);
            return;
        }
    }
}

ItemResult Process(const BatchItem& item, const BatchSettings& settings, Workspace& space) {
    ItemResult result;
    if (item.exists) {
        result.outcome = ItemResult::Outcome::Skipped;
        result.reason = "already made";
        return result;
    }
    // Unforced, the picture takes its name only where nothing has it, a link there included.
    const Placement placement = settings.force ? Placement::ReplaceName : Placement::NewName;
    try {
        Make(item, settings, space);
        WritePictureByExtension(space.result, item.output, placement);
    } catch (const FileExistsError& e) {
        result.outcome = ItemResult::Outcome::Skipped;
        result.reason = e.Problem();
        return result;
    } catch (const std::exception& e) {  // ImageError names the file; out of memory too
        result.reason = e.what();
        return result;
    }
    result.outcome = ItemResult::Outcome::Made;
    result.width = space.result.Width();
    result.height = space.result.Height();
    return result;
}

}  // namespace

int AvailableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

std::vector<ItemResult> RunBatch(const BatchPlan& plan, const BatchSettings& settings, int jobs,
                                 const ItemReport& report, const ProgressReport& progress) {
    const std::size_t total = plan.items.size();
    std::vector<ItemResult> results(total);
    std::vector<char> finished(total, 0);
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::size_t done = 0;
    std::size_t reported = 0;
    const auto work = [&] {
        Workspace space;
        for (std::size_t i = next++; i < total; i = next++) {
            ItemResult result = Process(plan.items[i], settings, space);
            const std::lock_guard<std::mutex> guard(lock);
            results[i] = std::move(result);
            finished[i] = 1;
            ++done;
            for (; reported < total && finished[reported]; ++reported) {
                if (report) report(reported, results[reported]);
            }
            if (progress) progress(done, total);
        }
    };
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)),
                                                      std::max<std::size_t>(total, 1));
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
    return results;
}

}  // namespace kobrix
