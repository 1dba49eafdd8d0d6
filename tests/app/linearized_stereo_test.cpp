// The stereo viewer and the anaglyph maker on an archive volume's EDR pair, whose linearized
// products can stand in for the raw frames.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/manual_stereo_window.h"
#include "app/stereo_viewer.h"
#include "colour/anaglyph_window.h"
#include "tests/support/window_fixture.h"
#include "tests/volume/volume_builder.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

const std::string kRightLinearized = "2N135251689FFL0000P1234R0M1.IMG";

class LinearizedStereo : public testing::WindowsTest {
  protected:
    void SetUp() override {
        root = test::BuildVolume(volumeDir);
        // The raw frames are dark at the top left; the linearized ones are bright there.
        test::ArchiveLayout layout;
        layout.width = 8;
        layout.height = 6;
        for (int i = 0; i < 48; ++i) layout.samples.push_back(40 * (47 - i));
        for (const std::string& name : {test::kSol100Linearized, kRightLinearized}) {
            test::WriteBytes(Rdr() + name, test::AttachedPds3(layout, false));
        }
        OpenAll();
        prompts.log.clear();  // the program folder itself holds no pictures
        Main().ShowListDirectory(root + "/data/sol0100/edr");
        Choose(QString::fromStdString(test::kSol100Edr));
    }
    std::string Rdr() const { return root + "/data/sol0100/rdr/"; }
    StereoViewer& Viewer() { return windows->Stereo(); }
    QCheckBox& Switch() { return *Viewer().findChild<QCheckBox*>("LinearizedPair"); }
    QString Caption(const char* name) { return Viewer().findChild<QLabel*>(name)->text(); }
    // The grey of the top-left pixel each eye's picture shows.
    std::pair<int, int> TopLeft() {
        return {qGray(Viewer().RightEyeView().Image().pixel(0, 0)),
                qGray(Viewer().LeftEyeView().Image().pixel(0, 0))};
    }

    test::ScratchDir volumeDir;
    std::string root;
};

TEST_F(LinearizedStereo, TheSwitchShowsBothEyesLinearizedAndBack) {
    Main().Button13Click();
    ASSERT_TRUE(Viewer().isVisible());
    EXPECT_TRUE(Switch().isVisibleTo(&Viewer()));
    EXPECT_FALSE(Switch().isChecked());
    EXPECT_EQ(Caption("RightEyeName"), QString::fromStdString(test::kSol100EdrRight));
    EXPECT_EQ(Caption("LeftEyeName"), QString::fromStdString(test::kSol100Edr));
    const auto [rawRight, rawLeft] = TopLeft();
    EXPECT_LT(rawRight, 64);
    EXPECT_LT(rawLeft, 64);

    Switch().setChecked(true);
    EXPECT_EQ(Caption("RightEyeName"), QString::fromStdString(kRightLinearized));
    EXPECT_EQ(Caption("LeftEyeName"), QString::fromStdString(test::kSol100Linearized));
    const auto [right, left] = TopLeft();
    EXPECT_GT(right, 192);
    EXPECT_GT(left, 192);
    EXPECT_EQ(prompts.log, std::vector<std::string>{});

    // The anaglyph maker takes the pair on show, from the rdr/ folder.
    Viewer().findChild<QPushButton*>("Button5")->click();
    AnaglyphWindow& maker = windows->Anaglyph();
    ASSERT_TRUE(maker.Loaded1() && maker.Loaded2());
    EXPECT_EQ(maker.findChild<QLabel*>("Label1")->text().toStdString(), Rdr() + kRightLinearized);
    EXPECT_EQ(maker.findChild<QLabel*>("Label2")->text().toStdString(),
              Rdr() + test::kSol100Linearized);

    // The main window moves on to another exposure; the viewer still shows the pair, and
    // the anaglyph is made of it.
    test::Put(volumeDir, "mer2no_0xxx/data/sol0100/edr/2N135252000EFF0000P1234L0M1.IMG",
              test::ReadBytes(root + "/data/sol0100/edr/" + test::kSol100Edr));
    Main().RereadFileList();
    Choose("2N135252000EFF0000P1234L0M1.IMG");
    Viewer().findChild<QPushButton*>("Button5")->click();
    EXPECT_EQ(maker.findChild<QLabel*>("Label1")->text().toStdString(), Rdr() + kRightLinearized);
    EXPECT_EQ(prompts.log, std::vector<std::string>{});
    Choose(QString::fromStdString(test::kSol100Edr));

    // A pair picked by hand takes the viewer's place: the anaglyph is made of that pair.
    Viewer().findChild<QPushButton*>("Button6")->click();
    ManualStereoWindow& manual = windows->ManualStereo();
    for (const char* button : {"Button5", "Button4", "Button5", "Button2"}) {
        manual.findChild<QPushButton*>(button)->click();
    }
    EXPECT_FALSE(Switch().isVisibleTo(&Viewer()));
    EXPECT_LT(TopLeft().first, 64);
    Viewer().findChild<QPushButton*>("Button5")->click();
    EXPECT_EQ(maker.findChild<QLabel*>("Label1")->text().toStdString(),
              root + "/data/sol0100/edr/" + test::kSol100EdrRight);

    Choose(QString::fromStdString(test::kSol100Edr));
    Main().Button13Click();
    Switch().setChecked(false);
    EXPECT_EQ(Caption("LeftEyeName"), QString::fromStdString(test::kSol100Edr));
    EXPECT_LT(TopLeft().second, 64);
    Viewer().findChild<QPushButton*>("Button5")->click();
    EXPECT_EQ(maker.findChild<QLabel*>("Label2")->text().toStdString(),
              root + "/data/sol0100/edr/" + test::kSol100Edr);
}

