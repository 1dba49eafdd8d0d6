#include "app/main_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/windows.h"
#include "browse/browse_texts.h"
#include "browse/screen_fit.h"
#include "browse/working_tree.h"
#include "imaging/jpeg_io.h"
#include "tests/imaging/gif_builder.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_prompts.h"
#include "tests/support/fake_time_zone.h"
#include "tests/support/window_fixture.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kSpirit = "2P241328935EFFAUCTP2582L5M1.jpg";

void WriteJpeg(const QString& path, int width, int height) {
    Bitmap24 picture(width, height);
    picture.Fill(40, 90, 160);
    WriteJpegFile(picture, path.toStdString());
}

void WriteText(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("notes\n");
}

class MainWindowTest : public ::testing::Test {
  protected:
    testing::FakePrompts prompts;
    testing::FakeDesktop desktop;
    testing::FakeTimeZone zone;
    Platform platform{prompts, desktop, zone, DateNames::English()};
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;

    MainWindow& Main() { return windows->Main(); }
    QString Path(const char* name) const { return dir.filePath(name); }
    QString Text(const char* control) {
        if (auto* label = Main().findChild<QLabel*>(control)) return label->text();
        if (auto* edit = Main().findChild<QLineEdit*>(control)) return edit->text();
        ADD_FAILURE() << "no control " << control;
        return {};
    }
    QListWidget& FileList() { return *Main().findChild<QListWidget*>("FileListBox1"); }
    void Open() {
        // The working directories exist, as after the first start, so that nothing is asked.
        const WorkingTree tree = MakeWorkingTree(dir.path().toStdString());
        for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
            ASSERT_TRUE(QDir().mkpath(QString::fromStdString(tree.Path(number))));
        }
        windows = std::make_unique<Windows>(platform);
        windows->Start(dir.path());
    }
    void Choose(const QString& name) {
        const auto items = FileList().findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        FileList().setCurrentItem(items.front());  // as a click does
    }
};

TEST_F(MainWindowTest, RoadOfOneEvent) {
    WriteJpeg(Path(kSpirit), 1024, 1024);
    WriteText(Path("2P241328936notes.txt"));
    Open();
    // The first pass has nothing selected: no picture, an empty path caption, no message.
    EXPECT_TRUE(prompts.log.empty());
    EXPECT_EQ(Text("Label1"), "");
    EXPECT_EQ(Text("Label6"), "Using File 0 of 2");

    Choose(kSpirit);
    EXPECT_EQ(Text("Label1"), Path(kSpirit));
    EXPECT_EQ(Text("Edit2"), kSpirit);
    EXPECT_EQ(Text("Label6"), "Using File 1 of 2");
    EXPECT_EQ(Text("Label44"), "1295");
    EXPECT_EQ(Text("Label39"), "Saturday Aug 25 2007 15:47:50");
    EXPECT_EQ(Text("Label22"), "Filter 5 535nm (20nm bandpass)");
    EXPECT_EQ(Text("Label40"), "This image may be part of a Stereo pair");
    EXPECT_EQ(Main().findChild<QLabel*>("Label40")->palette().color(QPalette::WindowText),
              QColor(0, 128, 0));
    EXPECT_EQ(Text("Label77"), "1024 x 1024 pixels  24 bit");
    EXPECT_EQ(Main().Picture().Image().width(), 1024);
    EXPECT_EQ(FileList().toolTip().toStdString(),
              FileSizeText(static_cast<std::uintmax_t>(QFileInfo(Path(kSpirit)).size())));
    EXPECT_TRUE(prompts.log.empty());

    // The text file is skipped: the next picture would be shown; here it wraps to the first.
    Choose("2P241328936notes.txt");
    EXPECT_EQ(FileList().currentItem()->text(), kSpirit);
    EXPECT_EQ(Text("Label6"), "Using File 2 of 2");
}

