#include "decode/product_name.h"

#include <array>
#include <charconv>

namespace kobrix {
namespace {

struct CodeText {
    char code;
    const char* text;
};

constexpr CodeText kCameras[] = {
    {'F', "Forward HAZCAM"},
    {'R', "Rear HAZCAM"},
    {'N', "NAVCAM Navigational Camera"},
    {'P', "PANCAM Panoramic Camera"},
    {'M', "Microscopic Imager"},
    {'E', "EDLcam (Descent Imager)"},
};

struct ProductType {
    const char* upper;
    const char* lower;
    const char* text;
};
constexpr ProductType kProductTypes[] = {
    {"EFF", "eff", "Full Frame EDR"},       {"ESF", "esf", "Sub Frame EDR"},
    {"EDN", "edn", "Downsampled EDR"},      {"ETH", "eth", "Thumbnail EDR"},
    {"ERS", "ers", "Row Summed EDR"},       {"ECS", "ecs", "Column Summed EDR"},
    {"ERP", "erp", "Reference Pixels EDR"}, {"EHG", "ehg", "Histogram EDR"},
};

constexpr CodeText kCategories[] = {
    {'C', "Cruise."},
    {'D', "IDD & RAT."},
    {'E', "Engineering."},
    {'F', "Flight Software."},
    {'G', "(Spare)"},
    {'K', "(Spare)"},
    {'M', "Master. (Surface only)"},
    {'N', "In-Situ instr. (APXS, MB, MI.)"},
    {'P', "PMA and Remote Sensing instrument."},
    {'R', "Rover Driving."},
    {'S', "Submaster."},
    {'T', "Test."},
    {'W', "Seq. triggered by a communications window."},
    {'X', "Contingency."},
    {'Y', "(Spare)"},
    {'Z', "SCM Sequences."},
};

constexpr CodeText kProducers[] = {
    {'A', "Arizona State University"},
    {'C', "Cornell University"},
    {'F', "USGS at Flagstaff"},
    {'J', "Johannes Gutenberg Univ. (Germany)"},
    {'M', "MIPL (OPGS) at JPL"},
    {'N', "NASA Ames Research (P. Quellan)"},
    {'P', "Max Plank Institute (Germany)"},
    {'S', "SOAS at JPL"},
    {'U', "University of Arizona"},
    {'V', "SSV Team (H. Vantor) at JPL"},
    {'X', "Other"},
};

constexpr const char* kLeftEyeFilters[8] = {
    "Filter 1 739nm (338nm bandpass)", "Filter 2 753nm (20nm bandpass)",
    "Filter 3 673nm (16nm bandpass)",  "Filter 4 601nm (17nm bandpass)",
    "Filter 5 535nm (20nm bandpass)",  "Filter 6 482nm (30nm bandpass)",
    "Filter 7 432nm (32nm bandpass)",  "Filter 8 440nm (20nm) Solar ND 5.0",
};
constexpr const char* kRightEyeFilters[8] = {
    "Filter 1 436nm (37nm Shortpass)", "Filter 2 754nm (20nm bandpass)",
    "Filter 3 803nm (20nm bandpass)",  "Filter 4 864nm (17nm bandpass)",
    "Filter 5 904nm (26nm bandpass)",  "Filter 6 934nm (25nm bandpass)",
    "Filter 7 1009nm (38nm bandpass)", "Filter 8 880nm (20nm) Solar ND 5.0",
};

constexpr const char* kInvalid = "Invalid";
constexpr const char* kStereoHint = "This image may be part of a Stereo pair";
constexpr const char* kMonoHint = "Monoscopic image, Stereo View Impossible";
constexpr const char* kCombinedHint = "This image is a 3D anaglyph or colour composite";

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A one-character field matched in either case against a table of capitals.
const char* LookUpEitherCase(std::string_view field, std::span<const CodeText> table) {
    if (field.size() != 1) return nullptr;
    const char c = Upper(field[0]);
    for (const CodeText& entry : table) {
        if (entry.code == c) return entry.text;
    }
    return nullptr;
}

bool IsOneOf(std::string_view field, char upper) {
    return field.size() == 1 && Upper(field[0]) == upper;
}

// Signed decimal integer: an optional sign and at least one digit, nothing else.
bool ParseInteger(std::string_view text, std::int32_t& value) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first == last) return false;
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-') return false;
    }
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last;
}

