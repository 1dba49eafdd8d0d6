#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kobrix {

// One of `count` runs that share a piece of work between them without talking to each other:
// each takes the `index`-th (1-based) of `count` equal, contiguous parts of the same ordered
// list. Together the parts hold every entry once.
struct Shard {
    std::uint32_t index = 1;
    std::uint32_t count = 1;
};

// The positions [first, second) of `total` that fall to `shard`. The parts differ in size by
// one at the most; with fewer entries than runs some parts are empty.
inline std::pair<std::size_t, std::size_t> ShardRange(const Shard& shard, std::size_t total) {
    const auto edge = [&](std::uint64_t k) {
        return static_cast<std::size_t>(k * static_cast<std::uint64_t>(total) / shard.count);
    };
    return {edge(shard.index - 1U), edge(shard.index)};
}

// The run (1-based) whose part holds position `position` of `total`.
inline std::uint32_t ShardOf(std::size_t position, std::size_t total, std::uint32_t count) {
    // The first k with position < k * total / count.
    std::uint32_t low = 1, high = count;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (position < ShardRange({middle, count}, total).second) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

}  // namespace kobrix
