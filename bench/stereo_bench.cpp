// The partner lookup that the stereo autoshow runs on every decode, in a list of 2,000 names:
// a partner present under its exact name, one stored as ".JPG", and one missing (every
// monoscopic or unpaired image), against the plainest check, one stat of the exact path.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <strings.h>

#include "bench/ratio_reporter.h"
#include "browse/stereo_pair.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

constexpr int kNames = 2000;

struct Directory {
    std::string path;
    std::vector<std::string> names;
};

// Left-eye names; every tenth has its right-eye partner, half of those stored as ".JPG".
const Directory& Pictures() {
    static const Directory directory = [] {
        Directory d;
        const fs::path dir = fs::temp_directory_path() / "kobrix-stereo-bench";
        fs::create_directories(dir);
        d.path = dir.string();
        for (int i = 0; i < kNames; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "2N%09dEFFAUCTP1952L0M1.jpg", 126463965 + i * 600);
            d.names.push_back(name);
            if (i % 10 == 0) {
                std::string partner = name;
                partner[23] = 'R';
                if (i % 20 == 0) partner.replace(partner.size() - 3, 3, "JPG");
                d.names.push_back(partner);
            }
        }
        for (const std::string& name : d.names) {
            if (!fs::exists(dir / name)) std::ofstream(dir / name) << "x";
        }
        std::sort(d.names.begin(), d.names.end(), [](const std::string& a, const std::string& b) {
            return strcasecmp(a.c_str(), b.c_str()) < 0;
        });
        return d;
    }();
    return directory;
}

std::string RightEyeBase(int i) {
    char base[64];
    std::snprintf(base, sizeof base, "2N%09dEFFAUCTP1952R0M1", 126463965 + i * 600);
    return base;
}

void Lookup(benchmark::State& state, int index) {
    const Directory& d = Pictures();
    const std::string wanted = d.path + "/" + RightEyeBase(index) + ".jpg";
    for (auto _ : state) benchmark::DoNotOptimize(ResolvePartnerPath(wanted, d.names));
}

void PartnerExact(benchmark::State& state) {
    Lookup(state, 10);
}
void PartnerUpperExtension(benchmark::State& state) {
    Lookup(state, 20);
}
void PartnerMissing(benchmark::State& state) {
    Lookup(state, 11);
}

void PlainStat(benchmark::State& state) {
    const std::string path = Pictures().path + "/" + RightEyeBase(11) + ".jpg";
    std::error_code ec;
    for (auto _ : state) benchmark::DoNotOptimize(fs::is_regular_file(path, ec));
}

BENCHMARK(PartnerExact);
BENCHMARK(PartnerUpperExtension);
BENCHMARK(PartnerMissing);
BENCHMARK(PlainStat);

}  // namespace
}  // namespace kobrix

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kobrix::Pictures();
    kobrix::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* ours : {"PartnerExact", "PartnerUpperExtension", "PartnerMissing"}) {
        reporter.PrintRatio(ours, "PlainStat");
    }
    benchmark::Shutdown();
    return 0;
}
