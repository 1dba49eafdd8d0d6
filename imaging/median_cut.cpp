#include "imaging/median_cut.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace kobrix {
namespace {

// The histogram keeps 5 bits a channel; the palette colours themselves are exact means of the
// pixels in each box, so the coarse bins cost little accuracy.
constexpr int kBits = 5;
constexpr int kSide = 1 << kBits;
constexpr int kBins = kSide * kSide * kSide;

int BinOf(int r, int g, int b) {
    return (r << (2 * kBits)) | (g << kBits) | b;
}

struct Bin {
    std::uint32_t count = 0;
    std::uint64_t sum[3] = {0, 0, 0};  // red, green, blue
};

struct Box {
    int lo[3];
    int hi[3];  // inclusive, in bin coordinates
    std::uint64_t count = 0;
    double error = 0;  // summed squared distance of the bins' means from the box mean
    int widestAxis = 0;
};

class MedianCut {
  public:
    explicit MedianCut(const Bitmap24& picture) : bins_(kBins) {
        for (int y = 0; y < picture.Height(); ++y) {
            const std::uint8_t* p = picture.Row(y);
            for (int x = 0; x < picture.Width(); ++x, p += 3) {
                Bin& bin =
                    bins_[BinOf(p[2] >> (8 - kBits), p[1] >> (8 - kBits), p[0] >> (8 - kBits))];
                ++bin.count;
                bin.sum[0] += p[2];
                bin.sum[1] += p[1];
                bin.sum[2] += p[0];
            }
        }
    }

    std::vector<std::array<std::uint8_t, 3>> Palette(int maxColours) {
        std::vector<Box> boxes;
        Box all{{0, 0, 0}, {kSide - 1, kSide - 1, kSide - 1}};
        Measure(all);
        boxes.push_back(all);
        while (static_cast<int>(boxes.size()) < maxColours) {
            auto worst =
                std::max_element(boxes.begin(), boxes.end(),
                                 [](const Box& a, const Box& b) { return a.error < b.error; });
            if (worst->error <= 0) break;  // every box is one bin
            Box second = Split(*worst);
            boxes.push_back(second);
        }
        std::vector<std::array<std::uint8_t, 3>> palette;
        for (const Box& box : boxes) palette.push_back(MeanColour(box));
        return palette;
    }

    const Bin& At(int index) const { return bins_[static_cast<std::size_t>(index)]; }

  private:
    template <typename Visit>
    void ForEachBin(const Box& box, Visit visit) const {
        for (int r = box.lo[0]; r <= box.hi[0]; ++r) {
            for (int g = box.lo[1]; g <= box.hi[1]; ++g) {
                for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                    const int c[3] = {r, g, b};
                    visit(bins_[BinOf(r, g, b)], c);
                }
            }
        }
    }

    // Shrinks the box to its occupied bins and works out its count, error and widest axis.
    void Measure(Box& box) const {
        int lo[3] = {kSide, kSide, kSide};
        int hi[3] = {-1, -1, -1};
        std::uint64_t count = 0;
        double sum[3] = {0, 0, 0};
        ForEachBin(box, [&](const Bin& bin, const int* c) {
            if (bin.count == 0) return;
            count += bin.count;
            for (int i = 0; i < 3; ++i) {
                lo[i] = std::min(lo[i], c[i]);
                hi[i] = std::max(hi[i], c[i]);
                sum[i] += static_cast<double>(bin.sum[i]);
            }
        });
        box.count = count;
        box.error = 0;
        if (count == 0) return;
        std::copy(lo, lo + 3, box.lo);
        std::copy(hi, hi + 3, box.hi);
        double mean[3];
        for (int i = 0; i < 3; ++i) mean[i] = sum[i] / static_cast<double>(count);
        double spread[3] = {0, 0, 0};
        ForEachBin(box, [&](const Bin& bin, const int*) {
            if (bin.count == 0) return;
            for (int i = 0; i < 3; ++i) {
                const double d = static_cast<double>(bin.sum[i]) / bin.count - mean[i];
                spread[i] += d * d * bin.count;
            }
        });
        box.error = spread[0] + spread[1] + spread[2];
        box.widestAxis = static_cast<int>(std::max_element(spread, spread + 3) - spread);
    }

