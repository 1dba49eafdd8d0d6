// Product-name decoding throughput, one core.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "decode/product_name.h"
#include "platform/system_time_zone.h"

namespace kobrix {
namespace {

// A zone that costs nothing: the decode without the local-time conversion.
class ConstantZone final : public TimeZoneSource {
  public:
    TimeZoneInfo CurrentZone() const override { return info_; }
    UtcOffset OffsetAt(std::int64_t) const override { return {true, 0, {}}; }

  private:
    TimeZoneInfo info_{TimeZoneInfo::State::NoDaylightSaving, "UTC", "UTC", {}};
};

// The zone queried once for the run, conversions by the C library.
class SnapshotZone final : public TimeZoneSource {
  public:
    SnapshotZone() : info_(system_.CurrentZone()) {}
    TimeZoneInfo CurrentZone() const override { return info_; }
    UtcOffset OffsetAt(std::int64_t s) const override { return system_.OffsetAt(s); }

  private:
    SystemTimeZone system_;
    TimeZoneInfo info_;
};

// Names of a few weeks of one rover's images, as a catalogue run meets them.
std::vector<std::string> SampleNames() {
    std::vector<std::string> names;
    const char* cameras = "PNFRM";
    for (int i = 0; i < 4096; ++i) {
        std::string name = "2P241328935EFFAUCTP2582L5M1.jpg";
        name[1] = cameras[i % 5];
        const std::string clock = std::to_string(241328935 + i * 613);
        name.replace(2, 9, clock);
        name[23] = (i & 1) ? 'R' : 'L';
        name[24] = static_cast<char>('1' + i % 8);
        names.push_back(name);
    }
    return names;
}

void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

void RunDecode(benchmark::State& state, const TimeZoneSource& zone, bool cached) {
    const std::vector<std::string> names = SampleNames();
    LocalTimeCache cache;
    DecodeContext context;
    context.zone = &zone;
    context.localTimeCache = cached ? &cache : nullptr;
    DecodeState decoded;
    std::size_t i = 0;
    for (auto _ : state) {
        DecodeProductName(names[i++ & 4095], context, decoded);
        benchmark::DoNotOptimize(decoded.panel.localTime.data());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_DecodeWithoutLocalTime(benchmark::State& state) {
    const ConstantZone zone;
    RunDecode(state, zone, false);
}
BENCHMARK(BM_DecodeWithoutLocalTime);

void BM_DecodeLocalTimeCached(benchmark::State& state) {
    UseZone("Europe/Berlin");
    const SnapshotZone zone;
    RunDecode(state, zone, true);
}
BENCHMARK(BM_DecodeLocalTimeCached);

void BM_DecodeLocalTimeCachedUtc(benchmark::State& state) {
    UseZone("UTC");
    const SnapshotZone zone;
    RunDecode(state, zone, true);
}
BENCHMARK(BM_DecodeLocalTimeCachedUtc);

void BM_DecodeLocalTimeUncached(benchmark::State& state) {
    UseZone("Europe/Berlin");
    const SnapshotZone zone;
    RunDecode(state, zone, false);
}
BENCHMARK(BM_DecodeLocalTimeUncached);

// The plainest baseline: cut the fields out of the name and parse the clock.
void BM_BaselineSplitFields(benchmark::State& state) {
    const std::vector<std::string> names = SampleNames();
    std::string fields[12];
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& n = names[i++ & 4095];
        static constexpr int kWidths[12] = {1, 1, 9, 3, 2, 2, 1, 4, 1, 1, 1, 1};
        std::size_t pos = 0;
        for (int f = 0; f < 12; ++f) {
            fields[f].assign(n, pos, static_cast<std::size_t>(kWidths[f]));
            pos += static_cast<std::size_t>(kWidths[f]);
        }
        int clock = 0;
        std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), clock);
        benchmark::DoNotOptimize(clock);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BaselineSplitFields);

}  // namespace
}  // namespace kobrix

BENCHMARK_MAIN();
