#include "cli/colour_commands.h"

#include <charconv>
#include <climits>
#include <exception>
#include <map>
#include <optional>
#include <set>

#include "browse/file_operations.h"
#include "cli/option_value.h"
#include "colour/core/anaglyph.h"
#include "colour/core/composite.h"
#include "colour/core/sunset.h"
#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "tools/core/lens.h"

namespace kobrix::cli {
namespace {

struct Arguments {
    std::vector<std::string> positional;
    std::optional<std::string> output;
    std::map<std::string, int> numbers;  // by option name, "--merge"
    std::set<std::string> switches;      // those given, "--blue"
};

// A whole decimal number, nothing before or after it.
std::optional<int> ParseNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

struct NumberOption {
    const char* name;
    int lowest;
    int highest;
};

// Reads the arguments against the number options and the switches ("--blue"). Empty, with
// the problem in `problem`, on a usage error.
std::optional<Arguments> Parse(const std::vector<std::string>& args,
                               const std::vector<NumberOption>& numberOptions,
                               const std::set<std::string>& switches, std::string& problem) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value = SplitOptionValue(arg);
        auto takeValue = [&]() -> std::optional<std::string> {
            if (value) return value;
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (arg == "-o" || arg == "--output") {
            value = takeValue();
            if (!value || value->empty()) {
                problem = "-o needs a file name";
                return std::nullopt;
            }
            parsed.output = *value;
            continue;
        }
        if (switches.count(arg) != 0 && !value) {
            parsed.switches.insert(arg);
            continue;
        }
        bool known = false;
        for (const NumberOption& option : numberOptions) {
            if (arg != option.name) continue;
            known = true;
            value = takeValue();
            if (!value) {
                problem = arg + " needs a number";
                return std::nullopt;
            }
            const std::optional<int> number = ParseNumber(*value);
            if (!number || *number < option.lowest || *number > option.highest) {
                problem =
                    arg + " " + *value + ": give a whole number from " +
                    std::to_string(option.lowest) +
                    (option.highest == INT_MAX ? " up" : " to " + std::to_string(option.highest));
                return std::nullopt;
            }
            parsed.numbers[arg] = *number;
        }
        if (known) continue;
        if (arg.size() > 1 && arg[0] == '-') {
            problem = "unknown option " + args[i];
            return std::nullopt;
        }
        parsed.positional.push_back(args[i]);
    }
    if (!parsed.output) {
        problem = "give the output file with -o OUT";
        return std::nullopt;
    }
    if (!WritableKindOf(*parsed.output)) {
        problem = *parsed.output +
                  ": cannot tell the picture type from the extension; use .jpg, .jpeg, .bmp or "
                  ".gif";
        return std::nullopt;
    }
    return parsed;
}

int Number(const Arguments& parsed, const std::string& name, int fallback) {
    const auto it = parsed.numbers.find(name);
    return it == parsed.numbers.end() ? fallback : it->second;
}

// ImageError names the file itself; anything else (out of memory) gets the name here.
void Report(std::ostream& err, const std::string& file, const std::exception& e) {
    if (dynamic_cast<const ImageError*>(&e)) {
        err << "kobrix-cli: " << e.what() << '\n';
    } else {
        err << "kobrix-cli: " << file << ": " << e.what() << '\n';
    }
}

// Reads `path`; on failure reports it and returns nothing.
std::optional<Bitmap24> Read(const std::string& path, std::ostream& err) {
    try {
        return ReadAnyPicture(path);
    } catch (const std::exception& e) {
        Report(err, path, e);
        return std::nullopt;
    }
}

bool Write(const Bitmap24& picture, const std::string& path, std::ostream& err) {
    try {
        WritePictureByExtension(picture, path);
        return true;
    } catch (const std::exception& e) {
        Report(err, path, e);
        return false;
    }
}

}  // namespace

int RunAnaglyphCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<Arguments> parsed =
        Parse(args, {{"--merge", 0, 100}, {"--contrast", 0, 100}, {"--brightness", 0, 100}},
              {"--blue"}, problem);
    if (parsed && parsed->positional.size() != 2) problem = "give RIGHT and LEFT";
    if (!problem.empty()) {
        err << "kobrix-cli anaglyph: " << problem << '\n';
        return 2;
    }
    AnaglyphSettings settings;
    settings.merge = Number(*parsed, "--merge", settings.merge);
    settings.contrast = Number(*parsed, "--contrast", settings.contrast);
    settings.brightness = Number(*parsed, "--brightness", settings.brightness);
    const std::string& rightPath = parsed->positional[0];
    const std::string& leftPath = parsed->positional[1];

    std::optional<Bitmap24> right = Read(rightPath, err);
    if (!right) return 1;
    std::optional<Bitmap24> left = Read(leftPath, err);
    if (!left) return 1;
    // Separated in place: the pictures read are not needed afterwards.
    SeparateInto(*right,
                 parsed->switches.count("--blue") != 0 ? Separation::Blue : Separation::Cyan,
                 *right);
    SeparateInto(*left, Separation::Red, *left);
    const Bitmap24 anaglyph = RenderAnaglyph(*right, *left, settings);
    if (!Write(anaglyph, *parsed->output, err)) return 1;
    out << rightPath << " + " << leftPath << " -> " << *parsed->output << " (" << anaglyph.Width()
        << " x " << anaglyph.Height() << " pixels, " << AnaglyphSettingsTag(settings) << ")\n";
    return 0;
}

int RunFadeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<Arguments> parsed = Parse(args, {{"--passes", 0, INT_MAX}}, {}, problem);
    if (parsed && parsed->positional.size() != 1) problem = "give one input file";
    if (!problem.empty()) {
        err << "kobrix-cli fade: " << problem << '\n';
        return 2;
    }
    const int passes = Number(*parsed, "--passes", kSunsetPasses);
    const std::string& inPath = parsed->positional[0];
    std::optional<Bitmap24> picture = Read(inPath, err);
    if (!picture) return 1;
    SunsetPasses(*picture, passes);
    if (!Write(*picture, *parsed->output, err)) return 1;
    out << inPath << " -> " << *parsed->output << " (" << passes
        << (passes == 1 ? " pass" : " passes") << ")\n";
    return 0;
}

int RunCompositeCommand(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    std::string problem;
    const std::optional<Arguments> parsed =
        Parse(args, {{"--red-mix", 0, 100}, {"--blue-mix", 0, 100}, {"--solarize", 0, 100}},
              {"--invert"}, problem);
    if (parsed && parsed->positional.size() != 3) problem = "give RED, GREEN and BLUE";
    const bool invert = parsed && parsed->switches.count("--invert") != 0;
    const bool solarize = parsed && parsed->numbers.count("--solarize") != 0;
    if (problem.empty() && invert && solarize) problem = "give --invert or --solarize, not both";
    if (!problem.empty()) {
        err << "kobrix-cli composite: " << problem << '\n';
        return 2;
    }
    std::vector<Bitmap24> bands;  // red, green, blue
    for (const std::string& path : parsed->positional) {
        std::optional<Bitmap24> band = Read(path, err);
        if (!band) return 1;
        bands.push_back(std::move(*band));
    }
    // A band mixed with green replaces the band read; an unmixed band is used as read.
    const auto mix = [&](Bitmap24& band, const char* option) {
        const auto it = parsed->numbers.find(option);
        if (it != parsed->numbers.end()) band = Mixture(band, bands[1], it->second);
    };
    mix(bands[2], "--blue-mix");
    mix(bands[0], "--red-mix");
    Bitmap24 composite = StraightCombination(bands[2], bands[1], bands[0]);
    if (invert) composite = Inverted(composite);
    if (solarize) composite = Solarized(composite, parsed->numbers.at("--solarize"));
    if (!Write(composite, *parsed->output, err)) return 1;
    FilterTags tags;
    UpdateFilterTags(tags, BaseNameOf(parsed->positional[2]), BaseNameOf(parsed->positional[1]),
                     BaseNameOf(parsed->positional[0]), false);
    out << *parsed->output << " (" << composite.Width() << " x " << composite.Height()
        << " pixels, filters " << tags.tag << ")\n";
    return 0;
}

int RunMagnifyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<Arguments> parsed = Parse(args,
                                                  {{"--x", INT_MIN, INT_MAX},
                                                   {"--y", INT_MIN, INT_MAX},
                                                   {"--magnification", 2, 50},
                                                   {"--radius", 10, 800},
                                                   {"--border-width", 0, 30}},
                                                  {"--circle", "--no-border"}, problem);
    if (parsed && parsed->positional.size() != 1) problem = "give one input file";
    if (parsed && problem.empty() &&
        (parsed->numbers.count("--x") == 0 || parsed->numbers.count("--y") == 0)) {
        problem = "give the lens centre with --x X --y Y";
    }
    if (!problem.empty()) {
        err << "kobrix-cli magnify: " << problem << '\n';
        return 2;
    }
    std::optional<Bitmap24> picture = Read(parsed->positional[0], err);
    if (!picture) return 1;
    const int m = Number(*parsed, "--magnification", 2);
    const LensGeometry lens = LensFor(Number(*parsed, "--radius", 150), m);
    LensStyle style;
    style.circle = parsed->switches.count("--circle") != 0;
    style.border = parsed->switches.count("--no-border") == 0;
    style.borderWidth = Number(*parsed, "--border-width", 5);
    Bitmap24 view;
    CopyPicture(*picture, view);
    DrawLens(*picture, view, parsed->numbers.at("--x"), parsed->numbers.at("--y"), lens, m, style);
    if (!Write(view, *parsed->output, err)) return 1;
    out << *parsed->output << " (lens of " << 2 * lens.s << " pixels drawn " << 2 * lens.R
        << " wide)\n";
    return 0;
}

}  // namespace kobrix::cli