void AppendWhole(std::string& out, double value) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<std::int64_t>(value)).ptr;
    out.append(buf, static_cast<std::size_t>(end - buf));
}

void SetWhole(std::string& out, double value) {
    out.clear();
    AppendWhole(out, value);
}

// Left to right over the name; a position past the end gives an empty field.
class Cursor {
  public:
    explicit Cursor(std::string_view name) : name_(name) {}
    std::string_view Take(std::size_t count) {
        std::string_view field;
        if (pos_ < name_.size()) field = name_.substr(pos_, count);
        pos_ += count;
        return field;
    }
    std::size_t Position() const { return pos_; }
    std::string_view Consumed() const { return name_.substr(0, std::min(pos_, name_.size())); }
    bool NextIs(char c) const { return pos_ < name_.size() && name_[pos_] == c; }

  private:
    std::string_view name_;
    std::size_t pos_ = 0;
};

void ShowCombined(DecodedPanel& panel) {
    panel.eye = "COMBINED";
    panel.stereoHint = kCombinedHint;
    panel.stereoHintColour = HintColour::Green;
    panel.rightEyeName.clear();
    panel.leftEyeName.clear();
}

void ShowRange(std::string& range, std::int32_t n) {
    range = "0";
    if (0 < n && n < 500) range = "Misc imaging setup/parm sequences.";
    if (n > 0) range = "Misc imaging setup/parm sequences.";
    if (499 < n && n < 1000) range = "Unallocated, for possible future use.";
    if (999 < n && n < 1500) range = "HAZCAM sequences.";
    if (1499 < n && n < 2000) range = "NAVCAM sequences.";
    if (1999 < n && n < 2900) range = "PANCAM sequences.";
    if (2899 < n && n < 3000) range = "MI (microscopic imager) sequences.";
    if (2999 < n && n < 4000) range = "Mini-TES sequences.";
    if (3999 < n && n < 4096) range = "Misc. PMA actuation sequences (deploy).";
}

const char* FilterText(std::string_view eye, std::string_view filter, std::string_view camera) {
    const char* text = "N/A";
    const bool digit = filter.size() == 1 && filter[0] >= '1' && filter[0] <= '8';
    const std::size_t index = digit ? static_cast<std::size_t>(filter[0] - '1') : 0;
    if (digit && IsOneOf(eye, 'L')) text = kLeftEyeFilters[index];
    if (digit && IsOneOf(eye, 'R')) text = kRightEyeFilters[index];
    if (IsOneOf(eye, 'M')) {
        if (filter == "1") text = "MI window closed, 500-700nm";
        if (filter == "2") text = "MI window open, 400-700nm";
    }
    // The camera has the last word, whatever the filter character.
    if (IsOneOf(camera, 'F')) text = "Forward HAZCAM, 400-1100nm";
    if (IsOneOf(camera, 'R')) text = "Rear HAZCAM, 400-1100nm";
    if (IsOneOf(camera, 'N')) text = "NAVCAM, 400-1100nm";
    return text;
}

