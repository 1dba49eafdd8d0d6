#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/stereo_viewer.h"
#include "app/window_tour.h"
#include "app/windows.h"
#include "imaging/bmp_io.h"
#include "movie/large_player_window.h"
#include "pages/dedication_page.h"
#include "pages/help_pages.h"
#include "pages/klingon_page.h"
#include "pages/link_pages.h"
#include "pages/traverse_maps.h"
#include "tests/support/window_fixture.h"
#include "tools/tagging_window.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

class PagesTest : public testing::WindowsTest {
  protected:
    void SetUp() override {
        OpenAll();
        prompts.Clear();
    }
    void Trigger(const char* caption) { Main().Menu().Item(caption)->trigger(); }
};

TEST_F(PagesTest, StartUpCreatesEveryWindowInItsFixedOrder) {
    QStringList names;
    for (QWidget* window : windows->All()) names << window->objectName();
    const QStringList expected = {"RurUdediv20071Unit1",
                                  "StereoViewerUnit20072",
                                  "TimeVariablesUnit20073",
                                  "MissionLinksPage",
                                  "CalendarUnit20075",
                                  "TraverseChooserPage",
                                  "LargeImageUnit20077",
                                  "OpportunityMapsPage",
                                  "SpiritMapsPage",
                                  "DataDecodeUnit200710",
                                  "ManualStereoUnit200711",
                                  "HelpHubPage",
                                  "MSTspUnit200713",
                                  "DedicationPage",
                                  "SlideshowDelayUnit200715",
                                  "FullSizeUnit200716",
                                  "UsageHelpPage",
                                  "ColourUnit200719",
                                  "ColourAltUnit200720",
                                  "SunsetUnit200721",
                                  "DirectoriesUnit200721",
                                  "SolSearchUnit200722",
                                  "MartianSoftwareLinksPage",
                                  "BirthdayUnit200724",
                                  "MenuHelpPage",
                                  "ColourHelpPage",
                                  "AnaglyphHelpPage",
                                  "QuickStartHelpPage",
                                  "MsgUnit200731",
                                  "LinkIndexPage",
                                  "MarsWebsitesLinksPage",
                                  "SolarSystemLinksPage",
                                  "MeteoritesLinksPage",
                                  "AmateurRadioLinksPage",
                                  "AVIUnit200740",
                                  "ParticipateLinksPage",
                                  "KlingonPage",
                                  "AVIplyrUnit200741",
                                  "Mag2007Unit42",
                                  "ClipboardSeeUnit43",
                                  "Watermark2007Unit44",
                                  "MagnifierB200746"};
    EXPECT_EQ(names, expected);
    for (QAction* action : Main().findChildren<QAction*>()) {
        EXPECT_TRUE(action->isEnabled() || !action->isVisible()) << action->text().toStdString();
    }
}

