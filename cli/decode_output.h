#pragma once

#include <string>
#include <string_view>

#include "decode/product_name.h"

namespace kobrix::cli {

enum class DecodeFormat { Text, Json, Csv };

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