void ShowMissionTimes(const DecodeContext& context, DecodeState& state) {
    DecodedPanel& panel = state.panel;
    MissionTimes& times = state.times;
    ComputeMissionTimes(state.product.ClockSeconds, state.product.RoverDigit, times);
    panel.utcTime.clear();
    AppendEarthTime(panel.utcTime, times.ImageTimeUtc, *context.dateNames);
    SetWhole(panel.sol, times.SolNumber);

    times.MarsRoverNumber = panel.roverNumber;
    ComputeMarsElapsed(panel.roverNumber, times.SecondsFromLanding, times.Elapsed,
                       times.LocalSolarTime);
    const MarsElapsed& e = times.Elapsed;
    SetWhole(panel.elapsedSols, e.sols);
    SetWhole(panel.elapsedHours, e.hours);
    SetWhole(panel.elapsedMinutes, e.minutes);
    SetWhole(panel.elapsedSeconds, e.seconds);
    SetWhole(panel.totalSols, e.sols);
    SetWhole(panel.totalHours, e.totalHours);
    SetWhole(panel.totalMinutes, e.totalMinutes);
    SetWhole(panel.totalSeconds, e.totalSeconds);
    panel.martianLocalTime = times.LocalSolarTime.text;
}

void ShowInvalid(DecodedPanel& panel) {
    for (std::string* field :
         {&panel.roverNumber, &panel.sol, &panel.location, &panel.camera, &panel.productType,
          &panel.site, &panel.drive, &panel.category, &panel.sequence, &panel.sequenceRange,
          &panel.eye, &panel.filter, &panel.producer, &panel.version, &panel.utcTime}) {
        *field = kInvalid;
    }
    panel.sequenceCode = "0";
}

void BuildPartnerNames(DecodedProduct& product, std::size_t eyePosition) {
    product.LeftEyeName = "N/A";
    product.RightEyeName = "N/A";
    if (IsOneOf(product.EyeLetter, 'L')) {
        product.LeftEyeName = product.BaseName;
        product.LeftEyeName[eyePosition] = 'L';
        product.RightEyeName = product.BaseName;
        product.RightEyeName[eyePosition] = 'R';
    } else if (IsOneOf(product.EyeLetter, 'R')) {
        product.RightEyeName = product.BaseName;
        product.LeftEyeName = product.BaseName;
        product.LeftEyeName[eyePosition] = 'L';
    }
}

void BuildAutoshow(const DecodeContext& context, DecodeState& state) {
    StereoAutoshowRequest& request = state.autoshow;
    request.requested = true;
    request.leftPicturePath.assign(context.directory);
    request.leftPicturePath.push_back(context.separator);
    request.leftPicturePath += state.product.RightEyeName;
    request.leftPicturePath += ".jpg";
    request.rightPicturePath.assign(context.directory);
    request.rightPicturePath.push_back(context.separator);
    request.rightPicturePath += state.product.LeftEyeName;
    request.rightPicturePath += ".jpg";
}

}  // namespace

Rgb HintRgb(HintColour colour) {
    switch (colour) {
        case HintColour::Green:
            return {0, 128, 0};
        case HintColour::Red:
            return {255, 0, 0};
        case HintColour::None:
            break;
    }
    return {0, 0, 0};
}

std::string_view HintColourName(HintColour colour) {
    switch (colour) {
        case HintColour::Green:
            return "green";
        case HintColour::Red:
            return "red";
        case HintColour::None:
            break;
    }
    return "";
}

void DecodedPanel::Clear() {
    for (const PanelField& field : PanelFields()) (this->*field.member).clear();
    stereoHintColour = HintColour::None;
}