TEST_F(PagesTest, MapViewerStepsThroughTheMapsInListOrder) {
    const QString maps = QString::fromStdString(Main().Tree().SpiritDirNameStrng);
    for (int i = 0; i < 3; ++i) {
        Bitmap24 map(4 + i, 4);
        WriteBmpFile(map, QDir(maps).filePath(QString("map%1.bmp").arg(i)).toStdString());
    }
    Trigger("Traverse Maps");
    EXPECT_TRUE(windows->TraverseChooser().isVisible());
    emit windows->TraverseChooser().roverChosen(TraverseRover::Spirit);
    MapViewerPage& viewer = windows->SpiritMaps();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_TRUE(viewer.Picture().HasPicture());  // the stored map
    const auto shown = [&] { return QFileInfo(viewer.ShownFile()).fileName(); };
    viewer.Previous();
    EXPECT_EQ(shown(), "map0.bmp");
    viewer.Previous();  // stays on the first
    EXPECT_EQ(shown(), "map0.bmp");
    viewer.Next();
    viewer.Next();
    EXPECT_EQ(shown(), "map2.bmp");
    EXPECT_EQ(viewer.Picture().Image().width(), 6);
    viewer.Next();  // past the last: unchanged
    EXPECT_EQ(shown(), "map2.bmp");

    QFile bad(QDir(maps).filePath("map3.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    viewer.PointAt(maps);
    viewer.findChild<QPushButton*>(">>>>>")->click();
    EXPECT_EQ(prompts.Texts("error").size(), 1u);
    EXPECT_EQ(shown(), "map2.bmp");
    EXPECT_EQ(viewer.Picture().Image().width(), 6);
}

TEST_F(PagesTest, DedicationShowsALineEveryTwoSecondsThenFadesAndStartsAgain) {
    DedicationPage& page = windows->Dedication();
    EXPECT_EQ(page.SequenceTimer().interval(), 1000);
    EXPECT_EQ(page.HoldTimer().interval(), 2000);
    EXPECT_EQ(page.FadeTimer().interval(), 25);
    page.SetLines({"one", "two", "three"});
    Trigger("Those that went before us");
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.Opacity(), 255);
    EXPECT_TRUE(page.SequenceTimer().isActive());
    page.ShowStep();  // the first tick: nothing before the first line
    EXPECT_EQ(page.CaptionLine(), "");
    EXPECT_TRUE(page.HoldTimer().isActive());
    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        page.AdvanceStep();
        page.ShowStep();  // a sequence tick between holds changes nothing
        seen << page.CaptionLine();
    }
    EXPECT_EQ(seen, (QStringList{"one", "two", "three"}));
    page.AdvanceStep();
    EXPECT_EQ(page.Opacity(), 253);
    EXPECT_FALSE(page.SequenceTimer().isActive());
    int fadeSteps = 1;
    while (page.FadeTimer().isActive()) {
        page.FadeTimer().stop();
        page.FadeStep();
        ++fadeSteps;
    }
    EXPECT_EQ(fadeSteps, 127);
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(page.Counter(), 0);
    Trigger("Those that went before us");
    EXPECT_EQ(page.Opacity(), 255);
    page.AdvanceStep();
    EXPECT_EQ(page.CaptionLine(), "one");
    // Closed during the fade: the next opening starts from the first line again.
    for (int i = 0; i < 3; ++i) page.AdvanceStep();
    EXPECT_TRUE(page.FadeTimer().isActive());
    page.findChild<QPushButton*>("Close")->click();
    Trigger("Those that went before us");
    EXPECT_FALSE(page.FadeTimer().isActive());
    page.AdvanceStep();
    EXPECT_EQ(page.CaptionLine(), "one");
}

TEST_F(PagesTest, TypefacePageCountsDownAndSetsTheKlingonFont) {
    KlingonPage& page = windows->Klingon();
    EXPECT_EQ(page.Timer().interval(), 1000);
    EXPECT_FALSE(page.Timer().isActive());
    Trigger("tlhIngan Hol ");
    EXPECT_EQ(page.Countdown(), 25);
    for (int i = 0; i < 24; ++i) page.Tick();
    EXPECT_TRUE(page.isVisible());
    page.Tick();
    EXPECT_FALSE(page.isVisible());

    Trigger("tlhIngan Hol ");
    page.Activate();  // no font file: nothing is registered
    EXPECT_TRUE(fakes.desktop.fontFiles.empty());
    EXPECT_EQ(windows->Tagging().TextColour(), QColor(Qt::red));
    page.Tick();
    EXPECT_TRUE(page.isVisible());
    page.Tick();
    EXPECT_FALSE(page.isVisible());

    QFile font(QDir(Main().IAmHereDirectory()).filePath("BKLINGON.TTF"));
    ASSERT_TRUE(font.open(QIODevice::WriteOnly));
    font.close();
    page.Activate();
    EXPECT_EQ(fakes.desktop.fontFiles.size(), 1u);
    page.MakeKlingon();
    EXPECT_EQ(Main().findChild<QLabel*>("Label1")->font().family(), "BernyKlingon");
    EXPECT_NE(Main().menuBar()->font().family(), "BernyKlingon");
}

