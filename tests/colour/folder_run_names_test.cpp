// The command line's folder runs and the windows, on the same files: the same names and the
// same pictures.
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/main_window.h"
#include "app/stereo_viewer.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "cli/batch_commands.h"
#include "colour/anaglyph_window.h"
#include "colour/colour_window.h"
#include "imaging/jpeg_io.h"
#include "tests/support/window_fixture.h"

namespace kobrix {
namespace {

const QString kExposure = "2P241328935EFFAUCTP2582";

std::string Bytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class FolderRunNamesTest : public testing::WindowsTest {
  protected:
    // The user's own folder: the windows work wherever the list is.
    QString Images() const { return testing::PicturesFolder(dir); }
    void WriteJpeg(const QString& name, int seed) {
        Bitmap24 picture(24, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 72; ++x)
                picture.Row(y)[x] = static_cast<std::uint8_t>(x * seed + y);
        }
        WriteJpegFile(picture, QDir(Images()).filePath(name).toStdString());
    }
    void Open() {
        OpenAll();
        windows->Main().ShowListDirectory(Images().toStdString());
        prompts.log.clear();
    }
    // Save as twice: cancelled to learn the proposal, then accepted as proposed with the JPEG
    // type. Returns the file written.
    template <typename SaveAs>
    QString SaveAsProposed(SaveAs saveAs) {
        prompts.fileChoices = {FileChoice{}};
        saveAs();
        const QString proposal = prompts.fileRequests.back().initial;
        prompts.fileChoices = {{true, proposal, 2}};
        saveAs();
        return proposal + ".jpg";
    }
    // The folder command on the image directory into a directory of its own.
    QString RunCommand(bool pairs, const QString& outName) {
        const QString out = dir.filePath(outName);
        const std::vector<std::string> args = {Images().toStdString(), "-o", out.toStdString()};
        std::ostringstream output, errors;
        const int status =
            pairs ? cli::RunPairsCommand(args, fakes.zone, cli::BatchConsole{}, output, errors)
                  : cli::RunColourCommand(args, fakes.zone, cli::BatchConsole{}, output, errors);
        EXPECT_EQ(status, 0) << errors.str();
        return out;
    }
};

TEST_F(FolderRunNamesTest, PairsAndColourNameAndMakeWhatTheWindowsSave) {
    ASSERT_TRUE(QDir().mkpath(Images()));
    WriteJpeg(kExposure + "L5M1.jpg", 3);
    WriteJpeg(kExposure + "R5M1.JPG", 5);
    WriteJpeg(kExposure + "L4M1.jpg", 7);
    WriteJpeg(kExposure + "L6M1.jpg", 11);
    Open();
    MainWindow& main = windows->Main();

    // The stereo viewer's pair into the anaglyph maker, saved as proposed.
    ASSERT_TRUE(testing::ChooseFile(main, kExposure + "L5M1.jpg"));
    main.findChild<QPushButton*>("Button13")->click();
    windows->Stereo().findChild<QPushButton*>("Button5")->click();
    const QString anaglyph = SaveAsProposed([&] { windows->Anaglyph().Button3Click(); });
    ASSERT_TRUE(QFileInfo::exists(anaglyph)) << anaglyph.toStdString();

    // The automatic colour run from the filter 4 picture, saved as proposed.
    ASSERT_TRUE(testing::ChooseFile(main, kExposure + "L4M1.jpg"));
    main.findChild<QPushButton*>("Button9")->click();
    ASSERT_FALSE(windows->Colour().Composite().Empty());
    const QString composite = SaveAsProposed([&] { windows->Colour().Button7Click(); });
    ASSERT_TRUE(QFileInfo::exists(composite)) << composite.toStdString();

    const QString pairs = RunCommand(true, "pairs");
    const QString colour = RunCommand(false, "colour");
    EXPECT_EQ(QDir(pairs).entryList(QDir::Files), QStringList{QFileInfo(anaglyph).fileName()});
    EXPECT_EQ(QDir(colour).entryList(QDir::Files), QStringList{QFileInfo(composite).fileName()});
    EXPECT_EQ(Bytes(QDir(pairs).filePath(QFileInfo(anaglyph).fileName())), Bytes(anaglyph));
    EXPECT_EQ(Bytes(QDir(colour).filePath(QFileInfo(composite).fileName())), Bytes(composite));
}

}  // namespace
}  // namespace kobrix