TEST_F(MainWindowTest, NamesAreShownAsPlainTextInEveryWindow) {
    const char* marked = "2P<b>1328935EFFAUCTP2582L5M1.jpg";
    WriteJpeg(Path(marked), 8, 8);
    Open();
    Choose(marked);
    EXPECT_EQ(Text("Label1"), Path(marked));
    for (QWidget* window : windows->All()) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            // Link captions are the program's own texts, markup by design; never a name.
            if (label->property("link").toBool()) {
                EXPECT_FALSE(label->text().contains("<b>1328935")) << label->text().toStdString();
                continue;
            }
            EXPECT_EQ(label->textFormat(), Qt::PlainText)
                << window->objectName().toStdString() << " " << label->objectName().toStdString()
                << " '" << label->text().toStdString() << "'";
        }
    }
}

TEST_F(MainWindowTest, FitsEveryScreenWithoutOverlapAndDoublesFontsOnWideOnes) {
    WriteJpeg(Path(kSpirit), 512, 512);
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1280, 1024),
                               QSize(1600, 1200), QSize(1920, 1080)}) {
        SCOPED_TRACE(screen.width());
        desktop.screen = screen;
        Open();
        Choose(kSpirit);
        MainWindow& main = Main();
        main.show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        EXPECT_LE(main.width(), screen.width());
        EXPECT_LE(main.height(), screen.height());
        // The window's own font reaches its controls, doubled at 1600 x 1200.
        const double points = 8 * FontFactor({screen.width(), screen.height()});
        auto* label1 = main.findChild<QLabel*>("Label1");
        EXPECT_EQ(label1->font().pointSizeF(), points);
        EXPECT_EQ(main.findChild<QLabel*>("Label44")->font().pointSizeF(), points);
        EXPECT_EQ(label1->font().family(), "Arial");

        const auto box = [&main](const char* name) {
            auto* widget = main.findChild<QWidget*>(name);
            return QRect(widget->mapTo(&main, QPoint(0, 0)), widget->size());
        };
        const QRect picture = box("Image1");
        const QRect panel = box("DecodedPanel");
        const QRect files = box("FileListBox1");
        EXPECT_FALSE(picture.intersects(panel));
        EXPECT_FALSE(picture.intersects(files));
        EXPECT_LE(panel.right(), main.width());
        // The panel's rows are laid out in full: the last value is inside the window.
        EXPECT_LE(box("Label58").bottom(), main.height());
        // The picture is the largest thing in the window.
        EXPECT_GT(picture.width() * picture.height(), panel.width() * files.height() / 2);
        EXPECT_GT(picture.width(), files.width());
        if (screen.width() >= 1280) {
            // Whole product names fit the file list.
            const int name = FileList().fontMetrics().horizontalAdvance(kSpirit);
            EXPECT_GT(FileList().viewport()->width(), name);
        }
        testing::SaveScreenshot(
            main, QString("main_window_%1x%2.png").arg(screen.width()).arg(screen.height()));
        windows.reset();
    }
}

TEST_F(MainWindowTest, EmptyDirectoryWarnsAtStart) {
    Open();
    EXPECT_EQ(prompts.Texts("warning"),
              (std::vector<std::string>{
                  "No valid image filetypes (BMP, JPG) found in this directory !"}));
    prompts.Clear();
    // The start-up timer checks the tree again without a message.
    Main().Timer3Timer();
    EXPECT_FALSE(Main().StartupTimer().isActive());
    EXPECT_TRUE(prompts.log.empty());
    EXPECT_EQ(Main().IAmHereDirectory(), QDir(dir.path()).absolutePath());
}

TEST_F(MainWindowTest, SlideshowRunsOnTheTimerStep) {
    WriteJpeg(Path("a.jpg"), 8, 8);
    WriteJpeg(Path("b.jpg"), 8, 8);
    WriteJpeg(Path("c.jpg"), 8, 8);
    Open();
    auto* box = Main().findChild<QCheckBox*>("CheckBox3");
    box->click();
    EXPECT_TRUE(Main().SlideshowTimer().isActive());
    EXPECT_TRUE(Main().Menu().Item("Slideshow Start / Stop")->isChecked());
    Main().Timer1Timer();  // first step: the first entry, then one on
    EXPECT_EQ(FileList().currentItem()->text(), "b.jpg");
    Main().Timer1Timer();
    EXPECT_EQ(FileList().currentItem()->text(), "c.jpg");
    EXPECT_EQ(desktop.CurrentPriority(), UiPriority::Lower);
    box->click();
    EXPECT_FALSE(Main().SlideshowTimer().isActive());
    EXPECT_FALSE(Main().Menu().Item("Slideshow Start / Stop")->isChecked());
}

