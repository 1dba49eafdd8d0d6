#pragma once

#include <string>
#include <string_view>

#include "decode/product_name.h"

namespace kobrix::cli {

enum class DecodeFormat { Text, Json, Csv };

// Decodes names, each on an empty panel, and appends their records in one format.
class RecordMaker {
  public:
    RecordMaker(DecodeFormat format, const TimeZoneSource& zone, const DateNames& names);
    // Decodes `name` into State() without writing anything.
    const DecodeState& Decode(std::string_view name);
    // Appends the record of the last decode to `out`.
    void AppendRecord(std::string& out) const;
    // Both; false when the local-time conversion failed (the record is written all the same).
    bool Append(std::string_view name, std::string& out) {
        Decode(name);
        AppendRecord(out);
        return state_.failure.empty();
    }
    const std::string& Failure() const { return state_.failure; }

  private:
    DecodeFormat format_;
    LocalTimeCache cache_;
    DecodeContext context_;
    DecodeState state_;
};

// One decoded name in each output format, appended to `out`.
void AppendJsonRecord(std::string& out, const DecodeState& state);
void AppendCsvHeader(std::string& out);
void AppendCsvRecord(std::string& out, const DecodeState& state);
void AppendTextRecord(std::string& out, const DecodeState& state);

// JSON string contents: quotes, backslashes and control characters escaped; bytes that are
// not UTF-8 are written as \u00XX (their Latin-1 meaning) so every line stays valid JSON.
void AppendJsonString(std::string& out, std::string_view text);
void AppendCsvField(std::string& out, std::string_view text);

}  // namespace kobrix::cli
