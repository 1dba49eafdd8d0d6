// Every item of the main window's menu bar, chosen as a user chooses it: the window it names
// comes up.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include <gtest/gtest.h>

#include "app/birthday_search_window.h"
#include "app/directories_window.h"
#include "app/full_size_window.h"
#include "app/large_image_page.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/manual_stereo_window.h"
#include "app/slideshow_delay_window.h"
#include "app/sol_search_window.h"
#include "app/stereo_viewer.h"
#include "app/windows.h"
#include "colour/anaglyph_window.h"
#include "colour/colour_window.h"
#include "colour/sunset_window.h"
#include "movie/avi_tool_window.h"
#include "pages/dedication_page.h"
#include "pages/earth_time_page.h"
#include "pages/help_pages.h"
#include "pages/information_text_pages.h"
#include "pages/klingon_page.h"
#include "pages/link_pages.h"
#include "pages/martian_time_page.h"
#include "pages/traverse_maps.h"
#include "tests/support/window_fixture.h"
#include "tools/clipboard_window.h"
#include "tools/magnifier_window.h"
#include "tools/tagging_window.h"

namespace kobrix {
namespace {

// Every item of the bar, submenus walked, in menu order.
QList<QAction*> MenuItems(QMenuBar& bar) {
    QList<QAction*> items;
    std::function<void(QMenu&)> walk = [&](QMenu& menu) {
        for (QAction* action : menu.actions()) {
            if (action->isSeparator()) continue;
            if (action->menu() != nullptr) {
                walk(*action->menu());
            } else {
                items << action;
            }
        }
    };
    for (QAction* action : bar.actions()) {
        if (action->menu() != nullptr) walk(*action->menu());
    }
    return items;
}

class MenuWindowsTest : public testing::WindowsTest {
  protected:
    void SetUp() override {
        // A stereo pair and a colour frame of the bundled samples, and a folder of the user's
        // own to browse (neither the program's nor its pictures folder).
        for (const char* name :
             {"2N241329230EFFAUCTP1952L0M1.jpg", "2N241329230EFFAUCTP1952R0M1.jpg",
              "2P241328935EFFAUCTP2582L5M1.jpg"}) {
            ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath(name), dir.filePath(name)));
        }
        OpenAll();
        ASSERT_TRUE(testing::ChooseFile(windows->Main(), "2N241329230EFFAUCTP1952L0M1.jpg"));
    }

    // Caption of each item that shows a window, and that window.
    std::vector<std::pair<QString, QWidget*>> WindowItems() {
        Windows& w = *windows;
        return {
            {"Directories", &w.Directories()},
            {"Full Size Image", &w.FullSize()},
            {"Large Size Image", &w.LargePage()},
            {"Manual Stereo Image Selection", &w.ManualStereo()},
            {"Show Stereo Image Pair", &w.Stereo()},
            {"Sunset Sim fade", &w.Sunset()},
            {"Traverse Maps", &w.TraverseChooser()},
            {"3D Anaglyph Stereo Tool", &w.Anaglyph()},
            {"3D Stereo XI Tool", &w.Stereo()},
            {"AVI Creation Tool", &w.AviTool()},
            {"Clipboard Tool", &w.Clipboard()},
            {"Colour Image Tool", &w.Colour()},
            {"Magnifier Tool", &w.Magnifier()},
            {"My Birthday Search Tool", &w.BirthdaySearch()},
            {"SOL / Camera Search Tool", &w.SolSearch()},
            {"Watermark Tool", &w.Tagging()},
            {"Slideshow Delay", &w.SlideshowDelay()},
            {"tlhIngan Hol ", &w.Klingon()},
            {"Earth Variables Display", &w.EarthTime()},
            {"Martian Calendar", &w.MartianCalendar()},
            {"Martian Variables Display", &w.MartianTime()},
            {"MER Data Decoding", &w.DataDecoding()},
            {"The Help Menu", &w.HelpHub()},
            {"Those that went before us", &w.Dedication()},
            {"MER Image Web Links", &w.Links(LinkPageId::Mission)},
            {"Mars Software Web Links", &w.Links(LinkPageId::MartianSoftware)},
            {"Mars Data Websites/Societies", &w.Links(LinkPageId::MarsWebsites)},
            {"Other Space Activities/Missions", &w.Links(LinkPageId::SolarSystem)},
            {"Meteorites", &w.Links(LinkPageId::Meteorites)},
            {"Amateur Radio in Space", &w.Links(LinkPageId::AmateurRadio)},
            {"Your Participation", &w.Links(LinkPageId::Participate)},
            {"Help", &w.HelpHub()},
        };
    }
};

TEST_F(MenuWindowsTest, EveryItemThatNamesAWindowShowsIt) {
    MainWindow& main = windows->Main();
    // Items that act on the main window, a file, an option or another program, and show no
    // window of their own; their tests are with those functions.
    QSet<QString> noWindow = {"Delete",
                              "Save as",
                              "Close",
                              "Open Kobrix Notes",
                              "Kobrix Development Notes",
                              "MarsRoverBlogNotes",
                              "Slideshow Start / Stop",
                              "Check Print / Clipboard",
                              "Check Stereo Autoshow",
                              "Thumbnails as Fullsize",
                              "Check Loop Slideshow",
                              "Auto L4L5L6 RGB",
                              "Force Manual Colour",
                              "Let's go to the movies",
                              "Your Screen Resolution",
                              "Visit NASA at current image",
                              "Run Autostitch external program",
                              "Run Stereo Photo Maker external program"};
    for (const char* level : {"Idle", "Lowest", "Lower", "Normal", "Higher", "Highest"})
        noWindow << level;
    for (int size = 5; size <= 14; ++size) noWindow << QString::number(size);

    const auto items = WindowItems();
    QSet<QString> listed = noWindow;
    for (const auto& [caption, window] : items) listed << caption;
    // A new item must be placed here: either it shows a window, tested below, or it does not.
    for (QAction* action : MenuItems(*main.menuBar())) {
        EXPECT_TRUE(listed.contains(action->text()))
            << "menu item \"" << action->text().toStdString() << "\" is not in this test";
    }

    for (const auto& [caption, window] : items) {
        for (QWidget* other : windows->All()) {
            if (other != &main) other->hide();
        }
        QAction* action = main.Menu().Item(caption);
        ASSERT_NE(action, nullptr) << caption.toStdString();
        EXPECT_TRUE(action->isEnabled()) << caption.toStdString();
        fakes.prompts.Clear();
        action->trigger();
        EXPECT_TRUE(window->isVisible())
            << caption.toStdString() << " did not show " << window->windowTitle().toStdString();
        EXPECT_FALSE(window->isMinimized()) << caption.toStdString();
        EXPECT_FALSE(window->size().isEmpty()) << caption.toStdString();
        EXPECT_TRUE(main.isVisible()) << caption.toStdString();
        // Nothing went wrong on the way (the AVI tool's folder is empty: it says so).
        EXPECT_TRUE(fakes.prompts.Texts("error").empty()) << caption.toStdString();
    }
}

}  // namespace
}  // namespace kobrix