TEST_F(MainWindowTest, PriorityMenuKeepsOneMark) {
    Open();
    EXPECT_TRUE(Main().Menu().Item("Lower")->isChecked());
    EXPECT_TRUE(desktop.priorities.empty());  // marked, not applied
    Main().Menu().Item("Idle")->trigger();
    Main().Menu().Item("Highest")->trigger();
    for (const char* level : {"Idle", "Lowest", "Lower", "Normal", "Higher"}) {
        EXPECT_FALSE(Main().Menu().Item(level)->isChecked()) << level;
    }
    EXPECT_TRUE(Main().Menu().Item("Highest")->isChecked());
    EXPECT_EQ(desktop.CurrentPriority(), UiPriority::Highest);

    // A level the system refuses leaves the mark where it was and says why.
    Main().Menu().Item("Normal")->trigger();
    prompts.Clear();
    desktop.priorityAccepted = false;
    Main().Menu().Item("Higher")->trigger();
    EXPECT_TRUE(Main().Menu().Item("Normal")->isChecked());
    EXPECT_FALSE(Main().Menu().Item("Higher")->isChecked());
    ASSERT_EQ(prompts.Texts("warning").size(), 1u);
    EXPECT_NE(prompts.Texts("warning")[0].find("\"Higher\" (Permission denied)"),
              std::string::npos);
}

TEST_F(MainWindowTest, SmallMenuFunctions) {
    WriteJpeg(Path("2N241328935EFFAUCTP1515L0M1.jpg"), 8, 8);
    Open();
    Main().Menu().Item("Your Screen Resolution")->trigger();
    EXPECT_EQ(prompts.Texts("message"), (std::vector<std::string>{"Screen Resolution 1024 x 768"}));

    // A missing notes file is offered for creation: Yes makes it empty and opens it,
    // Cancel opens nothing.
    prompts.answers = {true, false};
    Main().Menu().Item("Open Kobrix Notes")->trigger();
    Main().Menu().Item("MarsRoverBlogNotes")->trigger();
    WriteText(Path("KOBRIX2007DevNotes.txt"));
    Main().Menu().Item("Kobrix Development Notes")->trigger();  // exists: no question
    EXPECT_EQ(prompts.Texts("question").size(), 2u);
    EXPECT_EQ(QFileInfo(Path("KOBRIX2007notes.txt")).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(Path("MarsRoverBlogNotes.txt")));
    EXPECT_EQ(desktop.editorFiles,
              (std::vector<QString>{Path("KOBRIX2007notes.txt"), Path("KOBRIX2007DevNotes.txt")}));
    Main().Menu().Item("Run Autostitch external program")->trigger();
    EXPECT_EQ(desktop.programs, (std::vector<QString>{Path("autostitch.exe")}));

    // The file-name font changes only the file list.
    const int dirFont = Main().findChild<QListWidget*>("DirectoryListBox1")->font().pointSize();
    Main().Menu().Item("12")->trigger();
    EXPECT_EQ(FileList().font().pointSize(), 12);
    EXPECT_EQ(Main().findChild<QListWidget*>("DirectoryListBox1")->font().pointSize(), dirFont);

    // Gallery page of the current image; an undecodable name stops with the number error.
    Main().Menu().Item("Visit NASA at current image")->trigger();
    EXPECT_EQ(prompts.Texts("error"),
              (std::vector<std::string>{"'Invalid' is not a valid integer value"}));
    Choose("2N241328935EFFAUCTP1515L0M1.jpg");
    Main().Menu().Item("Visit NASA at current image")->trigger();
    Main().Menu().Item("Visit NASA at current image")->trigger();
    ASSERT_EQ(desktop.urls.size(), 2u);
    EXPECT_TRUE(desktop.urls[0].endsWith("/gallery/all/spirit_n1295.html"))
        << desktop.urls[0].toStdString();
    EXPECT_EQ(desktop.urls[0], desktop.urls[1]);
}

