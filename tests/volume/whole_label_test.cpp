#include <gtest/gtest.h>

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