std::span<const PanelField> PanelFields() {
    static constexpr PanelField kFields[] = {
        {"Label6", &DecodedPanel::positionCaption},
        {"Edit2", &DecodedPanel::fileNameBox},
        {"Label2", &DecodedPanel::roverNumber},
        {"Label76", &DecodedPanel::roverName},
        {"Label44", &DecodedPanel::sol},
        {"Label36", &DecodedPanel::location},
        {"Label9", &DecodedPanel::camera},
        {"Label10", &DecodedPanel::clock},
        {"Label63", &DecodedPanel::elapsedSols},
        {"Label61", &DecodedPanel::elapsedHours},
        {"Label59", &DecodedPanel::elapsedMinutes},
        {"Label57", &DecodedPanel::elapsedSeconds},
        {"Label49", &DecodedPanel::totalSols},
        {"Label51", &DecodedPanel::totalHours},
        {"Label53", &DecodedPanel::totalMinutes},
        {"Label55", &DecodedPanel::totalSeconds},
        {"Label47", &DecodedPanel::martianLocalTime},
        {"Label39", &DecodedPanel::utcTime},
        {"Label41", &DecodedPanel::timeZone},
        {"Label5", &DecodedPanel::localTime},
        {"Label11", &DecodedPanel::productType},
        {"Label12", &DecodedPanel::site},
        {"Label13", &DecodedPanel::drive},
        {"Label14", &DecodedPanel::sequence},
        {"Label37", &DecodedPanel::category},
        {"Label34", &DecodedPanel::sequenceCode},
        {"Label33", &DecodedPanel::sequenceRange},
        {"Label22", &DecodedPanel::filter},
        {"Label15", &DecodedPanel::eye},
        {"Label23", &DecodedPanel::producer},
        {"Label24", &DecodedPanel::version},
        {"Label40", &DecodedPanel::stereoHint},
        {"Label54", &DecodedPanel::currentName},
        {"Label56", &DecodedPanel::rightEyeName},
        {"Label58", &DecodedPanel::leftEyeName},
    };
    return kFields;
}

