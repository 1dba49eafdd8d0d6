#include "cli/decode_command.h"

#include <filesystem>
#include <system_error>

#include "batch/folder_listing.h"
#include "cli/decode_output.h"
#include "decode/product_name.h"

namespace kobrix::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFlushBytes = 1 << 16;

// Decodes names one at a time into a reused state and streams the records.
class Decoder {
  public:
    Decoder(DecodeFormat format, const TimeZoneSource& zone, const DateNames& names,
            std::ostream& out, std::ostream& err)
        : format_(format), out_(out), err_(err) {
        context_.zone = &zone;
        context_.localTimeCache = &cache_;
        context_.dateNames = &names;
        buffer_.reserve(kFlushBytes * 2);
        if (format_ == DecodeFormat::Csv) AppendCsvHeader(buffer_);
    }
    ~Decoder() { Flush(); }

    void Decode(std::string_view name) {
        state_.panel.Clear();
        DecodeProductName(name, context_, state_);
        if (!state_.failure.empty()) {
            Flush();
            err_ << "kobrix-cli: " << name << ": local time conversion failed: " << state_.failure
                 << '\n';
            conversionFailed_ = true;
        }
        switch (format_) {
            case DecodeFormat::Json:
                AppendJsonRecord(buffer_, state_);
                break;
            case DecodeFormat::Csv:
                AppendCsvRecord(buffer_, state_);
                break;
            case DecodeFormat::Text:
                AppendTextRecord(buffer_, state_);
                break;
        }
        if (buffer_.size() >= kFlushBytes) Flush();
    }

    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

    bool ConversionFailed() const { return conversionFailed_; }

  private:
    DecodeFormat format_;
    std::ostream& out_;
    std::ostream& err_;
    LocalTimeCache cache_;
    DecodeContext context_;
    DecodeState state_;
    std::string buffer_;
    bool conversionFailed_ = false;
};

}  // namespace

bool ListDirectory(const std::string& directory, std::vector<std::string>& names,
                   std::string& error) {
    return ListFolder(directory, names, error);
}

int RunDecodeCommand(const std::vector<std::string>& args, const TimeZoneSource& zone,
                     const DateNames& names, std::ostream& out, std::ostream& err) {
    DecodeFormat format = DecodeFormat::Text;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg.size() > 2 && arg.rfind("--", 0) == 0) {
            if (arg == "--json")
                format = DecodeFormat::Json;
            else if (arg == "--csv")
                format = DecodeFormat::Csv;
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
    Decoder decoder(format, zone, names, out, err);
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
            for (const std::string& name : listing) decoder.Decode(name);
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
            decoder.Decode(std::string_view(operand).substr(slash + 1));
            continue;
        }
        decoder.Decode(operand);
    }
    decoder.Flush();
    if (status == 0 && decoder.ConversionFailed()) status = 1;
    return status;
}

}  // namespace kobrix::cli
