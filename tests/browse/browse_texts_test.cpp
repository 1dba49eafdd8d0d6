#include "browse/browse_texts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "browse/file_list.h"

namespace kobrix {
namespace {

TEST(BrowseTexts, FileSizesRoundHalfToEven) {
    EXPECT_EQ(FileSizeText(1536), "2 kb");
    EXPECT_EQ(FileSizeText(2560), "2 kb");
    EXPECT_EQ(FileSizeText(3584), "4 kb");
    EXPECT_EQ(FileSizeText(0), "0 kb");
    EXPECT_EQ(FileSizeText(511), "0 kb");
}

TEST(BrowseTexts, PictureSize) {
    EXPECT_EQ(PictureSizeText(1024, 1024, PixelFormat::Bits24), "1024 x 1024 pixels  24 bit");
    EXPECT_EQ(PictureSizeText(3, 2, PixelFormat::Unknown), "3 x 2 pixels  Unknown");
}

TEST(BrowseTexts, PictureExtensions) {
    EXPECT_TRUE(IsPictureName("a.JPG"));
    EXPECT_TRUE(IsPictureName("a.Jpeg"));
    EXPECT_TRUE(IsPictureName("/x.y/a.bmp"));
    EXPECT_FALSE(IsPictureName("/x.jpg/readme"));
    EXPECT_FALSE(IsPictureName("a.txt"));
    EXPECT_TRUE(IsAnimatedGifName("a.gif"));
    EXPECT_TRUE(IsAnimatedGifName("a.GIF"));
    EXPECT_FALSE(IsAnimatedGifName("a.Gif"));
}

TEST(BrowseTexts, GalleryAddresses) {
    const std::string spirit = *GalleryBaseFor("2");
    EXPECT_TRUE(spirit.ends_with("/gallery/all/spirit"));
    EXPECT_TRUE(GalleryBaseFor("1")->ends_with("/gallery/all/opportunity"));
    EXPECT_FALSE(GalleryBaseFor("Invalid"));
    EXPECT_EQ(GalleryPageAddress(spirit, "N", "57").address, spirit + "_n057.html");
    EXPECT_EQ(GalleryPageAddress(spirit, "N", "123").address, spirit + "_n123.html");
    EXPECT_EQ(GalleryPageAddress(spirit, "P", "5").address, spirit + "_p05.html");
    const GalleryAddress invalid = GalleryPageAddress(spirit, "N", "Invalid");
    EXPECT_FALSE(invalid.ok);
    EXPECT_EQ(invalid.error, "'Invalid' is not a valid integer value");
}

TEST(BrowseTexts, WholeNumbers) {
    EXPECT_EQ(ParseWholeNumber("500"), 500);
    EXPECT_EQ(ParseWholeNumber(" -7 "), -7);
    EXPECT_FALSE(ParseWholeNumber("5x"));
    EXPECT_FALSE(ParseWholeNumber(""));
    EXPECT_FALSE(ParseWholeNumber("99999999999"));
    EXPECT_EQ(ScreenResolutionText(1024, 768), "Screen Resolution 1024 x 768");
}

TEST(FileList, ADetachedArchivePairIsListedOnceAsItsImage) {
    // The label of a raw ".IMG" is found in any letter case, so it is left out in any case; a
    // label without its samples, or beside another product's, stays to be seen.
    std::vector<std::string> names = {"A.IMG", "a.lbl", "B.LBL",     "c.img",
                                      "C.LBL", "D.lbl", "D.IMG.bak", "E.LBL.txt"};
    FileList::DropDetachedLabels(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A.IMG", "B.LBL", "c.img", "D.lbl", "D.IMG.bak",
                                               "E.LBL.txt"}));
    // Read leaves them out of a folder; Assign takes the names it is given.
    const auto dir = std::filesystem::temp_directory_path() / "kobrix-detached-label-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* name :
         {"2P126471340EFF0000P2303L5M1.IMG", "2P126471340EFF0000P2303L5M1.LBL", "notes.txt"}) {
        std::ofstream(dir / name) << "x";
    }
    FileList list;
    ASSERT_TRUE(list.Read(dir.string()));
    EXPECT_EQ(list.Names(),
              (std::vector<std::string>{"2P126471340EFF0000P2303L5M1.IMG", "notes.txt"}));
    std::filesystem::remove_all(dir);
}

TEST(FileList, SortsIgnoringCaseAndReportsMovesPastTheEnd) {
    FileList list;
    list.Assign("/d", {"b.jpg", "A.jpg", "a.JPG", "C.txt"});
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"A.jpg", "a.JPG", "b.jpg", "C.txt"}));
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_EQ(list.SelectedName(), "");
    list.Select(3);
    list.MoveNext();
    EXPECT_EQ(list.Selected(), 3);
    EXPECT_TRUE(list.TakePastEndRequest());
    EXPECT_FALSE(list.TakePastEndRequest());
    // A request no pass took is dropped by the next choice of entry.
    list.MoveNext();
    list.Select(1);
    EXPECT_FALSE(list.TakePastEndRequest());
    list.Select(0);
    list.MovePrevious();
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.SelectedPath(), "/d/A.jpg");
    list.Select(7);
    EXPECT_EQ(list.Selected(), -1);
}

}  // namespace
}  // namespace kobrix