void DecodeProductName(std::string_view fileName, const DecodeContext& context,
                       DecodeState& state) {
    DecodedProduct& product = state.product;
    DecodedPanel& panel = state.panel;
    state.failure.clear();
    state.autoshow.requested = false;
    state.autoshow.leftPicturePath.clear();
    state.autoshow.rightPicturePath.clear();

    // 1. Time zone name; a new zone makes the cached offsets stale.
    const TimeZoneInfo zoneInfo = context.zone->CurrentZone();
    panel.timeZone.assign(TimeZoneNameFor(zoneInfo));
    state.times.TimeZoneName = panel.timeZone;
    if (context.localTimeCache) {
        context.localTimeCache->SetZoneKey(zoneInfo.identity.empty() ? panel.timeZone
                                                                     : zoneInfo.identity);
    }

    // 2. Position caption.
    panel.positionCaption = "Using File ";
    panel.positionCaption += context.positionIndex;
    panel.positionCaption += " of ";
    panel.positionCaption += context.positionCount;

    // 3. The name into the file-name box; start at the first character.
    panel.fileNameBox.assign(fileName);
    Cursor cursor(fileName);

    // 4. Rover.
    product.RoverDigit.assign(cursor.Take(1));
    if (product.RoverDigit == "1") {
        panel.location = "Meridiani  Planum";
        panel.roverNumber = "1";
        panel.roverName = "Opportunity";
    } else if (product.RoverDigit == "2") {
        panel.location = "Gusev  Crater";
        panel.roverNumber = "2";
        panel.roverName = "Spirit";
    }

    // 5. Camera.
    product.CameraLetter.assign(cursor.Take(1));
    if (const char* camera = LookUpEitherCase(product.CameraLetter, kCameras)) {
        panel.camera = camera;
    }
    product.NameValid = (product.RoverDigit == "1" || product.RoverDigit == "2") &&
                        LookUpEitherCase(product.CameraLetter, kCameras) != nullptr;

    // 6. Clock, after an optional dash.
    if (cursor.NextIs('-')) cursor.Take(1);
    product.ClockText.assign(cursor.Take(9));
    product.ClockValid = ParseInteger(product.ClockText, product.ClockSeconds);
    if (product.ClockValid) {
        panel.clock = product.ClockText;
    } else {
        product.ClockSeconds = 0;
        panel.clock = "Invalid Spacecraft Clock Value";
    }

    // 7. Product type: all capitals or all small letters.
    product.ProductTypeCode.assign(cursor.Take(3));
    panel.productType = product.ProductTypeCode;
    for (const ProductType& type : kProductTypes) {
        if (product.ProductTypeCode == type.upper || product.ProductTypeCode == type.lower) {
            panel.productType += ' ';
            panel.productType += type.text;
            break;
        }
    }

    // 8. Site and drive.
    product.SiteCode.assign(cursor.Take(2));
    panel.site = product.SiteCode;
    product.DriveCode.assign(cursor.Take(2));
    panel.drive = product.DriveCode;

    // 9. Command sequence.
    product.SequenceText.assign(cursor.Take(5));
    const std::string_view sequence = product.SequenceText;
    product.SequenceCategory.assign(sequence.substr(0, std::min<std::size_t>(1, sequence.size())));
    product.SequenceNumberText.assign(sequence.size() > 1 ? sequence.substr(1)
                                                          : std::string_view{});
    panel.sequence = product.SequenceText;
    panel.sequenceCode = product.SequenceNumberText;
    if (const char* category = LookUpEitherCase(product.SequenceCategory, kCategories)) {
        panel.category = category;
    }
    panel.sequenceRange = "000";
    if (!ParseInteger(product.SequenceNumberText, product.SequenceNumber)) {
        panel.sequenceCode = "Invalid Sequence Integer";
        product.SequenceNumber = 0;
    }
    if (IsOneOf(product.SequenceCategory, 'P'))
        ShowRange(panel.sequenceRange, product.SequenceNumber);

    // 10. Eye.
    const std::size_t eyePosition = cursor.Position();
    product.EyeLetter.assign(cursor.Take(1));
    if (IsOneOf(product.EyeLetter, 'L') || IsOneOf(product.EyeLetter, 'R')) {
        panel.eye = IsOneOf(product.EyeLetter, 'L') ? "Left Eye" : "Right Eye";
        panel.stereoHint = kStereoHint;
        panel.stereoHintColour = HintColour::Green;
    } else if (IsOneOf(product.EyeLetter, 'M') || IsOneOf(product.EyeLetter, 'N')) {
        panel.eye = IsOneOf(product.EyeLetter, 'M') ? "Monoscopic" : "N/A";
        panel.stereoHint = kMonoHint;
        panel.stereoHintColour = HintColour::Red;
    }
    // 12 (prefix through the eye letter, for the colour composite tool).
    product.FilterSetPrefix.assign(cursor.Consumed());

    // 11. Filter.
    product.FilterDigit.assign(cursor.Take(1));
    panel.filter = FilterText(product.EyeLetter, product.FilterDigit, product.CameraLetter);

    // 13. Producer.
    product.ProducerLetter.assign(cursor.Take(1));
    if (const char* producer = LookUpEitherCase(product.ProducerLetter, kProducers)) {
        panel.producer = producer;
    }

    // 14. Version.
    product.VersionChar.assign(cursor.Take(1));
    panel.version = product.VersionChar;
    product.BaseName.assign(cursor.Consumed());

    // 15. Combined marker.
    product.IsCombined = cursor.Take(1) == "-";
    if (product.IsCombined) ShowCombined(panel);

    // 16. Mission times; a failed local-time conversion ends the decode here.
    ShowMissionTimes(context, state);
    const LocalTimeResult local =
        UtcToLocal(state.times.ImageTimeUtc, *context.zone, context.localTimeCache);
    if (!local.ok) {
        state.failure = local.error.empty() ? "Local time conversion failed." : local.error;
        return;
    }
    state.times.ImageTimeLocal = local.local;
    panel.localTime.clear();
    AppendEarthTime(panel.localTime, local.local, *context.dateNames);

    // 17. A name outside the scheme.
    if (!product.NameValid) ShowInvalid(panel);

    // 18. Partner names.
    BuildPartnerNames(product, eyePosition);
    panel.currentName = product.BaseName;
    panel.rightEyeName = product.RightEyeName;
    panel.leftEyeName = product.LeftEyeName;

    // 19. A combined picture has no partners to show.
    if (product.IsCombined) ShowCombined(panel);

    // 21. Stereo autoshow (the copies to the large image page are the panel texts).
    if (context.stereoAutoshow) BuildAutoshow(context, state);
}

}  // namespace kobrix
