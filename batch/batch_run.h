#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "batch/batch_plan.h"

namespace kobrix {

struct ItemResult {
    enum class Outcome { Made, Skipped, Failed };
    Outcome outcome = Outcome::Failed;
    std::string reason;  // why it was skipped or failed
    int width = 0;       // of the picture made
    int height = 0;
};

// Called for each item in the plan's order, as soon as it and every item before it are done.
using ItemReport = std::function<void(std::size_t index, const ItemResult& result)>;
// Called after each item with the count done so far and the total.
using ProgressReport = std::function<void(std::size_t done, std::size_t total)>;

// Makes every item of `plan` on `jobs` threads (at least one), each with its own pictures. An
// item whose output existed when the plan was made is skipped unless `settings.force`; one
// that cannot be read, made or written fails with its reason and the others go on. Each file
// is written unnamed beside its target and takes its name when complete; without `force` it
// never replaces a file (or link) that appeared in the meantime, and the item is skipped. The
// reports come from the worker threads, one at a time. The results are in the plan's order and do
// not depend on the number of threads.
std::vector<ItemResult> RunBatch(const BatchPlan& plan, const BatchSettings& settings, int jobs,
                                 const ItemReport& report, const ProgressReport& progress);

// The processors this process may run on (its affinity, as `taskset` sets it), at least 1.
int AvailableCores();

}  // namespace kobrix
