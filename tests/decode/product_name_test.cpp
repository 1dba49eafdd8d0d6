#include "decode/product_name.h"

#include <set>

#include <gtest/gtest.h>

#include "tests/decode/decode_test_support.h"

namespace kobrix {
namespace {

using testing::Decoder;

constexpr const char* kSpiritPancam = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kOpportunityComposite = "1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg";

TEST(DecodeProductName, SpiritPancamLeftEye) {
    Decoder d;
    d.Decode(kSpiritPancam);
    const DecodedPanel& p = d.Panel();
    EXPECT_EQ(p.roverNumber, "2");
    EXPECT_EQ(p.roverName, "Spirit");
    EXPECT_EQ(p.location, "Gusev  Crater");
    EXPECT_EQ(p.camera, "PANCAM Panoramic Camera");
    EXPECT_EQ(p.clock, "241328935");
    EXPECT_EQ(p.productType, "EFF Full Frame EDR");
    EXPECT_EQ(p.site, "AU");
    EXPECT_EQ(p.drive, "CT");
    EXPECT_EQ(p.sequence, "P2582");
    EXPECT_EQ(p.category, "PMA and Remote Sensing instrument.");
    EXPECT_EQ(p.sequenceCode, "2582");
    EXPECT_EQ(p.sequenceRange, "PANCAM sequences.");
    EXPECT_EQ(p.eye, "Left Eye");
    EXPECT_EQ(p.filter, "Filter 5 535nm (20nm bandpass)");
    EXPECT_EQ(p.producer, "MIPL (OPGS) at JPL");
    EXPECT_EQ(p.version, "1");
    EXPECT_EQ(p.stereoHint, "This image may be part of a Stereo pair");
    EXPECT_EQ(p.stereoHintColour, HintColour::Green);
    EXPECT_EQ(p.sol, "1295");
    EXPECT_EQ(p.fileNameBox, kSpiritPancam);

    const DecodedProduct& r = d.Product();
    EXPECT_TRUE(r.NameValid);
    EXPECT_TRUE(r.ClockValid);
    EXPECT_EQ(r.ClockSeconds, 241328935);
    EXPECT_FALSE(r.IsCombined);
    EXPECT_EQ(r.BaseName, "2P241328935EFFAUCTP2582L5M1");
    EXPECT_EQ(r.FilterSetPrefix, "2P241328935EFFAUCTP2582L");
    EXPECT_EQ(r.LeftEyeName, "2P241328935EFFAUCTP2582L5M1");
    EXPECT_EQ(r.RightEyeName, "2P241328935EFFAUCTP2582R5M1");
    EXPECT_EQ(p.currentName, r.BaseName);
    EXPECT_EQ(p.leftEyeName, r.LeftEyeName);
    EXPECT_EQ(p.rightEyeName, r.RightEyeName);
    EXPECT_EQ(r.SequenceCategory, "P");
    EXPECT_EQ(r.SequenceNumber, 2582);
}

TEST(DecodeProductName, SmallLettersMatchExceptMixedCaseProductType) {
    Decoder d;
    d.Decode("2p241328935effauctp2582l5m1.jpg");
    EXPECT_EQ(d.Panel().camera, "PANCAM Panoramic Camera");
    EXPECT_EQ(d.Panel().productType, "eff Full Frame EDR");
    EXPECT_EQ(d.Panel().category, "PMA and Remote Sensing instrument.");
    EXPECT_EQ(d.Panel().eye, "Left Eye");
    EXPECT_EQ(d.Panel().filter, "Filter 5 535nm (20nm bandpass)");
    EXPECT_EQ(d.Panel().producer, "MIPL (OPGS) at JPL");
    EXPECT_EQ(d.Panel().site, "au");
    // Partner names put capitals in the eye position.
    EXPECT_EQ(d.Product().LeftEyeName, "2p241328935effauctp2582L5m1");
    EXPECT_EQ(d.Product().RightEyeName, "2p241328935effauctp2582R5m1");

    d.Decode("2P241328935EffAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().productType, "Eff");
    d.Decode("2P241328935XYZAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().productType, "XYZ");
}

TEST(DecodeProductName, CombinedOpportunityNavcam) {
    Decoder d;
    d.Decode(kOpportunityComposite);
    const DecodedPanel& p = d.Panel();
    EXPECT_EQ(p.roverNumber, "1");
    EXPECT_EQ(p.roverName, "Opportunity");
    EXPECT_EQ(p.location, "Meridiani  Planum");
    EXPECT_EQ(p.camera, "NAVCAM Navigational Camera");
    EXPECT_EQ(p.site, "86");
    EXPECT_EQ(p.drive, "15");
    EXPECT_EQ(p.sequenceCode, "1999");
    EXPECT_EQ(p.sequenceRange, "NAVCAM sequences.");
    EXPECT_EQ(p.filter, "NAVCAM, 400-1100nm");
    EXPECT_EQ(p.producer, "MIPL (OPGS) at JPL");
    EXPECT_EQ(p.eye, "COMBINED");
    EXPECT_EQ(p.stereoHint, "This image is a 3D anaglyph or colour composite");
    EXPECT_EQ(p.stereoHintColour, HintColour::Green);
    EXPECT_EQ(p.leftEyeName, "");
    EXPECT_EQ(p.rightEyeName, "");
    EXPECT_EQ(p.sol, "1278");
    // The record still names the partners.
    EXPECT_TRUE(d.Product().IsCombined);
    EXPECT_EQ(d.Product().BaseName, "1N241637757EFF8615P1999L0M1");
    EXPECT_EQ(d.Product().RightEyeName, "1N241637757EFF8615P1999R0M1");
    EXPECT_EQ(p.currentName, "1N241637757EFF8615P1999L0M1");
}

TEST(DecodeProductName, FilterTables) {
    Decoder d;
    struct Case {
        const char* name;
        const char* filter;
    };
    const Case cases[] = {
        {"2P241328935EFFAUCTP2582L0M1.jpg", "N/A"},
        {"2P241328935EFFAUCTP2582L9M1.jpg", "N/A"},
        {"2P241328935EFFAUCTP2582L1M1.jpg", "Filter 1 739nm (338nm bandpass)"},
        {"2P241328935EFFAUCTP2582R1M1.jpg", "Filter 1 436nm (37nm Shortpass)"},
        {"2P241328935EFFAUCTP2582r7M1.jpg", "Filter 7 1009nm (38nm bandpass)"},
        {"2P241328935EFFAUCTP2582L8M1.jpg", "Filter 8 440nm (20nm) Solar ND 5.0"},
        {"2M241328935EFFAUCTP2582M1M1.jpg", "MI window closed, 500-700nm"},
        {"2M241328935EFFAUCTP2582m2M1.jpg", "MI window open, 400-700nm"},
        {"2M241328935EFFAUCTP2582M3M1.jpg", "N/A"},
        // The camera overrides whatever the eye and filter gave.
        {"2F241328935EFFAUCTP2582L5M1.jpg", "Forward HAZCAM, 400-1100nm"},
        {"2r241328935EFFAUCTP2582M1M1.jpg", "Rear HAZCAM, 400-1100nm"},
        {"2n241328935EFFAUCTP2582R9M1.jpg", "NAVCAM, 400-1100nm"},
        // The PANCAM table follows the eye letter, not the camera.
        {"2M241328935EFFAUCTP2582L4M1.jpg", "Filter 4 601nm (17nm bandpass)"},
        {"2E241328935EFFAUCTP2582X4M1.jpg", "N/A"},
    };
    for (const Case& c : cases) {
        d.Decode(c.name);
        EXPECT_EQ(d.Panel().filter, c.filter) << c.name;
    }
}

TEST(DecodeProductName, SequenceRanges) {
    Decoder d;
    struct Case {
        const char* sequence;
        const char* code;
        const char* range;
    };
    const Case cases[] = {
        {"D2582", "2582", "000"},
        {"P0000", "0000", "0"},
        {"P4096", "4096", "Misc imaging setup/parm sequences."},
        {"P9999", "9999", "Misc imaging setup/parm sequences."},
        {"P0001", "0001", "Misc imaging setup/parm sequences."},
        {"P0499", "0499", "Misc imaging setup/parm sequences."},
        {"P0500", "0500", "Unallocated, for possible future use."},
        {"P1000", "1000", "HAZCAM sequences."},
        {"p1500", "1500", "NAVCAM sequences."},
        {"P2899", "2899", "PANCAM sequences."},
        {"P2900", "2900", "MI (microscopic imager) sequences."},
        {"P3999", "3999", "Mini-TES sequences."},
        {"P4095", "4095", "Misc. PMA actuation sequences (deploy)."},
        {"P-123", "-123", "0"},
        {"P12a4", "Invalid Sequence Integer", "0"},
        {"D12a4", "Invalid Sequence Integer", "000"},
    };
    for (const Case& c : cases) {
        d.Decode(std::string("2P241328935EFFAUCT") + c.sequence + "L5M1.jpg");
        EXPECT_EQ(d.Panel().sequenceCode, c.code) << c.sequence;
        EXPECT_EQ(d.Panel().sequenceRange, c.range) << c.sequence;
        EXPECT_EQ(d.Panel().sequence, c.sequence);
    }
}

TEST(DecodeProductName, CategoriesAndProducersInEitherCase) {
    Decoder d;
    d.Decode("2P241328935EFFAUCTw2582L5v1.jpg");
    EXPECT_EQ(d.Panel().category, "Seq. triggered by a communications window.");
    EXPECT_EQ(d.Panel().producer, "SSV Team (H. Vantor) at JPL");
    d.Decode("2P241328935EFFAUCTD2582L5J1.jpg");
    EXPECT_EQ(d.Panel().category, "IDD & RAT.");
    EXPECT_EQ(d.Panel().producer, "Johannes Gutenberg Univ. (Germany)");
    d.Decode("2P241328935EFFAUCTK2582L5X1.jpg");
    EXPECT_EQ(d.Panel().category, "(Spare)");
    EXPECT_EQ(d.Panel().producer, "Other");
}

TEST(DecodeProductName, UnknownCodesKeepThePreviousText) {
    Decoder d;
    d.Decode(kSpiritPancam);
    // Unknown category (Q), eye (Z) and producer (B) keep the last image's texts.
    d.Decode("2N241328935EFFAUCTQ2582Z5B1.jpg");
    EXPECT_EQ(d.Panel().camera, "NAVCAM Navigational Camera");
    EXPECT_EQ(d.Panel().category, "PMA and Remote Sensing instrument.");
    EXPECT_EQ(d.Panel().eye, "Left Eye");
    EXPECT_EQ(d.Panel().stereoHint, "This image may be part of a Stereo pair");
    EXPECT_EQ(d.Panel().producer, "MIPL (OPGS) at JPL");
    EXPECT_EQ(d.Panel().sequenceRange, "000");
    // The partner names follow the record: unknown eye, no partners.
    EXPECT_EQ(d.Product().LeftEyeName, "N/A");
    EXPECT_EQ(d.Product().RightEyeName, "N/A");

    // On an empty panel the same name leaves those texts empty.
    Decoder fresh;
    fresh.Decode("2N241328935EFFAUCTQ2582Z5B1.jpg");
    EXPECT_EQ(fresh.Panel().category, "");
    EXPECT_EQ(fresh.Panel().eye, "");
    EXPECT_EQ(fresh.Panel().stereoHintColour, HintColour::None);
}

TEST(DecodeProductName, MonoscopicEyes) {
    Decoder d;
    d.Decode("2M241328935EFFAUCTN2582M1M1.jpg");
    EXPECT_EQ(d.Panel().camera, "Microscopic Imager");
    EXPECT_EQ(d.Panel().eye, "Monoscopic");
    EXPECT_EQ(d.Panel().stereoHint, "Monoscopic image, Stereo View Impossible");
    EXPECT_EQ(d.Panel().stereoHintColour, HintColour::Red);
    EXPECT_EQ(d.Panel().leftEyeName, "N/A");
    d.Decode("2E241328935EFFAUCTN2582n1M1.jpg");
    EXPECT_EQ(d.Panel().eye, "N/A");
    EXPECT_EQ(d.Panel().camera, "EDLcam (Descent Imager)");
}

TEST(DecodeProductName, RightEyePartners) {
    Decoder d;
    d.Decode("2P241328935EFFAUCTP2582r5M1.jpg");
    EXPECT_EQ(d.Panel().eye, "Right Eye");
    EXPECT_EQ(d.Product().RightEyeName, "2P241328935EFFAUCTP2582r5M1");
    EXPECT_EQ(d.Product().LeftEyeName, "2P241328935EFFAUCTP2582L5M1");
}

TEST(DecodeProductName, ClockDashShiftsEveryLaterField) {
    Decoder d;
    d.Decode("2P-241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Product().ClockText, "241328935");
    EXPECT_EQ(d.Panel().clock, "241328935");
    EXPECT_EQ(d.Panel().productType, "EFF Full Frame EDR");
    EXPECT_EQ(d.Panel().sequence, "P2582");
    EXPECT_EQ(d.Panel().filter, "Filter 5 535nm (20nm bandpass)");
    EXPECT_EQ(d.Product().BaseName, "2P-241328935EFFAUCTP2582L5M1");
    EXPECT_EQ(d.Product().FilterSetPrefix, "2P-241328935EFFAUCTP2582L");
    EXPECT_EQ(d.Product().RightEyeName, "2P-241328935EFFAUCTP2582R5M1");
    EXPECT_EQ(d.Panel().sol, "1295");
    EXPECT_FALSE(d.Product().IsCombined);
}

TEST(DecodeProductName, NameOutsideTheScheme) {
    Decoder d;
    d.Decode(kSpiritPancam);
    d.Decode("Xmas.jpg");
    const DecodedPanel& p = d.Panel();
    for (const std::string* field : {&p.roverNumber, &p.sol, &p.location, &p.camera, &p.productType,
                                     &p.site, &p.drive, &p.category, &p.sequence, &p.sequenceRange,
                                     &p.eye, &p.filter, &p.producer, &p.version, &p.utcTime}) {
        EXPECT_EQ(*field, "Invalid");
    }
    EXPECT_EQ(p.sequenceCode, "0");
    EXPECT_EQ(p.clock, "Invalid Spacecraft Clock Value");
    // Rover name, hint and Martian values are what the earlier steps left.
    EXPECT_EQ(p.roverName, "Spirit");
    EXPECT_EQ(p.stereoHint, "This image may be part of a Stereo pair");
    EXPECT_FALSE(d.Product().NameValid);
    EXPECT_EQ(d.Product().ClockSeconds, 0);
    // The times of clock 0, for the rover still shown (Spirit).
    EXPECT_EQ(d.state.times.ImageTimeUtc, ClockEpochUtc);
    EXPECT_EQ(p.elapsedSols, "1424");
    EXPECT_EQ(p.localTime, "Saturday Jan 1 2000 11:58:55");
    EXPECT_EQ(d.Product().BaseName, "Xmas.jpg");
}

TEST(DecodeProductName, ZoneChangeBetweenUnnamedZonesRefreshesTheLocalTime) {
    Decoder d;
    LocalTimeCache cache;
    d.context.localTimeCache = &cache;
    d.zone.info.identity = "+9:00";
    d.zone.offsetSeconds = 9 * 3600;
    d.Decode("2P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().timeZone, "TimeZone UNKNOWN");
    const std::string ninth = d.Panel().localTime;
    d.zone.info.identity = "+5:30";
    d.zone.offsetSeconds = 5 * 3600 + 1800;
    d.Decode("2P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().timeZone, "TimeZone UNKNOWN");  // the same name ...
    EXPECT_NE(d.Panel().localTime, ninth);              // ... but the new zone's time
    EXPECT_EQ(d.Panel().localTime, "Saturday Aug 25 2007 21:17:50");
}

TEST(DecodeProductName, ValidityNeedsRoverAndKnownCamera) {
    Decoder d;
    d.Decode("3P241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_FALSE(d.Product().NameValid);
    EXPECT_EQ(d.Panel().camera, "Invalid");
    d.Decode("2Q241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_FALSE(d.Product().NameValid);
    d.Decode("1e241328935EFFAUCTP2582L5M1.jpg");
    EXPECT_TRUE(d.Product().NameValid);
}

TEST(DecodeProductName, ShortAndHostileNamesDoNotCrash) {
    Decoder d;
    for (std::string name : {std::string(), std::string("2"), std::string("2P"),
                             std::string("2P24"), std::string("2P-"), std::string(5000, 'x'),
                             std::string("2P\0\xff\xfe"
                                         "241328935",
                                         14),
                             std::string("2P241328935EFFAUCTP2582L")}) {
        d.Decode(name);
        EXPECT_EQ(d.Product().BaseName, name.substr(0, 27)) << name.size();
    }
    // A partial clock that is still a number is a valid clock.
    d.Decode("2P24");
    EXPECT_EQ(d.Panel().clock, "24");
    d.Decode("2P241328935EFFAUCTP2582L");
    EXPECT_EQ(d.Product().RightEyeName, "2P241328935EFFAUCTP2582R");
    EXPECT_EQ(d.Panel().filter, "N/A");
}

TEST(DecodeProductName, SignedAndMalformedClocks) {
    Decoder d;
    d.Decode("2P-00000010EFFAUCTP2582L5M1.jpg");  // dash is the clock dash, then "00000010E"
    EXPECT_EQ(d.Panel().clock, "Invalid Spacecraft Clock Value");
    d.Decode("2P+24132893EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().clock, "+24132893");
    EXPECT_EQ(d.Product().ClockSeconds, 24132893);
    d.Decode("2P+-2413289EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().clock, "Invalid Spacecraft Clock Value");
    d.Decode("2P 24132893EFFAUCTP2582L5M1.jpg");
    EXPECT_EQ(d.Panel().clock, "Invalid Spacecraft Clock Value");
}

TEST(DecodeProductName, PositionCaptionAndAutoshowPaths) {
    Decoder d;
    d.context.positionIndex = "3";
    d.context.positionCount = "12";
    d.context.directory = "/data/sol1295";
    d.context.stereoAutoshow = true;
    d.Decode(kSpiritPancam);
    EXPECT_EQ(d.Panel().positionCaption, "Using File 3 of 12");
    ASSERT_TRUE(d.state.autoshow.requested);
    EXPECT_EQ(d.state.autoshow.leftPicturePath, "/data/sol1295/2P241328935EFFAUCTP2582R5M1.jpg");
    EXPECT_EQ(d.state.autoshow.rightPicturePath, "/data/sol1295/2P241328935EFFAUCTP2582L5M1.jpg");

    d.Decode("2M241328935EFFAUCTN2582M1M1.jpg");
    EXPECT_EQ(d.state.autoshow.leftPicturePath, "/data/sol1295/N/A.jpg");  // never loads

    d.context.stereoAutoshow = false;
    d.Decode(kSpiritPancam);
    EXPECT_FALSE(d.state.autoshow.requested);
}

TEST(DecodeProductName, FailedLocalConversionStopsAfterTheMartianTimes) {
    Decoder d;
    d.Decode("1N241637757EFF8615P1999L0M1.jpg");
    d.zone.failConversion = true;
    d.Decode("Xmas.jpg");
    EXPECT_EQ(d.state.failure, "The parameter is incorrect.");
    // Steps up to the mission times ran, the invalid overwrite and partner names did not.
    EXPECT_EQ(d.Panel().clock, "Invalid Spacecraft Clock Value");
    EXPECT_EQ(d.Panel().utcTime, "Saturday Jan 1 2000 11:58:55");
    EXPECT_EQ(d.Panel().roverNumber, "1");
    EXPECT_EQ(d.Panel().currentName, "1N241637757EFF8615P1999L0M1");
    d.zone.failConversion = false;
    d.Decode("Xmas.jpg");
    EXPECT_TRUE(d.state.failure.empty());
    EXPECT_EQ(d.Panel().roverNumber, "Invalid");
}

TEST(DecodeProductName, PanelFieldsNameEveryControlOnce) {
    std::set<std::string> controls;
    for (const PanelField& f : PanelFields()) EXPECT_TRUE(controls.insert(f.control).second);
    EXPECT_EQ(controls.size(), 35u);
    Decoder d;
    d.Decode(kSpiritPancam);
    d.state.panel.Clear();
    for (const PanelField& f : PanelFields()) EXPECT_TRUE((d.state.panel.*f.member).empty());
}

}  // namespace
}  // namespace kobrix
