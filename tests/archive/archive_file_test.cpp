#include "archive/archive_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <thread>

#include "imaging/image_error.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_io.h"
#include "tests/archive/archive_builder.h"

namespace kobrix {
namespace {

using test::ArchiveLayout;
using test::StoredKind;

// 4 x 3 samples 0, 10, ... 110 shifted by `base`: under the whole-range stretch sample i is
// grey floor(i * 10 * 255 / 110 + 0.5), e.g. 0, 116 at i = 5 and 255 at i = 11.
ArchiveLayout Ramp(StoredKind kind, int bits, bool littleEndian, double base = 0) {
    ArchiveLayout layout;
    layout.kind = kind;
    layout.bits = bits;
    layout.littleEndian = littleEndian;
    for (int i = 0; i < 12; ++i) layout.samples.push_back(base + 10 * i);
    layout.extraLabel = test::kFactLines;
    return layout;
}

int GreyAt(const Bitmap24& picture, int x, int y) {
    return picture.Row(y)[3 * x];
}

void ExpectRamp(const std::string& path, bool asIs = false) {
    SCOPED_TRACE(path);
    const Bitmap24 picture = ReadArchivePicture(path, 0);
    ASSERT_EQ(picture.Width(), 4);
    ASSERT_EQ(picture.Height(), 3);
    EXPECT_EQ(GreyAt(picture, 0, 0), 0);
    EXPECT_EQ(GreyAt(picture, 1, 1), asIs ? 50 : 116);
    EXPECT_EQ(GreyAt(picture, 3, 2), asIs ? 110 : 255);
}

std::string Problem(const std::string& path) {
    try {
        ReadArchivePicture(path);
    } catch (const ImageError& e) {
        EXPECT_EQ(e.File(), path);
        return e.Problem();
    }
    return "no error";
}

TEST(ArchiveFile, ReadsEveryLayoutTheArchiveWrites) {
    test::ScratchDir dir;
    const ArchiveLayout layout = Ramp(StoredKind::Unsigned, 16, false);
    ExpectRamp(test::Put(dir, "plain.IMG", test::AttachedPds3(layout, false)));
    ExpectRamp(test::Put(dir, "vicar_header.IMG", test::AttachedPds3(layout, true)));
    ExpectRamp(test::Put(dir, "alone.VIC", test::VicarFile(layout)));
    ExpectRamp(test::Pds4(dir, "pds4", layout));
    // A detached label opens from itself or from its .IMG, the extension in any case.
    for (const std::string labelName : {"D1.LBL", "D2.lbl", "D3.Lbl"}) {
        const std::string stem = labelName.substr(0, 2);
        const std::string label = test::DetachedPds3(dir, labelName, stem + ".IMG", layout);
        ExpectRamp(label);
        ExpectRamp(dir / (stem + ".IMG"));
        EXPECT_EQ(FindArchiveLabel(dir / (stem + ".IMG")), label);
        EXPECT_EQ(ReadArchiveLabel(dir / (stem + ".IMG")).values[0], "2P126471340EFF0000P2303L5M1");
    }
    // Nothing was written beside the files (no sidecar of the library).
    EXPECT_EQ(test::Names(dir),
              (std::vector<std::string>{"D1.IMG", "D1.LBL", "D2.IMG", "D2.lbl", "D3.IMG", "D3.Lbl",
                                        "alone.VIC", "pds4.dat", "pds4.xml", "plain.IMG",
                                        "vicar_header.IMG"}));
}

TEST(ArchiveFile, ReadsEverySampleTypeInBothByteOrders) {
    test::ScratchDir dir;
    struct Case {
        StoredKind kind;
        int bits;
        double base;
        SampleType type;
    };
    const Case cases[] = {
        {StoredKind::Unsigned, 8, 0, SampleType::UInt8},
        {StoredKind::Unsigned, 16, 0, SampleType::UInt16},
        {StoredKind::Signed, 16, -60, SampleType::Int16},
        {StoredKind::Unsigned, 32, 0, SampleType::UInt32},
        {StoredKind::Signed, 32, -60, SampleType::Int32},
        {StoredKind::Real, 32, -0.5, SampleType::Float32},
        {StoredKind::Real, 64, -60, SampleType::Float64},
    };
    int n = 0;
    for (const Case& c : cases) {
        for (const bool little : {false, true}) {
            const ArchiveLayout layout = Ramp(c.kind, c.bits, little, c.base);
            const std::string pds3 = test::Put(dir, "s" + std::to_string(n++) + ".IMG",
                                               test::AttachedPds3(layout, false));
            EXPECT_EQ(InspectArchiveFile(pds3).type, c.type) << pds3;
            ExpectRamp(pds3, c.type == SampleType::UInt8);
            ExpectRamp(test::Put(dir, "v" + std::to_string(n++) + ".VIC", test::VicarFile(layout)),
                       c.type == SampleType::UInt8);
            ExpectRamp(test::Pds4(dir, "x" + std::to_string(n++), layout),
                       c.type == SampleType::UInt8);
        }
    }
}

TEST(ArchiveFile, ThreeBandsMakeOneColourPicture) {
    test::ScratchDir dir;
    ArchiveLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bands = 3;
    layout.samples = {0, 10, 20, 30, 40, 50};  // red, green, blue
    for (const std::string& path : {test::Put(dir, "rgb.IMG", test::AttachedPds3(layout, false)),
                                    test::Pds4(dir, "rgb", layout)}) {
        const Bitmap24 picture = ReadArchivePicture(path, 0);
        const std::uint8_t* row = picture.Row(0);
        EXPECT_EQ((std::vector<int>{row[0], row[1], row[2], row[3], row[4], row[5]}),
                  (std::vector<int>{204, 102, 0, 255, 153, 51}))
            << path;
        EXPECT_EQ(InspectArchiveFile(path).bands, 3);
    }
}

TEST(ArchiveFile, DamagedFilesGetAClearErrorAndNothingIsWritten) {
    test::ScratchDir dir;
    const ArchiveLayout good = Ramp(StoredKind::Unsigned, 16, false);
    ArchiveLayout lies = good;
    lies.declaredLines = 1000;
    EXPECT_EQ(Problem(test::Put(dir, "lies.IMG", test::AttachedPds3(lies, true))),
              "the label places samples up to byte 8720 but the data file holds 744 bytes");
    ArchiveLayout past = good;
    past.pointerShift = 50;
    EXPECT_NE(Problem(test::Put(dir, "past.IMG", test::AttachedPds3(past, false)))
                  .find("but the data file holds"),
              std::string::npos);
    ArchiveLayout cut = good;
    cut.cut = 5;
    const std::vector<std::uint8_t> cutBytes = test::AttachedPds3(cut, false);
    EXPECT_EQ(Problem(test::Put(dir, "cut.IMG", cutBytes)),
              "the label places samples up to byte " + std::to_string(cutBytes.size() + 5) +
                  " but the data file holds " + std::to_string(cutBytes.size()) + " bytes");
    ArchiveLayout vax = good;
    vax.bits = 32;
    vax.sampleTypeOverride = "VAX_REAL";
    EXPECT_EQ(Problem(test::Put(dir, "vax.IMG", test::AttachedPds3(vax, false))),
              "unsupported sample type VAX_REAL of 32 bits");
    EXPECT_EQ(Problem(test::DetachedPds3(dir, "gone.LBL", "GONE.IMG", good, false)),
              "the data file GONE.IMG named by the label is missing");

    std::string big = "PDS_VERSION_ID = PDS3\r\n";
    while (big.size() < (1u << 20)) big += "NOTE = \"padding padding padding padding\"\r\n";
    EXPECT_EQ(Problem(test::Put(dir, "big.IMG", std::vector<std::uint8_t>(big.begin(), big.end()))),
              "the label is longer than 256 KiB");
    std::string deep = "PDS_VERSION_ID = PDS3\r\n";
    for (int i = 0; i < 100000; ++i) deep += "OBJECT = X\r\n";
    EXPECT_EQ(
        Problem(test::Put(dir, "deep.IMG", std::vector<std::uint8_t>(deep.begin(), deep.end()))),
        "the label nests objects deeper than 24 levels");

    // Not a regular local file: a pipe would block the reader, a directory is no picture.
    ASSERT_EQ(mkfifo((dir / "pipe.IMG").c_str(), 0600), 0);
    EXPECT_EQ(Problem(dir / "pipe.IMG"), "the file is not a regular file");
    test::DetachedPds3(dir, "topipe.LBL", "pipe.IMG", good, false);
    EXPECT_EQ(Problem(dir / "topipe.LBL"), "the data file pipe.IMG is not a regular file");
    std::filesystem::create_directory(dir / "folder.IMG");
    EXPECT_EQ(Problem(dir / "folder.IMG"), "the file is not a regular file");
    EXPECT_EQ(Problem("/vsimem/x.IMG"), "not a local file");
    EXPECT_EQ(Problem(test::Put(dir, "raw.IMG", std::vector<std::uint8_t>(64, 7))),
              "no label in the file and no .LBL beside it");
    EXPECT_EQ(Problem(test::Put(dir, "text.xml", {'<', 'a', '>'})),
              "not a PDS3, PDS4, VICAR or ISIS3 file");

    const std::vector<std::string> written = {"big.IMG",  "cut.IMG",  "deep.IMG",   "folder.IMG",
                                              "gone.LBL", "lies.IMG", "past.IMG",   "pipe.IMG",
                                              "raw.IMG",  "text.xml", "topipe.LBL", "vax.IMG"};
    EXPECT_EQ(test::Names(dir), written);
}

TEST(ArchiveFile, TheLibrarysRefusalIsTheErrorTextAndNothingIsPrinted) {
    test::ScratchDir dir;
    const std::string label =
        "PDS_VERSION_ID = PDS3\r\nOBJECT = IMAGE\r\nLINES = 2\r\n"
        "END_OBJECT = IMAGE\r\nEND\r\n";
    const std::string path =
        test::Put(dir, "nosamples.IMG", std::vector<std::uint8_t>(label.begin(), label.end()));
    ::testing::internal::CaptureStderr();
    const std::string problem = Problem(path);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(problem.find("not supported"), std::string::npos) << problem;
}

TEST(ArchiveFile, TheSharedReaderOpensArchiveFilesOnceRegistered) {
    test::ScratchDir dir;
    const std::string img =
        test::Put(dir, "2P126471340EFF0000P2303L5M1.IMG",
                  test::AttachedPds3(Ramp(StoredKind::Unsigned, 16, false), true));
    Bitmap24 jpegSource(4, 3);
    jpegSource.Fill(10, 20, 30);
    const std::string jpeg = dir / "plain.jpg";
    WriteJpegFile(jpegSource, jpeg);

    RegisterArchiveReader();
    RegisterArchiveReader();  // once is enough; twice changes nothing
    EXPECT_TRUE(ReadAnyPicture(img).SamePixels(ReadArchivePicture(img)));
    Bitmap24 reused;
    std::vector<std::uint8_t> bytes;
    ReadAnyPictureInto(img, reused, bytes);
    EXPECT_TRUE(reused.SamePixels(ReadArchivePicture(img)));
    EXPECT_EQ(ReadAnyPicture(jpeg).Width(), 4);

    // Two readers at once see the same picture and each its own errors.
    Bitmap24 first;
    std::string secondError;
    std::thread a([&] { first = ReadAnyPicture(img); });
    std::thread b([&] {
        try {
            ReadAnyPicture(dir / "missing.IMG");
        } catch (const ImageError& e) {
            secondError = e.Problem();
        }
    });
    a.join();
    b.join();
    EXPECT_TRUE(first.SamePixels(ReadArchivePicture(img)));
    EXPECT_EQ(secondError, "the file is missing");
}

TEST(ArchiveFile, ADeletionTakesTheProductsOwnFilesAndNothingElse) {
    test::ScratchDir dir;
    const ArchiveLayout layout = Ramp(StoredKind::Unsigned, 8, false);
    // Names that merely begin like the product's.
    for (const char* decoy : {"A.IMG.LBL", "AX.LBL", "A.LBL.bak", "A.jpg"}) {
        test::Put(dir, decoy, {'x'});
    }
    // The label in small letters beside the samples.
    test::DetachedPds3(dir, "a.lbl", "A.IMG", layout);
    EXPECT_EQ(ArchiveFilesToDelete(dir / "A.IMG"),
              (std::vector<std::string>{dir / "A.IMG", dir / "a.lbl"}));

    // A PDS4 label goes with its data file.
    test::Pds4(dir, "P", layout);
    EXPECT_EQ(ArchiveFilesToDelete(dir / "P.xml"),
              (std::vector<std::string>{dir / "P.xml", dir / "P.dat"}));

    // A label that names another picture's samples: that picture, with its own label, stays.
    test::DetachedPds3(dir, "B.LBL", "B.IMG", layout);
    test::DetachedPds3(dir, "C.LBL", "B.IMG", layout, false);
    test::Put(dir, "C.IMG", test::EncodeSamples(layout));
    EXPECT_EQ(ArchiveFilesToDelete(dir / "C.IMG"),
              (std::vector<std::string>{dir / "C.IMG", dir / "C.LBL"}));

    // A damaged label still goes with its samples; a raw file without one goes alone.
    const std::string broken = "PDS_VERSION_ID = PDS3\r\nEND_OBJECT = IMAGE\r\nEND\r\n";
    test::Put(dir, "D.IMG", test::EncodeSamples(layout));
    test::Put(dir, "D.LBL", std::vector<std::uint8_t>(broken.begin(), broken.end()));
    EXPECT_THROW(ArchiveProductFiles(dir / "D.IMG"), ImageError);
    EXPECT_EQ(ArchiveFilesToDelete(dir / "D.IMG"),
              (std::vector<std::string>{dir / "D.IMG", dir / "D.LBL"}));
    test::Put(dir, "E.IMG", test::EncodeSamples(layout));
    EXPECT_EQ(ArchiveFilesToDelete(dir / "E.IMG"), std::vector<std::string>{dir / "E.IMG"});
}

}  // namespace
}  // namespace kobrix
