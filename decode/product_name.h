#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "decode/date_time.h"
#include "decode/mission_time.h"
#include "decode/time_zone.h"

namespace kobrix {

// The record of the last decoded product name.
struct DecodedProduct {
    std::string RoverDigit;
    std::string CameraLetter;
    std::string ClockText;
    std::int32_t ClockSeconds = 0;
    bool ClockValid = false;
    std::string ProductTypeCode;
    std::string SiteCode;
    std::string DriveCode;
    std::string SequenceText;
    std::string SequenceCategory;
    std::string SequenceNumberText;
    std::int32_t SequenceNumber = 0;
    std::string EyeLetter;
    std::string FilterDigit;
    std::string ProducerLetter;
    std::string VersionChar;
    bool IsCombined = false;
    bool NameValid = false;
    std::string BaseName;
    std::string FilterSetPrefix;
    std::string LeftEyeName;
    std::string RightEyeName;
};

enum class HintColour { None, Green, Red };
struct Rgb {
    int red, green, blue;
};
Rgb HintRgb(HintColour colour);                      // green 0,128,0; red 255,0,0
std::string_view HintColourName(HintColour colour);  // "green", "red" or ""

// The texts of the main window's decoded-fields panel (and the two captions the decode
// sets). Each member notes the control that shows it.
struct DecodedPanel {
    std::string positionCaption;   // Label6
    std::string fileNameBox;       // Edit2
    std::string roverNumber;       // Label2
    std::string roverName;         // Label76
    std::string sol;               // Label44
    std::string location;          // Label36
    std::string camera;            // Label9
    std::string clock;             // Label10
    std::string elapsedSols;       // Label63
    std::string elapsedHours;      // Label61
    std::string elapsedMinutes;    // Label59
    std::string elapsedSeconds;    // Label57
    std::string totalSols;         // Label49
    std::string totalHours;        // Label51
    std::string totalMinutes;      // Label53
    std::string totalSeconds;      // Label55
    std::string martianLocalTime;  // Label47
    std::string utcTime;           // Label39
    std::string timeZone;          // Label41
    std::string localTime;         // Label5
    std::string productType;       // Label11
    std::string site;              // Label12
    std::string drive;             // Label13
    std::string sequence;          // Label14
    std::string category;          // Label37
    std::string sequenceCode;      // Label34
    std::string sequenceRange;     // Label33
    std::string filter;            // Label22
    std::string eye;               // Label15
    std::string producer;          // Label23
    std::string version;           // Label24
    std::string stereoHint;        // Label40
    HintColour stereoHintColour = HintColour::None;
    std::string currentName;   // Label54
    std::string rightEyeName;  // Label56
    std::string leftEyeName;   // Label58

    void Clear();
};

// Control name and member of every text of the panel, in panel order, so that a window can
// fill its labels in one loop.
struct PanelField {
    const char* control;
    std::string DecodedPanel::*member;
};
std::span<const PanelField> PanelFields();

// What the decode reads from the browsing state of the main window.
struct DecodeContext {
    const TimeZoneSource* zone = nullptr;      // required
    LocalTimeCache* localTimeCache = nullptr;  // optional; speeds up batches
    const DateNames* dateNames = &DateNames::English();
    std::string_view positionIndex;  // "Using File " + index + " of " + count
    std::string_view positionCount;
    std::string_view directory;  // of the file list, for the partner paths
    bool stereoAutoshow = false;
    char separator = '/';
};

// Stereo autoshow: the two pictures the stereo viewer should try to load, crossed (the right
// eye on the left). The window loads them and runs the Stereo action, or moves the selection.
struct StereoAutoshowRequest {
    bool requested = false;
    std::string leftPicturePath;   // directory + separator + RightEyeName + ".jpg"
    std::string rightPicturePath;  // directory + separator + LeftEyeName + ".jpg"
};

// Everything a decode produces. Reused across decodes: the panel texts are the "before" and
// then the "after", which is how unknown codes keep the previous image's text.
struct DecodeState {
    DecodedProduct product;
    MissionTimes times;
    DecodedPanel panel;
    StereoAutoshowRequest autoshow;
    // Set when the system's local time conversion failed: the decode stopped there and
    // the panel holds what was shown before that point. The window shows it in an error box.
    std::string failure;
};

// Decodes a product file name (no directory, extension included) into `state`.
void DecodeProductName(std::string_view fileName, const DecodeContext& context, DecodeState& state);

}  // namespace kobrix
