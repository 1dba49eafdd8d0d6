#include "cli/batch_commands.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

#include "batch/batch_run.h"
#include "batch/folder_listing.h"
#include "browse/browse_texts.h"
#include "cli/option_value.h"
#include "cli/shard_option.h"

namespace kobrix::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct NumberOption {
    const char* name;
    int lowest;
    int highest;
};

struct FolderArguments {
    std::vector<std::string> folders;
    std::string output = ".";
    std::map<std::string, int> numbers;  // by option name
    bool recursive = false;
    bool force = false;
    bool jpeg = true;
    bool blue = false;
    bool crossEyed = false;
    Shard shard;
    std::vector<std::string> listed;  // the files of --files-from
};

// Reads the arguments; a usage problem goes to `problem`. `switches` are the command's own
// switches besides --recursive and --force.
std::optional<FolderArguments> Parse(const std::vector<std::string>& given,
                                     const std::vector<NumberOption>& numberOptions,
                                     const std::vector<std::string>& switches,
                                     std::string& problem) {
    FolderArguments parsed;
    std::vector<std::string> arguments = given;
    ShareOptions share;
    if (!TakeShareOptions(arguments, share, problem)) return std::nullopt;
    if (share.filesFrom && !ReadPathList(*share.filesFrom, parsed.listed, problem)) {
        return std::nullopt;
    }
    parsed.shard = share.shard;
    const std::vector<std::string>& args = arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value = SplitOptionValue(arg);
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value) return value;
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        bool isSwitch = arg == "--recursive" || arg == "--force";
        for (const std::string& name : switches) isSwitch = isSwitch || arg == name;
        if (isSwitch && !value) {
            parsed.recursive = parsed.recursive || arg == "--recursive";
            parsed.force = parsed.force || arg == "--force";
            parsed.blue = parsed.blue || arg == "--blue";
            parsed.crossEyed = parsed.crossEyed || arg == "--cross-eyed";
            continue;
        }
        if (arg == "-o" || arg == "--output" || arg == "--format") {
            value = takeValue();
            if (!value || value->empty()) {
                problem = arg + " needs a value";
                return std::nullopt;
            }
            if (arg == "--format") {
                if (*value != "jpg" && *value != "bmp") {
                    problem = "--format " + *value + ": give jpg or bmp";
                    return std::nullopt;
                }
                parsed.jpeg = *value == "jpg";
            } else {
                parsed.output = *value;
            }
            continue;
        }
        const NumberOption* option = nullptr;
        for (const NumberOption& candidate : numberOptions) {
            if (arg == candidate.name) option = &candidate;
        }
        if (option) {
            value = takeValue();
            const std::optional<int> number =
                value ? ParseWholeNumber(*value) : std::optional<int>();
            if (!number || *number < option->lowest || *number > option->highest) {
                problem = arg + ": give a whole number from " + std::to_string(option->lowest) +
                          " to " + std::to_string(option->highest);
                return std::nullopt;
            }
            parsed.numbers[arg] = *number;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            problem = "unknown option " + args[i];
            return std::nullopt;
        }
        parsed.folders.push_back(args[i]);
    }
    if (parsed.folders.empty() && !share.filesFrom) {
        problem = "give at least one folder, or --files-from FILE";
    }
    if (problem.empty()) return parsed;
    return std::nullopt;
}

std::optional<int> Number(const FolderArguments& parsed, const std::string& name) {
    const auto it = parsed.numbers.find(name);
    if (it == parsed.numbers.end()) return std::nullopt;
    return it->second;
}

// The progress line: done, total and rate, redrawn at most five times a second.
class ProgressLine {
  public:
    ProgressLine(bool shown, std::ostream& err) : shown_(shown), err_(err) {}
    void Update(std::size_t done, std::size_t total) {
        if (!shown_) return;
        const Clock::time_point now = Clock::now();
        if (done < total && now - drawn_ < std::chrono::milliseconds(200)) return;
        drawn_ = now;
        const double seconds = std::chrono::duration<double>(now - start_).count();
        char line[96];
        std::snprintf(line, sizeof line, "\r%zu of %zu done, %.1f a second ", done, total,
                      seconds > 0 ? static_cast<double>(done) / seconds : 0.0);
        err_ << line << std::flush;
    }
    // Takes the line away, so that a line of the report can stand there; the next update
    // draws it again.
    void Clear() {
        if (!shown_) return;
        err_ << "\r\033[K" << std::flush;
        drawn_ = {};
    }
    void Finish() { Clear(); }

  private:
    bool shown_;
    std::ostream& err_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point drawn_{};
};

using Planner = BatchPlan (*)(const std::vector<FolderListing>&, const BatchSettings&,
                              const std::string&, const std::vector<std::string>&,
                              const TimeZoneSource&);