TEST_F(MainWindowTest, ControlsAndNamedActions) {
    Open();
    EXPECT_EQ(Main().windowTitle(),
              "KOBRIX 2007.    Mars Exploration Rovers Data display and image manipulation.");
    for (const char* name :
         {"Image", "Data", "Stereo", "Manual Stereo", "TimeZone", "More Info", "GetFileSize",
          "DirsNpaths", "BufrScan", "Animate", "FontSize", "Tag", "TagSave"}) {
        EXPECT_NE(Main().findChild<QAction*>(name), nullptr) << name;
    }
    for (const char* name : {"DriveComboBox1", "DirectoryListBox1",
                             "FileListBox1",   "Edit2",
                             "Label1",         "Label6",
                             "Image1",         "Label74",
                             "Label77",        "Button1",
                             "Button8",        "Button13",
                             "Button9",        "Button6",
                             "Button7",        "CheckBox3",
                             "CheckBox4",      "Button19",
                             "CheckBox5",      "ListBox1",
                             "Label44",        "Label58"}) {
        EXPECT_NE(Main().findChild<QWidget*>(name), nullptr) << name;
    }
    EXPECT_EQ(Text("Label74"), "Image Data NASA / Planetary Data System.");
    EXPECT_TRUE(Main().Menu().Item("Check Loop Slideshow")->isChecked());
    EXPECT_FALSE(Main().Menu().Item("Check Stereo Autoshow")->isChecked());
    EXPECT_FALSE(Main().Menu().Item("Let's go to the movies")->isVisible());
    EXPECT_TRUE(Main().Menu().Item("Traverse Maps")->isEnabled());
    EXPECT_TRUE(Main().Menu().Item("3D Anaglyph Stereo Tool")->isEnabled());
    EXPECT_TRUE(Main().Menu().Item("Large Size Image")->isEnabled());
}

TEST_F(MainWindowTest, ScreenshotAfterDecoding) {
    WriteJpeg(Path(kSpirit), 640, 480);
    Open();
    Choose(kSpirit);
    Main().resize(Main().sizeHint());
    const QString shot = QDir(KOBRIX_TEST_BINARY_DIR).filePath("main_window.png");
    EXPECT_TRUE(Main().grab().save(shot));
}

TEST_F(MainWindowTest, LowerAndUpperCaseGifsAnimate) {
    using test::GifBuilder;
    using test::GifFrameSpec;
    GifBuilder gif(2, 1, {{0, 0, 0}, {255, 255, 255}});
    gif.Frame(GifFrameSpec{0, 0, 2, 1, {0, 1}, {}, false, 1, std::nullopt, 7});
    gif.Frame(GifFrameSpec{0, 0, 2, 1, {1, 0}, {}, false, 1, std::nullopt, 7});
    const std::vector<std::uint8_t> bytes = gif.Finish();
    for (const char* name : {"a.gif", "b.GIF", "c.Gif"}) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    Open();
    QTimer* timer = &Main().AnimationTimer();
    for (const char* name : {"a.gif", "b.GIF", "c.Gif"}) {
        Choose(name);
        EXPECT_EQ(timer->isActive(), std::string(name) != "c.Gif") << name;
    }
    Choose("a.gif");
    EXPECT_EQ(timer->interval(), 70);
    const QRgb first = Main().Picture().Image().pixel(0, 0);
    Main().AnimationStep();
    EXPECT_NE(Main().Picture().Image().pixel(0, 0), first);
    EXPECT_EQ(Text("Label77"), "2 x 1 pixels  24 bit");
}

}  // namespace
}  // namespace kobrix
