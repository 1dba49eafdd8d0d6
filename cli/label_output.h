#pragma once

#include <string>

#include "cli/decode_output.h"

namespace kobrix::cli {

// `decode --labels`: adds the label facts of the archive file at `path` to the record that
// ends `out` (a "label" object in JSON, the label_* columns in CSV, KEY = value rows in the
// text). Records of other files are left as they are, except that CSV rows get the columns
// empty. Reads the label only. Returns false with `error` set when `path` names an archive
// file whose label cannot be read (JSON then says "label":null).
bool AppendLabelFacts(DecodeFormat format, const std::string& path, std::string& out,
                      std::string& error);

// Adds the label_* columns to the CSV header row that ends `out`.
void AppendLabelCsvHeader(std::string& out);

}  // namespace kobrix::cli
