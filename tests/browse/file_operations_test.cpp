#include "browse/file_operations.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include <gtest/gtest.h>

#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"

namespace kobrix {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spill(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class FileOperationsTest : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() /
                    ("kobrix-fileops-" + std::to_string(getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(root); }
    void TearDown() override { fs::remove_all(root); }
    std::string At(const char* name) const { return (root / name).string(); }
};

TEST(SaveNames, ProposalCountsPastEarlierSavesAsTheyWereWritten) {
    std::set<std::string> files;
    const auto exists = [&files](const std::string& path) { return files.count(path) > 0; };
    EXPECT_EQ(ProposedSaveName("/t/", "2P241328935EFFAUCTP2582L5M1", exists),
              "/t/2P241328935EFFAUCTP2582L5M1-TAG01");
    files = {"/t/b-TAG01.jpg", "/t/b-TAG01.bmp", "/t/b-TAG03.jpg"};
    EXPECT_EQ(ProposedSaveName("/t/", "b", exists), "/t/b-TAG02");
    // A save of the proposal writes the upper-cased name; a case-sensitive disk must see it.
    files = {"/t/B-TAG01.jpg"};
    EXPECT_EQ(ProposedSaveName("/t/", "b", exists), "/t/b-TAG02");
    files.clear();
    for (int n = 1; n <= 9; ++n) files.insert("/t/c-TAG0" + std::to_string(n) + ".jpg");
    EXPECT_EQ(ProposedSaveName("/t/", "c", exists), "/t/c-TAG010");

    EXPECT_EQ(BaseNameOf("/d.x/2P241328935EFFAUCTP2582L5M1.jpg"), "2P241328935EFFAUCTP2582L5M1");
    EXPECT_EQ(BaseNameOf("/d/a.b.jpg"), "a.b");
    EXPECT_EQ(BaseNameOf("/d.x/noext"), "noext");
}

TEST(SaveNames, TargetIsTheUpperCasedNameWithTheTypesExtension) {
    const std::pair<const char*, const char*> jpeg[] = {
        {"/t/b-TAG01", "/t/B-TAG01.jpg"},
        {"/t/mine.JPEG", "/t/MINE.jpg"},  // replaced, not doubled
        {"/t/mine.bmp", "/t/MINE.jpg"},
        {"/Lower/case.dir/x", "/Lower/case.dir/X.jpg"},  // the directory as chosen
        {"/t/x.5-TAG01", "/t/X.5-TAG01.jpg"},            // a dot inside the name stays
        {"/t/.hidden", "/t/.HIDDEN.jpg"},
    };
    for (const auto& [chosen, written] : jpeg) {
        const SaveTarget target = SaveTargetFor(chosen, kJpegSaveType);
        EXPECT_EQ(target.path, written) << chosen;
        EXPECT_TRUE(target.jpeg) << chosen;
    }
    for (int type : {1, 2, 4}) {
        const SaveTarget target = SaveTargetFor("/t/mine.jpg", type);
        EXPECT_EQ(target.path, "/t/MINE.bmp") << type;
        EXPECT_FALSE(target.jpeg) << type;
    }
}

TEST_F(FileOperationsTest, SavedPicturesReadBack) {
    Bitmap24 picture(6, 4);
    picture.Fill(10, 120, 240);
    WriteSaveTarget(picture, SaveTargetFor(At("shot"), kJpegSaveType));
    const Bitmap24 jpeg = ReadJpegFile(At("SHOT.jpg"));
    EXPECT_EQ(jpeg.Width(), 6);
    EXPECT_EQ(jpeg.Height(), 4);
    WriteSaveTarget(picture, SaveTargetFor(At("shot.jpg"), 1));
    const Bitmap24 bmp = ReadBmpFile(At("SHOT.bmp"));
    ASSERT_EQ(bmp.Width(), 6);
    EXPECT_EQ(bmp.Row(3)[2], picture.Row(3)[2]);
}

TEST_F(FileOperationsTest, CopyNeverReplacesAndLeavesNothingHalfDone) {
    Spill(At("a.jpg"), std::string(200000, 'a'));
    fs::create_directory(At("avi"));
    const std::string target = At("avi/a.jpg");
    EXPECT_TRUE(CopyWithoutOverwrite(At("a.jpg"), target));
    EXPECT_EQ(Slurp(target), Slurp(At("a.jpg")));

    Spill(At("a.jpg"), "changed");
    EXPECT_FALSE(CopyWithoutOverwrite(At("a.jpg"), target));
    EXPECT_EQ(Slurp(target).size(), 200000u);
    EXPECT_FALSE(CopyWithoutOverwrite(At("a.jpg"), At("a.jpg")));  // onto itself
    EXPECT_EQ(Slurp(At("a.jpg")), "changed");

    EXPECT_FALSE(CopyWithoutOverwrite(At("missing.jpg"), At("avi/missing.jpg")));
    EXPECT_FALSE(PathExists(At("avi/missing.jpg")));
    // A source that cannot be read through leaves no target behind.
    EXPECT_FALSE(CopyWithoutOverwrite(At("avi"), At("avi-copy")));
    EXPECT_FALSE(PathExists(At("avi-copy")));
    // A link planted at the target is neither followed nor replaced.
    Spill(At("victim"), "precious");
    fs::create_symlink(At("victim"), At("avi/b.jpg"));
    EXPECT_FALSE(CopyWithoutOverwrite(At("a.jpg"), At("avi/b.jpg")));
    EXPECT_EQ(Slurp(At("victim")), "precious");
    EXPECT_TRUE(fs::is_symlink(At("avi/b.jpg")));
    EXPECT_EQ(std::distance(fs::directory_iterator(At("avi")), {}), 2);  // a.jpg, b.jpg
}

TEST_F(FileOperationsTest, DeleteRemovesFilesOnlyAndSaysWhyNot) {
    Spill(At("a.jpg"), "x");
    EXPECT_EQ(DeleteFileAt(At("a.jpg")), "");
    EXPECT_FALSE(PathExists(At("a.jpg")));
    EXPECT_EQ(DeleteFileAt(At("a.jpg")), At("a.jpg") + ": no such file.");
    fs::create_directory(At("empty"));
    EXPECT_EQ(DeleteFileAt(At("empty")), At("empty") + ": a directory, not a file.");
    EXPECT_TRUE(fs::is_directory(At("empty")));
    EXPECT_EQ(DeleteFileAt(""), "There is no file to delete.");
}

}  // namespace
}  // namespace kobrix
