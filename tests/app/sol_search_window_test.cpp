#include "app/sol_search_window.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_menu.h"
#include "tests/app/search_window_fixture.h"
#include "tests/browse/sample_names.h"
#include "tests/support/window_fixture.h"

namespace kobrix {
namespace {

using testing::NameOnSol;

class SolSearchWindowTest : public testing::SearchWindowTest<SolSearchWindow> {
  protected:
    QString Text(const char* label) { return Control<QLabel>(label).text(); }
    bool Shown(const char* name) { return window->findChild<QWidget*>(name)->isVisibleTo(window); }
    void Click(const char* box) { Control<QCheckBox>(box).click(); }
};

TEST_F(SolSearchWindowTest, SearchStopsPastTheSolAndOpensItsGalleryPage) {
    Open({NameOnSol('2', 'N', 55), NameOnSol('2', 'N', 56), NameOnSol('2', 'n', 57),
          NameOnSol('2', 'N', 58), NameOnSol('2', 'N', 59)});
    EXPECT_EQ(window->windowTitle(), "SOL searcher");
    EXPECT_EQ(window->objectName(), "SolSearchUnit200722");
    EXPECT_EQ(Control<QLineEdit>("Edit1").text(), "100");
    for (const char* hidden : {"Label2", "Button4", "Label3", "Button2"}) {
        EXPECT_FALSE(Shown(hidden)) << hidden;
    }
    EXPECT_TRUE(Shown("Label4"));  // "Searching for MER", its value still empty
    EXPECT_EQ(Control<QLabel>("Label7").text(), "");

    // The boxes of a group act as radio buttons.
    Click("CheckBox2");
    EXPECT_FALSE(Control<QCheckBox>("CheckBox1").isChecked());
    Click("CheckBox8");
    EXPECT_EQ(Control<QLineEdit>("Edit1").text(), "1");
    Click("CheckBox5");
    for (const char* off : {"CheckBox3", "CheckBox4", "CheckBox6", "CheckBox7", "CheckBox8"}) {
        EXPECT_FALSE(Control<QCheckBox>(off).isChecked()) << off;
    }
    Control<QLineEdit>("Edit1").setText("57");

    Control<QPushButton>("Button1").click();
    EXPECT_TRUE(window->SearchTimer().isActive());
    EXPECT_TRUE(Shown("Button2"));
    EXPECT_EQ(Text("Label7") + Text("Label8") + Text("Label9"), "2N57");
    EXPECT_EQ(Text("Label13") + Text("Label14") + Text("Label15"), "2N55");
    EXPECT_EQ(Selected().toStdString(), NameOnSol('2', 'N', 56));
    testing::SaveScreenshot(*window, "sol_search_window_searching.png");

    RunWhileTimerOn();
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_EQ(Selected().toStdString(),
              NameOnSol('2', 'N', 58));  // the lower-case "n" did not count
    EXPECT_TRUE(Shown("Label2"));
    EXPECT_EQ(Text("Label2"),
              "CLICK the Find at NASA button above. SOL 57 images not present in your directory");
    EXPECT_TRUE(Shown("Button4"));
    EXPECT_TRUE(Shown("Label3"));
    EXPECT_EQ(desktop.beeps, 1);
    testing::SaveScreenshot(*window, "sol_search_window_not_present.png");

    Control<QPushButton>("Button4").click();
    Control<QPushButton>("Button4").click();
    const QString page = "https://mars.nasa.gov/mer/gallery/all/spirit_n057.html";
    EXPECT_EQ(desktop.urls, (std::vector<QString>{page, page}));
    EXPECT_EQ(Text("Label9"), "57");
    EXPECT_TRUE(prompts.log.empty());

    // Close stops a running search.
    Control<QPushButton>("Button1").click();
    Control<QPushButton>("Button3").click();
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SolSearchWindowTest, EndOfDirectoryStopsTheSearchOnce) {
    Open({NameOnSol('2', 'F', 98), NameOnSol('2', 'F', 99), NameOnSol('2', 'F', 102)});
    Main().Menu().Item("Check Loop Slideshow")->trigger();  // looping off
    int nested = 0;
    prompts.onPrompt = [&](const std::string& entry) {
        // The main window stops the search timers before its box; while the box is open timer
        // events still arrive, and must not start a second step inside the first.
        if (entry.find("End of directory") == std::string::npos) return;
        EXPECT_FALSE(window->SearchTimer().isActive());
        window->Timer1Timer();
        ++nested;
    };
    Control<QPushButton>("Button1").click();  // Opportunity, Fwd HAZCAM, 100
    RunWhileTimerOn();
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_EQ(prompts.log,
              (std::vector<std::string>{
                  "information: End of directory, no more images in this directory !"}));
    EXPECT_EQ(Selected().toStdString(), NameOnSol('2', 'F', 102));
    EXPECT_FALSE(Shown("Label2"));

    // Reached by the button's own step, the end keeps the timer from starting at all.
    prompts.Clear();
    Control<QPushButton>("Button1").click();
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_EQ(prompts.log.size(), 1u);
}

TEST_F(SolSearchWindowTest, SolBoxWithoutAWholeNumberIsRefused) {
    Open({NameOnSol('1', 'F', 99), NameOnSol('1', 'F', 101)});
    Control<QLineEdit>("Edit1").setText("one hundred");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return,
                    Qt::NoModifier);  // Search for SOL is the default
    QApplication::sendEvent(&Control<QLineEdit>("Edit1"), &enter);
    EXPECT_FALSE(window->SearchTimer().isActive());
    EXPECT_EQ(prompts.Texts("warning"),
              (std::vector<std::string>{SolSearch::NotASolText("one hundred")}));
    EXPECT_EQ(Selected().toStdString(), NameOnSol('1', 'F', 99));
    EXPECT_FALSE(Shown("Button2"));
}

}  // namespace
}  // namespace kobrix
