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
            std::ostream& out, std::ostream& err)
        : format_(format),
          labels_(labels),
          zone_(zone),
          names_(names),
          maker_(format, zone, names),
          out_(out),
          err_(err) {
        buffer_.reserve(kFlushBytes * 2);
        if (format_ == DecodeFormat::Csv) AppendCsvHeader(buffer_);
        if (format_ == DecodeFormat::Csv && labels_) AppendLabelCsvHeader(buffer_);
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

    void DecodeAll(const std::string& directory, const std::vector<std::string>& names) {
        const auto threads = static_cast<std::size_t>(AvailableCores());
        // Labels are files to read, one after the other in the listing's order.
        if (threads < 2 || names.size() < 2 * kChunkNames || labels_) {
            const std::string prefix =
                directory.empty() || directory.back() == '/' ? directory : directory + '/';
            for (const std::string& name : names) Decode(name, prefix + name);
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

}  // namespace

bool ListDirectory(const std::string& directory, std::vector<std::string>& names,
                   std::string& error) {
    return ListFolder(directory, names, error);
}

int RunDecodeCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const DateNames& names, std::ostream& out, std::ostream& err) {
    DecodeFormat format = DecodeFormat::Text;
    bool labels = false;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
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
    if (operands.empty()) {
        err << "kobrix-cli decode: give at least one name or directory\n";
        return 2;
    }

    int status = 0;
    Decoder decoder(format, labels, zone, names, out, err);
    std::vector<std::string> listing;
    for (const std::string& operand : operands) {
        std::error_code ec;
        const fs::path path(operand);
        const bool endsWithSeparator = !operand.empty() && operand.back() == '/';
        if (!operand.empty() && (fs::is_directory(path, ec) || endsWithSeparator)) {
            std::string error;
            if (!ListDirectory(operand, listing, error)) {
                decoder.Flush();
                err << "kobrix-cli decode: cannot read directory " << operand << ": " << error
                    << "\n";
                status = 2;
                continue;
            }
            decoder.DecodeAll(operand, listing);
            continue;
        }
        // A path names a file by its last part; its directory must exist.
        const std::size_t slash = operand.rfind('/');
        if (slash != std::string::npos) {
            const std::string parent = slash == 0 ? "/" : operand.substr(0, slash);
            if (!fs::is_directory(parent, ec)) {
                decoder.Flush();
                err << "kobrix-cli decode: no such directory " << parent << "\n";
                status = 2;
                continue;
            }
            decoder.Decode(std::string_view(operand).substr(slash + 1), operand);
            continue;
        }
        decoder.Decode(operand, operand);
    }
    decoder.Flush();
    if (status == 0 && (decoder.ConversionFailed() || decoder.LabelFailed())) status = 1;
    return status;
}

}  // namespace kobrix::cli