TEST_F(LinearizedStereo, TheChoiceIsKeptButOfferedOnlyWhereBothEyesHaveOne) {
    Main().Button13Click();
    Switch().setChecked(true);
    // The right eye's linearized product goes: the raw pair, and no switch.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Rdr() + kRightLinearized)));
    Main().Button13Click();
    EXPECT_FALSE(Switch().isVisibleTo(&Viewer()));
    EXPECT_EQ(Caption("RightEyeName"), QString::fromStdString(test::kSol100EdrRight));
    EXPECT_LT(TopLeft().first, 64);

    // Back again, the pair shows linearized at once, as chosen.
    test::ArchiveLayout layout;
    layout.width = 8;
    layout.height = 6;
    layout.samples.assign(48, 1000);
    test::WriteBytes(Rdr() + kRightLinearized, test::AttachedPds3(layout, false));
    Main().Button13Click();
    EXPECT_TRUE(Switch().isVisibleTo(&Viewer()));
    EXPECT_EQ(Caption("RightEyeName"), QString::fromStdString(kRightLinearized));
}

TEST_F(LinearizedStereo, AutoshowAndTheViewersStepsFollowTheChoice) {
    Main().Button13Click();
    Switch().setChecked(true);
    // NEXT IMAGE from the left eye goes to the right eye: the same pair, still linearized.
    Viewer().findChild<QPushButton*>("Button3")->click();
    EXPECT_EQ(Main().DisplayedPath(), root + "/data/sol0100/edr/" + test::kSol100EdrRight);
    EXPECT_EQ(Caption("LeftEyeName"), QString::fromStdString(test::kSol100Linearized));
    EXPECT_GT(TopLeft().second, 192);

    // The autoshow's pair of the next picture shown: linearized as well.
    Viewer().findChild<QPushButton*>("Button1")->click();
    QAction* autoshow = Main().Menu().Item("Check Stereo Autoshow");
    autoshow->trigger();
    ASSERT_TRUE(autoshow->isChecked());
    Choose(QString::fromStdString(test::kSol100Edr));
    Main().findChild<QAction*>("Image")->trigger();
    EXPECT_TRUE(Viewer().isVisible());
    EXPECT_EQ(Caption("RightEyeName"), QString::fromStdString(kRightLinearized));
    EXPECT_GT(TopLeft().first, 192);
    EXPECT_EQ(prompts.log, std::vector<std::string>{});
}

// A volume of the sample pair, as EDRs and as linearized products.
TEST(LinearizedStereoScreenshots, AVolumeBySolAndItsLinearizedPair) {
    testing::WindowPlatform fakes;
    QTemporaryDir dir;
    test::ScratchDir volumeDir;
    const std::string sol = volumeDir / "mer2no_0xxx/data/sol1295";
    const std::string pair = "2N241329230";
    const std::string facts =
        "START_TIME = 2007-08-25T15:53:16.816Z\r\nPLANET_DAY_NUMBER = 1295\r\n"
        "LOCAL_TRUE_SOLAR_TIME = \"12:04:34\"\r\n";
    for (const char* eye : {"L", "R"}) {
        const test::ArchiveLayout layout = test::EdrFromJpeg(
            std::string(KOBRIX_SAMPLES_DIR "/") + pair + "EFFAUCTP1952" + eye + "0M1.jpg", facts);
        for (const char* type : {"edr/EFF", "rdr/FFL", "rdr/RAD"}) {
            std::filesystem::create_directories(sol + "/" + std::string(type).substr(0, 3));
            test::WriteBytes(sol + "/" + type + "AUCTP1952" + eye + "0M1.IMG",
                             test::AttachedPds3(layout, true));
        }
    }
    for (const char* eye : {"L", "R"}) {
        std::filesystem::rename(sol + "/edr/EFFAUCTP1952" + std::string(eye) + "0M1.IMG",
                                sol + "/edr/" + pair + "EFFAUCTP1952" + eye + "0M1.IMG");
        for (const char* type : {"FFL", "RAD"}) {
            std::filesystem::rename(sol + "/rdr/" + type + "AUCTP1952" + eye + "0M1.IMG",
                                    sol + "/rdr/" + pair + type + "AUCTP1952" + eye + "0M1.IMG");
        }
    }
    const std::unique_ptr<Windows> windows = testing::OpenWindows(fakes.platform, dir.path());
    MainWindow& main = windows->Main();
    main.resize(1024, 740);
    main.ShowListDirectory(sol + "/edr");
    ASSERT_TRUE(testing::ChooseFile(main, QString::fromStdString(pair + "EFFAUCTP1952L0M1.IMG")));
    EXPECT_TRUE(main.findChild<QComboBox*>("DerivedProducts")->isVisibleTo(&main));
    testing::SaveScreenshot(main, "volume-by-sol.png");
    main.Button13Click();
    StereoViewer& viewer = windows->Stereo();
    viewer.findChild<QCheckBox*>("LinearizedPair")->setChecked(true);
    EXPECT_EQ(viewer.findChild<QLabel*>("LeftEyeName")->text().toStdString(),
              pair + "FFLAUCTP1952L0M1.IMG");
    testing::SaveScreenshot(viewer, "volume-linearized-stereo.png");

    // An RDR of the pair, with the way back to its EDR under the picture.
    main.ShowListDirectory(sol + "/rdr");
    ASSERT_TRUE(testing::ChooseFile(main, QString::fromStdString(pair + "RADAUCTP1952L0M1.IMG")));
    EXPECT_EQ(main.findChild<QComboBox*>("DerivedProducts")->currentText(),
              "2 other products of this exposure");
    testing::SaveScreenshot(main, "volume-rdr-products.png");
}

}  // namespace
}  // namespace kobrix