TEST_F(PagesTest, LinksOpenTheirAddressesAndHelpLinksShowTheirWindows) {
    Trigger("Amateur Radio in Space");
    WebLinkPage& radio = windows->Links(LinkPageId::AmateurRadio);
    EXPECT_TRUE(radio.isVisible());
    for (int i = 0; i < radio.Links().size(); ++i) radio.OpenLink(i);
    ASSERT_EQ(fakes.desktop.urls.size(), static_cast<std::size_t>(radio.Links().size()));
    EXPECT_EQ(fakes.desktop.urls.front(), radio.Links().front()->property("address").toString());
    Main().findChild<QPushButton*>("WebLinksButton")->click();
    EXPECT_TRUE(windows->LinkIndex().isVisible());
    windows->LinkIndex().findChild<QPushButton*>("Meteorites")->click();
    EXPECT_TRUE(windows->Links(LinkPageId::Meteorites).isVisible());

    Main().findChild<QAction*>("More Info")->trigger();
    EXPECT_TRUE(windows->HelpHub().isVisible());
    windows->HelpHub().findChild<QPushButton*>("Menu Selections and options.")->click();
    HelpTextPage& menuHelp = windows->Help(HelpPageId::MenuSelections);
    EXPECT_TRUE(menuHelp.isVisible());
    windows->HelpHub().hide();
    menuHelp.findChild<QPushButton*>("Back")->click();
    EXPECT_TRUE(windows->HelpHub().isVisible());

    for (const std::string_view key : HelpLinkKeys()) {
        EXPECT_TRUE(windows->ShowByKey(QString::fromUtf8(key.data(), qsizetype(key.size()))))
            << key;
    }
    EXPECT_FALSE(windows->ShowByKey("nowhere"));
    EXPECT_TRUE(windows->Stereo().isVisible());
    EXPECT_TRUE(windows->TraverseChooser().isVisible());
    const auto messages = prompts.Texts("message");
    EXPECT_EQ(
        std::count_if(messages.begin(), messages.end(),
                      [](const std::string& m) { return m.rfind("Screen Resolution ", 0) == 0; }),
        1);
    menuHelp.FollowLink("show:colourhelp");
    EXPECT_TRUE(windows->Help(HelpPageId::ColourComposite).isVisible());
}

TEST_F(PagesTest, EveryHelpPageClosesAndTheMenuHelpCountsTheLinkPagesRight) {
    Trigger("Help");
    for (const HelpPageId id : {HelpPageId::MenuSelections, HelpPageId::ColourComposite,
                                HelpPageId::Anaglyph, HelpPageId::QuickStart, HelpPageId::Usage}) {
        HelpTextPage& page = windows->Help(id);
        page.show();
        QPushButton* close = page.findChild<QPushButton*>("Close");
        ASSERT_NE(close, nullptr) << page.windowTitle().toStdString();
        EXPECT_TRUE(close->isVisibleTo(&page));
        close->click();
        EXPECT_FALSE(page.isVisible()) << page.windowTitle().toStdString();
        EXPECT_TRUE(windows->HelpHub().isVisible());  // Close is not "back": the hub stays
    }
    // The link index lists six pages; with the image links of the menu they are seven.
    const auto buttons = windows->LinkIndex().findChildren<QPushButton*>();
    const auto linkPages = std::count_if(buttons.begin(), buttons.end(), [](QPushButton* b) {
        return b->objectName() != "Close" && b->isVisibleTo(b->window());
    });
    EXPECT_EQ(linkPages, 6);
    const QString text = windows->Help(HelpPageId::MenuSelections).Body().toPlainText();
    EXPECT_TRUE(text.simplified().contains("Seven pages of web links")) << text.toStdString();
    EXPECT_TRUE(text.simplified().contains("the six others are listed on the web links page"))
        << text.toStdString();
}

TEST_F(PagesTest, TheTourSavesAPictureOfEveryWindowAndLeavesThemAsTheyWere) {
    EXPECT_EQ(WindowPictureName(7, "Large Size: Image Display Page!"),
              "07-large-size-image-display-page.png");
    const QStringList written = SaveWindowPictures(*windows, dir.filePath("tour"));
    ASSERT_EQ(written.size(), 42);
    EXPECT_EQ(written.front(), "01-main-window.png");
    EXPECT_EQ(written[37], "38-kobrix-avi-player.png");
    EXPECT_TRUE(QFileInfo::exists(QDir(dir.filePath("tour")).filePath(written.back())));
    EXPECT_TRUE(Main().isVisible());
    EXPECT_FALSE(windows->HelpHub().isVisible());
    UnattendedPrompts unattended;
    EXPECT_TRUE(unattended.YesCancel("Create it?"));
}

TEST_F(PagesTest, Screenshots) {
    for (QWidget* page : std::initializer_list<QWidget*>{
             &windows->HelpHub(), &windows->Help(HelpPageId::MenuSelections),
             &windows->Links(LinkPageId::MartianSoftware), &windows->SpiritMaps(),
             &windows->OpportunityMaps(), &windows->Dedication(), &windows->Klingon()}) {
        page->show();
        EXPECT_FALSE(page->windowTitle().isEmpty());
        EXPECT_GT(page->findChildren<QPushButton*>().size(), 0) << page->objectName().toStdString();
        testing::SaveScreenshot(*page, page->objectName() + ".png");
    }
}

}  // namespace
}  // namespace kobrix
