#include <gtest/gtest.h>

#include "archive/archive_file.h"
#include "imaging/image_error.h"
#include "tests/volume/volume_builder.h"
#include "volume/whole_label.h"

namespace kobrix {
namespace {

// The bytes of an attached label up to its END line, as the builder writes them.
std::string LabelPart(const std::string& file) {
    const std::size_t end = file.find("\r\nEND\r\n");
    return file.substr(0, end + 7);
}

TEST(WholeLabel, AnAttachedLabelEndsWithItsEndLine) {
    test::ScratchDir dir;
    test::ArchiveLayout layout;
    for (int i = 0; i < 12; ++i) layout.samples.push_back(i);
    layout.extraLabel = test::kFactLines;
    for (const bool vicar : {false, true}) {
        const std::string path = test::Put(dir, "a.IMG", test::AttachedPds3(layout, vicar));
        const WholeLabel label = ReadWholeLabel(path);
        EXPECT_EQ(label.format, ArchiveFormat::Pds3);
        EXPECT_EQ(label.path, path);
        EXPECT_EQ(label.text, LabelPart(test::ReadAll(path))) << vicar;
        EXPECT_EQ(label.text.substr(label.text.size() - 7), "\r\nEND\r\n");
    }
}

TEST(WholeLabel, AnEndInsideAStringOrCommentDoesNotEndTheLabel) {
    test::ScratchDir dir;
    test::ArchiveLayout layout;
    for (int i = 0; i < 12; ++i) layout.samples.push_back(i);
    layout.extraLabel =
        "DESCRIPTION = \"first line\r\nEND\r\nlast line\"\r\n/* a comment\r\nEND\r\n*/\r\n";
    const std::string path = test::Put(dir, "a.IMG", test::AttachedPds3(layout, false));
    const WholeLabel label = ReadWholeLabel(path);
    EXPECT_NE(label.text.find("END_OBJECT = IMAGE\r\nEND\r\n"), std::string::npos);
    EXPECT_EQ(label.text.find("END_OBJECT"), label.text.size() - 25);
}

// An attached label (CRLF lines, 64-byte records) whose "END\r\n" and the padding after it
// are `ending` and then `pad` up to the samples, which stay where they were: a note above
// gives up the room the ending needs.
std::string EndingIn(const test::ScratchDir& dir, const std::string& ending, char pad,
                     test::ArchiveLayout layout) {
    layout.width = 32;
    layout.height = 2;
    layout.samples.resize(64, 100);
    layout.extraLabel = test::kFactLines + "NOTE = \"" + std::string(80, 'x') + "\"\r\n";
    const std::vector<std::uint8_t> bytes = test::AttachedPds3(layout, false);
    std::string file(bytes.begin(), bytes.end());
    const std::size_t samples = file.size() - test::EncodeSamples(layout).size();
    std::size_t end = file.find("\r\nEND\r\n") + 2;
    if (ending.size() > samples - end) {
        const std::size_t more = ending.size() - (samples - end);
        file.erase(file.find("xxx"), more);
        end -= more;
        file.insert(end, more, ' ');
    }
    file.replace(end, samples - end, ending + std::string(samples - end - ending.size(), pad));
    return test::Put(dir, "padded.IMG", std::vector<std::uint8_t>(file.begin(), file.end()));
}

TEST(WholeLabel, EndsWhereTheReaderFindsTheEnd) {
    RegisterArchiveReader();
    test::ScratchDir dir;
    test::ArchiveLayout layout;
    const std::string plain = EndingIn(dir, "END\r\n", ' ', layout);
    const std::string label = ReadWholeLabel(plain).text;
    ASSERT_EQ(label.substr(label.size() - 7), "\r\nEND\r\n");
    const std::string above = label.substr(0, label.size() - 5);  // up to END
    const Bitmap24 picture = ReadArchivePicture(plain);

    // END padded to the record with NULs, or with spaces and then samples that begin with a
    // line feed (no line break of this label), and no line break: up to END itself.
    EXPECT_EQ(ReadWholeLabel(EndingIn(dir, "END", '\0', layout)).text, above + "END");
    layout.samples = {2560};
    const std::string padded = EndingIn(dir, "END", ' ', layout);
    EXPECT_EQ(ReadWholeLabel(padded).text, above + "END");
    EXPECT_EQ(ReadArchivePicture(padded).Width(), 32);
    // Samples that begin with a break of the label's own kind, after the padding of its
    // records: still up to END.
    layout.samples = {0x0D0A};
    EXPECT_EQ(ReadWholeLabel(EndingIn(dir, "END", ' ', layout)).text, above + "END");
    layout.samples.clear();
    // A comment on the END line, and blanks before its break: the whole line.
    for (const std::string ending : {"END /* the \"end\" */\r\n", "END  \r\n"}) {
        const std::string commented = EndingIn(dir, ending, ' ', layout);
        const std::string text = ReadWholeLabel(commented).text;
        EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
        EXPECT_TRUE(ReadArchivePicture(commented).SamePixels(picture)) << ending;
    }
    // END at the very end of the file, and a quote in a comment after a value.
    const std::string last = "PDS_VERSION_ID = PDS3\r\nNOTE = 1 /* 3\" wide */\r\nEND";
    EXPECT_EQ(ReadWholeLabel(test::Put(dir, "last.IMG", {last.begin(), last.end()})).text, last);
}

TEST(WholeLabel, DetachedVicarAndPds4LabelsAsTheyAre) {
    test::ScratchDir dir;
    test::ArchiveLayout layout;
    for (int i = 0; i < 12; ++i) layout.samples.push_back(i);
    // A raw .IMG shows its .LBL, the whole file, trailing bytes and all.
    const std::string lbl = test::DetachedPds3(dir, "raw.lbl", "raw.IMG", layout);
    test::Put(dir, "raw.lbl", [&] {
        std::vector<std::uint8_t> bytes = test::ReadBytes(lbl);
        bytes.insert(bytes.end(), {' ', ' ', '\r', '\n'});
        return bytes;
    }());
    const WholeLabel detached = ReadWholeLabel(dir / "raw.IMG");
    EXPECT_EQ(detached.path, lbl);
    EXPECT_EQ(detached.text, test::ReadAll(lbl));

    const std::string xml = test::Pds4(dir, "product", layout);
    EXPECT_EQ(ReadWholeLabel(xml).text, test::ReadAll(xml));
    EXPECT_EQ(ReadWholeLabel(xml).format, ArchiveFormat::Pds4);

    const std::string vicar = test::Put(dir, "v.vic", test::VicarFile(layout));
    EXPECT_EQ(ReadWholeLabel(vicar).text, test::VicarLabel(layout));
}

TEST(WholeLabel, RefusesFilesWithoutAReadableLabel) {
    test::ScratchDir dir;
    const std::string noEnd = test::Put(dir, "noend.IMG", [] {
        const std::string text = "PDS_VERSION_ID = PDS3\r\nLINES = 3\r\n";
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }());
    EXPECT_THROW(ReadWholeLabel(noEnd), ImageError);
    EXPECT_THROW(ReadWholeLabel(test::Put(dir, "x.IMG", {'P', 'D', 'S'})), ImageError);
    EXPECT_THROW(ReadWholeLabel(dir / "missing.IMG"), ImageError);
    // A VICAR label without its size is named with its file.
    const std::string vicar =
        test::Put(dir, "bad.vic", {'L', 'B', 'L', 'S', 'I', 'Z', 'E', '=', ' '});
    try {
        ReadWholeLabel(vicar);
        FAIL() << "a VICAR label without a size was read";
    } catch (const ImageError& e) {
        EXPECT_EQ(std::string(e.what()), vicar + ": the VICAR label has no size");
    }
    // Longer than the label limit: refused rather than read on.
    std::string huge = "PDS_VERSION_ID = PDS3\r\n";
    while (huge.size() <= kMaxLabelBytes) huge += "NOTE = \"padding padding padding\"\r\n";
    huge += "END\r\n";
    try {
        ReadWholeLabel(
            test::Put(dir, "huge.IMG", std::vector<std::uint8_t>(huge.begin(), huge.end())));
        FAIL() << "a label past the limit was read";
    } catch (const ImageError& e) {
        EXPECT_EQ(e.Problem(), "the label is longer than 256 KiB");
    }
}

TEST(WholeLabel, ObjectsAreIndentedForTheWindow) {
    WholeLabel label;
    label.text =
        "PDS_VERSION_ID = PDS3\r\n"
        "OBJECT = IMAGE_HEADER\r\n"
        "END_OBJECT = IMAGE_HEADER\r\n"
        "GROUP = ROVER\r\n"
        "  OBJECT = IMAGE\r\n"
        "LINES = 3\r\n"
        "    NOTE = \"two\r\n"
        "  lines\"\r\n"
        "END_OBJECT = IMAGE\r\n"
        "END_GROUP = ROVER\r\n"
        "END\r\n";
    EXPECT_EQ(IndentedLabel(label),
              "PDS_VERSION_ID = PDS3\n"
              "OBJECT = IMAGE_HEADER\n"
              "END_OBJECT = IMAGE_HEADER\n"
              "GROUP = ROVER\n"
              "  OBJECT = IMAGE\n"
              "    LINES = 3\n"
              "    NOTE = \"two\n"
              "      lines\"\n"
              "  END_OBJECT = IMAGE\n"
              "END_GROUP = ROVER\n"
              "END\n");
    // Quotes in comments open no string; a comment over several lines is continued, and an
    // OBJECT inside it opens nothing.
    label.text =
        "OBJECT = IMAGE\r\n"
        "/* the \"raw\" values, 12 bits in 16\" */\r\n"
        "LINES = 3 /* rows\" */\r\n"
        "/* OBJECT = NOTHING\r\n"
        "   END_OBJECT */ BANDS = 1\r\n"
        "NOTE = 'it''s'\r\n"
        "END_OBJECT = IMAGE\r\n"
        "END\r\n";
    EXPECT_EQ(IndentedLabel(label),
              "OBJECT = IMAGE\n"
              "  /* the \"raw\" values, 12 bits in 16\" */\n"
              "  LINES = 3 /* rows\" */\n"
              "  /* OBJECT = NOTHING\n"
              "    END_OBJECT */ BANDS = 1\n"
              "  NOTE = 'it''s'\n"
              "END_OBJECT = IMAGE\n"
              "END\n");
    label.format = ArchiveFormat::Pds4;
    label.text = "<a>\r\n  <b>x</b>\r\n</a>\r\n";
    EXPECT_EQ(IndentedLabel(label), "<a>\n  <b>x</b>\n</a>\n");
}

TEST(WholeLabel, MatchingLinesInAnyCase) {
    const std::string text = "LINES = 3\r\nLINE_SAMPLES = 4\r\nBANDS = 1\r\nEND\r\n";
    EXPECT_EQ(MatchingLines(text, "line"), "LINES = 3\r\nLINE_SAMPLES = 4\r\n");
    EXPECT_EQ(MatchingLines(text, "nothing"), "");
    EXPECT_EQ(MatchingLines(text, ""), text);
    EXPECT_EQ(MatchingLines("a\nb", "B"), "b");
}

}  // namespace
}  // namespace kobrix
