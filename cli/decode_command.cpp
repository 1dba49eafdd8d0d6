#include "cli/decode_command.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <system_error>
#include <thread>

#include "batch/batch_run.h"
#include "batch/folder_listing.h"
#include "cli/decode_output.h"
#include "cli/label_output.h"
#include "cli/shard_option.h"
#include "decode/product_name.h"

namespace kobrix::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFlushBytes = 1 << 16;
// Names a worker decodes in one go, and chunks a worker has ahead of the writer at the most.
constexpr std::size_t kChunkNames = 512;
constexpr std::size_t kChunksPerThread = 2;
constexpr std::size_t kRecordBytes = 1280;  // a JSON record of a product name takes about 1130

// The records of a run of names, with the failed conversions among them.
struct Chunk {
    struct Failure {
        std::size_t offset;  // of the failed name's record in `text`
        std::size_t name;    // its index
        std::string text;
    };
    std::string text;
    std::vector<Failure> failures;
};

// Decodes names one at a time into a reused state and streams the records. A directory's
// names are decoded on every core, chunk by chunk, and written in their order: every record
// depends on its name alone, so the output is the same as one name after the other.
class Decoder {
  public:
    Decoder(DecodeFormat format, bool labels, const TimeZoneSource& zone, const DateNames& names,
            std::ostream& out, std::ostream& err, bool header)
        : format_(format),
          labels_(labels),
          zone_(zone),
          names_(names),
          maker_(format, zone, names),
          out_(out),
          err_(err) {
        buffer_.reserve(kFlushBytes * 2);
        if (format_ == DecodeFormat::Csv && header) AppendCsvHeader(buffer_);
        if (format_ == DecodeFormat::Csv && header && labels_) AppendLabelCsvHeader(buffer_);
    }
    ~Decoder() { Flush(); }

    // `path` is the file the name stands for, whose label --labels reads.
    void Decode(std::string_view name, const std::string& path) {
        const std::size_t before = buffer_.size();
        if (!maker_.Append(name, buffer_)) {
            // The error goes out between the records before it and its own.
            out_.write(buffer_.data(), static_cast<std::streamsize>(before));
            buffer_.erase(0, before);
            ReportFailure(name, maker_.Failure());
        }
        if (labels_ && !AppendLabelFacts(format_, path, buffer_, labelError_)) {
            Flush();
            err_ << "kobrix-cli: " << labelError_ << '\n';
            labelFailed_ = true;
        }
        if (buffer_.size() >= kFlushBytes) Flush();
    }

    // With labels, `paths[i]` is the file `names[i]` stands for; without, `paths` is unused.
    void DecodeAll(const std::vector<std::string>& names, const std::vector<std::string>& paths) {
        const auto threads = static_cast<std::size_t>(AvailableCores());
        // Labels are files to read, one after the other in the listing's order.
        if (labels_) {
            for (std::size_t i = 0; i < names.size(); ++i) Decode(names[i], paths[i]);
            return;
        }
        if (threads < 2 || names.size() < 2 * kChunkNames) {
            for (const std::string& name : names) Decode(name, name);
            return;
        }
        Flush();
        const std::size_t chunks = (names.size() + kChunkNames - 1) / kChunkNames;
        std::vector<Chunk> window(threads * kChunksPerThread);
        for (std::size_t first = 0; first < chunks; first += window.size()) {
            const std::size_t count = std::min(window.size(), chunks - first);
            std::atomic<std::size_t> next{0};
            const auto work = [&] {
                RecordMaker maker(format_, zone_, names_);
                for (std::size_t k = next++; k < count; k = next++) {
                    Chunk& chunk = window[k];
                    // Room for the records at once: growing a large string copies it.
                    chunk.text.reserve(kChunkNames * kRecordBytes);
                    chunk.text.clear();
                    chunk.failures.clear();
                    const std::size_t begin = (first + k) * kChunkNames;
                    const std::size_t end = std::min(begin + kChunkNames, names.size());
                    for (std::size_t i = begin; i < end; ++i) {
                        const std::size_t before = chunk.text.size();
                        if (!maker.Append(names[i], chunk.text)) {
                            chunk.failures.push_back({before, i, maker.Failure()});
                        }
                    }
                }
            };
            std::vector<std::thread> helpers;
            for (std::size_t t = 1; t < std::min(threads, count); ++t) helpers.emplace_back(work);
            work();
            for (std::thread& helper : helpers) helper.join();
            for (std::size_t k = 0; k < count; ++k) WriteChunk(window[k], names);
        }
    }

    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

    bool ConversionFailed() const { return conversionFailed_; }
    bool LabelFailed() const { return labelFailed_; }

  private:
    void ReportFailure(std::string_view name, std::string_view failure) {
        err_ << "kobrix-cli: " << name << ": local time conversion failed: " << failure << '\n';
        conversionFailed_ = true;
    }

    // A chunk's records, each failure's message between the records before it and its own.
    void WriteChunk(const Chunk& chunk, const std::vector<std::string>& names) {
        std::size_t written = 0;
        for (const Chunk::Failure& failure : chunk.failures) {
            out_.write(chunk.text.data() + written,
                       static_cast<std::streamsize>(failure.offset - written));
            written = failure.offset;
            ReportFailure(names[failure.name], failure.text);
        }
        out_.write(chunk.text.data() + written,
                   static_cast<std::streamsize>(chunk.text.size() - written));
    }

