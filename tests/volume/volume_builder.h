#pragma once

#include <filesystem>
#include <string>

#include "tests/archive/archive_builder.h"

namespace kobrix::test {

// Clocks in the middle of Spirit's sols 100 and 101 as the decoder counts them.
inline constexpr int kSol100Clock = 135251689;
inline constexpr int kSol101Clock = kSol100Clock + 88775;

inline const std::string kSol100Edr = "2N135251689EFF0000P1234L0M1.IMG";
inline const std::string kSol100EdrRight = "2N135251689EFF0000P1234R0M1.IMG";
inline const std::string kSol100Rad = "2N135251689RAD0000P1234L0M1.IMG";
inline const std::string kSol100Linearized = "2N135251689FFL0000P1234L0M1.IMG";
inline const std::string kSol100Other = "2N135251999RAD0000P1234L0M1.IMG";
inline const std::string kSol101Edr = "2P135340464ESF0000P2345L2M1";  // raw .IMG with a .LBL
inline const std::string kSol101Rad = "2P135340464RAD0000P2345L2M1.IMG";

// A small archive volume: NAME/data/sol0100/{edr,rdr} and NAME/data/sol0101/{edr,rdr}, with
// attached PDS3 labels (with and without a VICAR header) and a detached label.
// Returns the root.
inline std::string BuildVolume(const ScratchDir& dir, const std::string& name = "mer2no_0xxx") {
    const std::string root = dir / name;
    for (const char* sub :
         {"data/sol0100/edr", "data/sol0100/rdr", "data/sol0101/edr", "data/sol0101/rdr"}) {
        std::filesystem::create_directories(root + "/" + sub);
    }
    ArchiveLayout layout;
    layout.width = 8;
    layout.height = 6;
    for (int i = 0; i < 48; ++i) layout.samples.push_back(40 * i);
    layout.extraLabel = kFactLines;
    const auto put = [&](const std::string& where, const std::string& file, bool vicar) {
        WriteBytes(root + "/" + where + "/" + file, AttachedPds3(layout, vicar));
    };
    put("data/sol0100/edr", kSol100Edr, true);
    put("data/sol0100/edr", kSol100EdrRight, true);
    put("data/sol0100/rdr", kSol100Rad, false);
    put("data/sol0100/rdr", kSol100Linearized, false);
    put("data/sol0100/rdr", kSol100Other, false);
    put("data/sol0101/rdr", kSol101Rad, false);
    const std::string sol101edr = root + "/data/sol0101/edr";
    const std::string label =
        "PDS_VERSION_ID = PDS3\r\nRECORD_TYPE = FIXED_LENGTH\r\nRECORD_BYTES = 16\r\n"
        "^IMAGE = (\"" +
        kSol101Edr + ".IMG\", 1)\r\n" + layout.extraLabel + Pds3ImageObject(layout);
    WriteBytes(sol101edr + "/" + kSol101Edr + ".LBL",
               std::vector<std::uint8_t>(label.begin(), label.end()));
    WriteBytes(sol101edr + "/" + kSol101Edr + ".IMG", EncodeSamples(layout));
    return root;
}

inline std::string ReadAll(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace kobrix::test