int RunFolders(const char* command, const FolderArguments& parsed, const BatchSettings& settings,
               Planner planner, int jobs, const TimeZoneSource& zone, const BatchConsole& console,
               std::ostream& out, std::ostream& err) {
    const std::string prefix = std::string("kobrix-cli ") + command + ": ";
    std::vector<std::string> problems;
    std::vector<FolderListing> folders = ListFolders(parsed.folders, parsed.recursive, problems);
    // The listed files follow the folders, each folder of them holding the files listed in it;
    // partners are looked for among those.
    for (FolderListing& listing : ListingsOfPaths(parsed.listed)) {
        folders.push_back(std::move(listing));
    }
    const auto refuse = [&] {
        for (const std::string& problem : problems)
            err << prefix << "cannot read " << problem << '\n';
        return 2;
    };
    // Nothing is created for a run that cannot start.
    if (!problems.empty()) return refuse();
    std::error_code ec;
    fs::create_directories(parsed.output, ec);
    if (ec) {
        err << prefix << "cannot create " << parsed.output << ": " << ec.message() << '\n';
        return 2;
    }
    std::vector<std::string> existing;
    std::string error;
    if (!ListFolder(parsed.output, existing, error)) {
        problems.push_back(parsed.output + ": " + error);
        return refuse();
    }
    BatchPlan plan = planner(folders, settings, parsed.output, existing, zone);
    if (parsed.shard.count > 1) KeepShard(plan, parsed.shard);

    ProgressLine progress(console.progress, err);
    std::size_t made = 0;
    std::size_t skipped = 0;
    std::vector<std::string> failures;
    const auto report = [&](std::size_t index, const ItemResult& result) {
        const BatchItem& item = plan.items[index];
        const bool shared = console.progress && console.outputOnTerminal;
        if (shared && result.outcome != ItemResult::Outcome::Failed) progress.Clear();
        switch (result.outcome) {
            case ItemResult::Outcome::Made: {
                ++made;
                std::string inputs;
                for (const std::string& input : item.inputs) {
                    inputs += (inputs.empty() ? "" : " + ") + input;
                }
                out << inputs << " -> " << item.output << " (" << result.width << " x "
                    << result.height << " pixels)\n";
                if (shared) out.flush();  // before the progress line comes back
                break;
            }
            case ItemResult::Outcome::Skipped:
                ++skipped;
                out << item.output << ": " << result.reason << ", skipped\n";
                if (shared) out.flush();
                break;
            case ItemResult::Outcome::Failed:
                failures.push_back(item.output + ": " + result.reason);
                break;
        }
    };
    RunBatch(plan, settings, jobs, report,
             [&](std::size_t done, std::size_t total) { progress.Update(done, total); });
    progress.Finish();
    out.flush();

    err << prefix << made << " made, " << skipped << " skipped, " << failures.size() << " failed";
    if (!plan.unmatched.empty()) err << ", " << plan.unmatched.size() << " without partners";
    err << '\n';
    for (const std::string& failure : failures) err << "  failed: " << failure << '\n';
    for (const Unmatched& lone : plan.unmatched) {
        err << "  not paired: " << lone.path << ": " << lone.reason << '\n';
    }
    return failures.empty() ? 0 : 1;
}

int Jobs(const FolderArguments& parsed, const BatchConsole& console) {
    return Number(parsed, "--jobs").value_or(std::max(console.cores, 1));
}

constexpr NumberOption kJobs{"--jobs", 1, 256};

}  // namespace

int RunPairsCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                    const BatchConsole& console, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<FolderArguments> parsed =
        Parse(args, {{"--merge", 0, 100}, {"--contrast", 0, 100}, {"--brightness", 0, 100}, kJobs},
              {"--blue", "--cross-eyed"}, problem);
    if (!parsed) {
        err << "kobrix-cli pairs: " << problem << '\n';
        return 2;
    }
    BatchSettings settings;
    settings.kind = parsed->crossEyed ? BatchKind::CrossEyed : BatchKind::Anaglyph;
    settings.anaglyph.merge = Number(*parsed, "--merge").value_or(settings.anaglyph.merge);
    settings.anaglyph.contrast = Number(*parsed, "--contrast").value_or(settings.anaglyph.contrast);
    settings.anaglyph.brightness =
        Number(*parsed, "--brightness").value_or(settings.anaglyph.brightness);
    settings.blueSeparation = parsed->blue;
    settings.jpeg = parsed->jpeg;
    settings.force = parsed->force;
    return RunFolders("pairs", *parsed, settings, PlanPairs, Jobs(*parsed, console), zone, console,
                      out, err);
}

int RunColourCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const BatchConsole& console, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<FolderArguments> parsed =
        Parse(args, {{"--red-mix", 0, 100}, {"--blue-mix", 0, 100}, kJobs}, {}, problem);
    if (!parsed) {
        err << "kobrix-cli colour: " << problem << '\n';
        return 2;
    }
    BatchSettings settings;
    settings.kind = BatchKind::Composite;
    settings.redMix = Number(*parsed, "--red-mix");
    settings.blueMix = Number(*parsed, "--blue-mix");
    settings.jpeg = parsed->jpeg;
    settings.force = parsed->force;
    return RunFolders("colour", *parsed, settings, PlanComposites, Jobs(*parsed, console), zone,
                      console, out, err);
}

}  // namespace kobrix::cli