    DecodeFormat format_;
    bool labels_;
    const TimeZoneSource& zone_;
    const DateNames& names_;
    RecordMaker maker_;
    std::ostream& out_;
    std::ostream& err_;
    std::string buffer_;
    bool conversionFailed_ = false;
    bool labelFailed_ = false;
    std::string labelError_;
};

// Goes through the operands in order: `listing` gets each directory's names and their paths,
// `name` each single name and its path, `problem` the message for a name whose directory does not
// exist and `folderProblem` the message for a directory that cannot be read.
template <typename Listing, typename Name, typename Problem, typename FolderProblem>
void WalkOperands(const std::vector<std::string>& operands, bool withPaths, Listing listing,
                  Name name, Problem problem, FolderProblem folderProblem) {
    std::vector<std::string> names;
    std::vector<std::string> paths;
    for (const std::string& operand : operands) {
        std::error_code ec;
        const fs::path path(operand);
        const bool endsWithSeparator = !operand.empty() && operand.back() == '/';
        if (!operand.empty() && (fs::is_directory(path, ec) || endsWithSeparator)) {
            std::string error;
            if (!ListDirectory(operand, names, error)) {
                folderProblem("cannot read directory " + operand + ": " + error);
                continue;
            }
            paths.clear();
            if (withPaths) {
                const std::string prefix = operand.back() == '/' ? operand : operand + '/';
                paths.reserve(names.size());
                for (const std::string& each : names) paths.push_back(prefix + each);
            }
            listing(names, paths);
            continue;
        }
        // A path names a file by its last part; its directory must exist.
        const std::size_t slash = operand.rfind('/');
        if (slash != std::string::npos) {
            const std::string parent = slash == 0 ? "/" : operand.substr(0, slash);
            if (!fs::is_directory(parent, ec)) {
                problem("no such directory " + parent);
                continue;
            }
            name(std::string_view(operand).substr(slash + 1), operand);
            continue;
        }
        name(operand, operand);
    }
}

}  // namespace

bool ListDirectory(const std::string& directory, std::vector<std::string>& names,
                   std::string& error) {
    return ListFolder(directory, names, error);
}

int RunDecodeCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const DateNames& names, std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments = args;
    ShareOptions share;
    std::string problem;
    if (!TakeShareOptions(arguments, share, problem)) {
        err << "kobrix-cli decode: " << problem << "\n";
        return 2;
    }
    DecodeFormat format = DecodeFormat::Text;
    bool labels = false;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (const std::string& arg : arguments) {
        if (!optionsEnded && arg.size() > 2 && arg.rfind("--", 0) == 0) {
            if (arg == "--json")
                format = DecodeFormat::Json;
            else if (arg == "--csv")
                format = DecodeFormat::Csv;
            else if (arg == "--labels")
                labels = true;
            else {
                err << "kobrix-cli decode: unknown option " << arg << "\n";
                return 2;
            }
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else {
            operands.push_back(arg);
        }
    }
    if (share.filesFrom) {
        // The listed paths follow the arguments, each taken as an argument would be.
        std::vector<std::string> listed;
        if (!ReadPathList(*share.filesFrom, listed, problem)) {
            err << "kobrix-cli decode: " << problem << "\n";
            return 2;
        }
        operands.insert(operands.end(), listed.begin(), listed.end());
    } else if (operands.empty()) {
        err << "kobrix-cli decode: give at least one name or directory, or --files-from FILE\n";
        return 2;
    }

    int status = 0;
    // The parts of a shared run join into one table: the first part has the header row.
    Decoder decoder(format, labels, zone, names, out, err, share.shard.index == 1);
    const auto report = [&](const std::string& text) {
        decoder.Flush();
        err << "kobrix-cli decode: " << text << "\n";
        status = 2;
    };
    if (share.shard.count == 1) {
        WalkOperands(
            operands, labels,
            [&](const std::vector<std::string>& listing, const std::vector<std::string>& paths) {
                decoder.DecodeAll(listing, paths);
            },
            [&](std::string_view name, const std::string& path) { decoder.Decode(name, path); },
            report, report);
    } else {
        // The whole plan first: the part of this run depends on its length. A folder that
        // cannot be read changes the plan, so every run reports it; a name's problem belongs
        // to the run whose part holds it.
        struct Step {
            std::string text;  // the name, or the problem's message
            std::string path;
            bool problem;
        };
        std::vector<Step> plan;
        WalkOperands(
            operands, labels,
            [&](const std::vector<std::string>& listing, const std::vector<std::string>& paths) {
                for (std::size_t i = 0; i < listing.size(); ++i) {
                    plan.push_back({listing[i], labels ? paths[i] : std::string(), false});
                }
            },
            [&](std::string_view name, const std::string& path) {
                plan.push_back({std::string(name), path, false});
            },
            [&](const std::string& text) {
                plan.push_back({text, {}, true});
            },
            report);
        const auto [begin, end] = ShardRange(share.shard, plan.size());
        std::vector<std::string> run;
        std::vector<std::string> runPaths;
        for (std::size_t i = begin; i < end; ++i) {
            if (!plan[i].problem) {
                run.push_back(std::move(plan[i].text));
                runPaths.push_back(std::move(plan[i].path));
                continue;
            }
            decoder.DecodeAll(run, runPaths);
            run.clear();
            runPaths.clear();
            report(plan[i].text);
        }
        decoder.DecodeAll(run, runPaths);
    }
    decoder.Flush();
    if (status == 0 && (decoder.ConversionFailed() || decoder.LabelFailed())) status = 1;
    return status;
}

}  // namespace kobrix::cli