    // Cuts the box at the median of its widest axis; `box` keeps the lower half.
    Box Split(Box& box) const {
        const int axis = box.widestAxis;
        std::vector<std::uint64_t> planes(kSide, 0);
        ForEachBin(box, [&](const Bin& bin, const int* c) { planes[c[axis]] += bin.count; });
        std::uint64_t below = 0;
        int cut = box.lo[axis];
        for (; cut < box.hi[axis] - 1; ++cut) {
            below += planes[cut];
            if (2 * below >= box.count) break;
        }
        // Both halves keep an occupied plane: lo and hi are occupied after Measure.
        Box upper = box;
        box.hi[axis] = cut;
        upper.lo[axis] = cut + 1;
        Measure(box);
        Measure(upper);
        return upper;
    }

    std::array<std::uint8_t, 3> MeanColour(const Box& box) const {
        std::uint64_t sum[3] = {0, 0, 0};
        ForEachBin(box, [&](const Bin& bin, const int*) {
            for (int i = 0; i < 3; ++i) sum[i] += bin.sum[i];
        });
        std::array<std::uint8_t, 3> colour{};
        for (int i = 0; i < 3; ++i) {
            colour[i] =
                box.count ? static_cast<std::uint8_t>((sum[i] + box.count / 2) / box.count) : 0;
        }
        return colour;
    }

    std::vector<Bin> bins_;
};

int Nearest(const std::vector<std::array<std::uint8_t, 3>>& palette, int r, int g, int b) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i][0] - r, dg = palette[i][1] - g, db = palette[i][2] - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// The exact palette when the picture has few enough colours; false otherwise.
bool TryExactPalette(const Bitmap24& picture, int maxColours, IndexedPicture& out) {
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    std::size_t next = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* p = picture.Row(y);
        std::uint32_t lastKey = 0xFFFFFFFFu;
        std::uint8_t lastIndex = 0;
        for (int x = 0; x < picture.Width(); ++x, p += 3) {
            const std::uint32_t key = (std::uint32_t{p[2]} << 16) | (p[1] << 8) | p[0];
            if (key != lastKey) {
                auto [it, added] = index.try_emplace(key, static_cast<std::uint8_t>(next));
                if (added) {
                    if (static_cast<int>(next) == maxColours) return false;
                    out.palette.push_back({p[2], p[1], p[0]});
                    ++next;
                }
                lastKey = key;
                lastIndex = it->second;
            }
            out.indexes[static_cast<std::size_t>(y) * picture.Width() + x] = lastIndex;
        }
    }
    return true;
}

}  // namespace

IndexedPicture QuantizeMedianCut(const Bitmap24& picture, int maxColours) {
    if (maxColours < 2 || maxColours > 256) {
        throw std::invalid_argument("a palette has 2 to 256 colours");
    }
    IndexedPicture out;
    out.width = picture.Width();
    out.height = picture.Height();
    out.indexes.resize(static_cast<std::size_t>(out.width) * out.height);
    if (TryExactPalette(picture, maxColours, out)) return out;

    out.palette.clear();
    MedianCut cut(picture);
    out.palette = cut.Palette(maxColours);
    // Each occupied bin maps to the palette colour nearest its mean, found once per bin.
    std::vector<std::int16_t> binIndex(kBins, -1);
    std::uint8_t* dst = out.indexes.data();
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* p = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x, p += 3) {
            const int bin = BinOf(p[2] >> (8 - kBits), p[1] >> (8 - kBits), p[0] >> (8 - kBits));
            std::int16_t& mapped = binIndex[static_cast<std::size_t>(bin)];
            if (mapped < 0) {
                const Bin& b = cut.At(bin);
                mapped = static_cast<std::int16_t>(Nearest(
                    out.palette, static_cast<int>(b.sum[0] / b.count),
                    static_cast<int>(b.sum[1] / b.count), static_cast<int>(b.sum[2] / b.count)));
            }
            *dst++ = static_cast<std::uint8_t>(mapped);
        }
    }
    return out;
}

}  // namespace kobrix
