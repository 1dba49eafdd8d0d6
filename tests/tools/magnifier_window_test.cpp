#include "tools/magnifier_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "tests/support/window_fixture.h"
#include "tools/clipboard_window.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kSpirit = "2P241328935EFFAUCTP2582L5M1.bmp";

class MagnifierTest : public testing::WindowsTest {
  protected:
    MagnifierWindow& Tool() { return windows->Magnifier(); }
    QString Text(QWidget& w, const char* name) {
        const QLabel* label = w.findChild<QLabel*>(name);
        return label != nullptr ? label->text() : QString("<no label %1>").arg(name);
    }
    // The pictures stay in the user's own folder, away from the program directory.
    QString Pictures() const { return testing::PicturesFolder(dir); }
    QString Path(const QString& name) const { return QDir(Pictures()).filePath(name); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Pictures())); }
    void Open() {
        OpenAll();
        Tool().SetSettingsPath(dir.filePath("kobrix.INI"));
        Main().ShowListDirectory(Pictures().toStdString());
        fakes.prompts.Clear();  // the empty program directory's warning
    }
    // What the window shows at a point of its image area.
    QColor Shown(QPoint inArea) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        auto* area = Tool().findChild<PictureView*>("Image1");
        return Tool().grab().toImage().pixelColor(area->mapTo(&Tool(), inArea));
    }
    // Every pixel tells its place: blue x / 4, green y / 4, red 128.
    static Bitmap24 Places(int width, int height) {
        Bitmap24 picture(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                std::uint8_t* p = picture.Row(y) + 3 * x;
                p[0] = static_cast<std::uint8_t>(x / 4);
                p[1] = static_cast<std::uint8_t>(y / 4);
                p[2] = 128;
            }
        }
        return picture;
    }
};

TEST_F(MagnifierTest, PictureIsDrawnAndReadByOneRuleWithStretchOnOrOff) {
    WriteBmpFile(Places(1000, 600), Path(kSpirit).toStdString());
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Magnifier Tool")->trigger();
    auto* stretch = Tool().findChild<QCheckBox*>("Stretch");
    EXPECT_TRUE(stretch->isChecked());  // larger than the area
    // The window's size after the load.
    EXPECT_EQ(Text(Tool(), "WidthLabel").toStdString(), std::to_string(Tool().width()));
    EXPECT_EQ(Text(Tool(), "HeightLabel").toStdString(), std::to_string(Tool().height()));
    // Stretched into the 501 x 501 area keeping its shape: 501 x 300, centred, black above.
    EXPECT_EQ(Shown({250, 50}), QColor(Qt::black));
    EXPECT_EQ(Shown({250, 250}).red(), 128);
    EXPECT_EQ(Shown({250, 450}), QColor(Qt::black));

    // At its own size from the top left: the pointer reads the pixel it is on.
    stretch->setChecked(false);
    const QColor at400 = Shown({400, 400});
    EXPECT_EQ(at400, QColor(128, 100, 100));
    Tool().PointerMoved({400, 400});
    EXPECT_EQ(Text(Tool(), "LocationLabel").toStdString(),
              LocationText(400, 400, static_cast<std::uint8_t>(at400.red()),
                           static_cast<std::uint8_t>(at400.green()),
                           static_cast<std::uint8_t>(at400.blue())));
    // The lens goes where the pointer is: at (400, 400) it magnifies that pixel.
    Tool().PressAt({400, 400});
    EXPECT_EQ(Shown({401, 401}), at400);
    Tool().Release();
}

TEST_F(MagnifierTest, BorderWidthZeroDrawsAOnePixelFrameOnScreen) {
    Bitmap24 grey(200, 200);
    grey.Fill(90, 90, 90);
    WriteBmpFile(grey, Path(kSpirit).toStdString());
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Magnifier Tool")->trigger();
    Tool().findChild<QSpinBox*>("Radius")->setValue(40);
    Tool().findChild<QSpinBox*>("Magnification")->setValue(4);
    Tool().findChild<QSpinBox*>("BorderWidth")->setValue(0);
    Tool().PressAt({100, 100});  // R = 40: the lens covers 60 to 139
    for (const QPoint at : {QPoint(59, 100), QPoint(140, 100), QPoint(100, 59), QPoint(100, 140)})
        EXPECT_EQ(Shown(at), QColor(Qt::red)) << at.x() << "," << at.y();
    for (const QPoint at : {QPoint(58, 100), QPoint(141, 100), QPoint(100, 141)})
        EXPECT_EQ(Shown(at), QColor(90, 90, 90)) << at.x() << "," << at.y();
    EXPECT_EQ(Shown({60, 100}), QColor(90, 90, 90));  // the magnified picture
    Tool().Release();
    EXPECT_EQ(Shown({59, 100}), QColor(90, 90, 90));
}

TEST_F(MagnifierTest, SettingsFileIsReplacedWholeNeverRewrittenInPlace) {
    WriteBmpFile(Places(32, 32), Path(kSpirit).toStdString());
    Open();
    const QByteArray before = "[Other]\r\nKey=kept\r\n";
    QFile ini(dir.filePath("kobrix.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(before);
    ini.close();
    // Someone reading the settings meanwhile (an editor, a second copy of the program).
    QFile reader(dir.filePath("kobrix.INI"));
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    Choose(kSpirit);
    Main().Menu().Item("Magnifier Tool")->trigger();
    EXPECT_EQ(reader.readAll(), before);  // the whole old file, never an emptied or mixed one
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray after = ini.readAll();
    EXPECT_TRUE(after.startsWith(before)) << after.toStdString();
    EXPECT_TRUE(after.contains("[Setup]\r\nDirectory=")) << after.toStdString();
    EXPECT_TRUE(fakes.prompts.Texts("warning").empty());
}

TEST_F(MagnifierTest, OpensOnTheImageReadsPixelsAndCapturesAfterTheCountdown) {
    Bitmap24 picture(64, 32);
    picture.Fill(0, 0, 255);  // red
    WriteBmpFile(picture, Path(kSpirit).toStdString());
    Open();
    QFile ini(dir.filePath("kobrix.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Other]\r\nKey=kept\r\n");
    ini.close();
    Choose(kSpirit);
    Main().Menu().Item("Magnifier Tool")->trigger();
    ASSERT_TRUE(Tool().isVisible());
    EXPECT_EQ(Text(Tool(), "SolLabel"), "Spirit Sol 1295");
    EXPECT_EQ(Text(Tool(), "AttributesLabel"), "64 by 32 pixels in 24 bit color");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString settings = ini.readAll();
    EXPECT_TRUE(settings.contains("[Other]\r\nKey=kept"));
    // The folder of the picture, the user's own, spaces and all.
    EXPECT_TRUE(settings.contains("[Setup]\r\nDirectory=" + Pictures() + "/\r\n"))
        << settings.toStdString();
    EXPECT_EQ(Text(Tool(), "PathLabel"), Path(kSpirit));

    Tool().PointerMoved({5, 6});
    EXPECT_EQ(Text(Tool(), "LocationLabel"), "(X,Y) = (5, 6)     (R,G,B) = (255, 0, 0) = clRed");
    Tool().PressAt({10, 10});  // the lens: a red picture behind a white-filled red border
    EXPECT_FALSE(Tool().View().Empty());
    Tool().Release();
    EXPECT_EQ(Tool().findChild<PictureView*>("Image1")->Image().pixelColor(10, 10),
              QColor(255, 0, 0));

    Tool().findChild<QLineEdit*>("DelayEdit")->setText("2");
    Tool().StartCapture();
    EXPECT_TRUE(Tool().CaptureTimer().isActive());
    Tool().CaptureTick();
    EXPECT_EQ(Tool().findChild<QPushButton*>("CaptureButton")->text(), "Screen Capture in 1");
    Tool().CaptureTick();
    EXPECT_EQ(Tool().findChild<QPushButton*>("CaptureButton")->text(), "Screen Captured");
    EXPECT_FALSE(Tool().CaptureTimer().isActive());
    EXPECT_EQ(fakes.desktop.clipboard.size(), QSize(64, 32));
    EXPECT_EQ(fakes.prompts.Texts("information"),
              (std::vector<std::string>{"Image saved to clipboard!"}));
    EXPECT_EQ(fakes.desktop.beeps, 2);

    // A delay of 0 captures at once; one that is no number starts nothing.
    Tool().findChild<QLineEdit*>("DelayEdit")->setText("0");
    Tool().StartCapture();
    EXPECT_EQ(fakes.prompts.Texts("information").size(), 2u);
    Tool().findChild<QLineEdit*>("DelayEdit")->setText("soon");
    EXPECT_THROW(Tool().StartCapture(), std::exception);
    EXPECT_FALSE(Tool().CaptureTimer().isActive());
}

TEST_F(MagnifierTest, StepsThroughTheUsersFolderAndFollowsTheSlideshow) {
    Bitmap24 red(40, 30), blue(40, 30);
    red.Fill(0, 0, 255);
    blue.Fill(255, 0, 0);
    WriteBmpFile(red, Path("a.bmp").toStdString());
    WriteBmpFile(blue, Path("b.bmp").toStdString());
    Open();
    Choose("a.bmp");
    Main().Menu().Item("Magnifier Tool")->trigger();
    const auto press = [this](const char* caption) {
        for (QPushButton* b : Tool().findChildren<QPushButton*>()) {
            if (b->text() == caption) return b->click();
        }
        FAIL() << caption;
    };
    const auto shownRed = [this] {
        return Tool().findChild<PictureView*>("Image1")->Image().pixelColor(5, 5).red();
    };
    press("Next Image >");
    EXPECT_EQ(Text(Tool(), "PathLabel"), Path("b.bmp"));
    EXPECT_EQ(shownRed(), 0);
    press("< Previous Image");
    EXPECT_EQ(Text(Tool(), "PathLabel"), Path("a.bmp"));
    EXPECT_EQ(shownRed(), 255);

    // At the folder's start the main window says so, as it always does.
    EXPECT_EQ(fakes.prompts.Texts("information"), std::vector<std::string>{"Start of directory !"});
    fakes.prompts.Clear();

    // The slideshow's steps bring their pictures into the tool.
    Tool().findChild<QCheckBox*>("Slideshow")->click();
    Main().GetBrowser().SlideshowStep();
    EXPECT_EQ(Text(Tool(), "PathLabel"), Path("b.bmp"));
    EXPECT_EQ(shownRed(), 0);
    EXPECT_TRUE(fakes.prompts.log.empty()) << fakes.prompts.log.front();
    Tool().CloseTool();
}

TEST_F(MagnifierTest, ClipboardToolShowsSavesAndSaysWhenEmpty) {
    Open();
    ClipboardWindow& clipboard = windows->Clipboard();
    const QString directory = QString::fromStdString(
        WithTrailingSeparator(MakeWorkingTree(dir.path().toStdString()).ClipboardDirectory));
    // Before any decode the name is built from the panel as it starts.
    EXPECT_TRUE(clipboard.ProposedName().startsWith(directory));
    EXPECT_TRUE(clipboard.ProposedName().endsWith("-01.bmp"));
    Main().Menu().Item("Clipboard Tool")->trigger();
    EXPECT_EQ(fakes.desktop.beeps, 1);  // nothing on the clipboard
    EXPECT_TRUE(clipboard.isVisible());

    fakes.prompts.fileChoices = {{true, directory + "a.bmp", 0}};
    clipboard.SaveClipboard();
    EXPECT_EQ(fakes.prompts.Texts("message"),
              (std::vector<std::string>{" The Clipboard was empty, there was nothing to save."}));

    QImage shot(20, 10, QImage::Format_RGB32);
    shot.fill(Qt::blue);
    fakes.desktop.clipboard = shot;
    clipboard.ShowClipboard();
    EXPECT_EQ(clipboard.Picture().Image().size(), QSize(20, 10));
    fakes.prompts.fileChoices = {{true, directory + "a.jpg", 0}};
    clipboard.SaveClipboard();  // a bitmap, whatever the name says
    EXPECT_EQ(ReadBmpFile((directory + "a.jpg").toStdString()).Width(), 20);
    clipboard.findChild<QCheckBox*>("JpegBox")->setChecked(true);
    fakes.prompts.fileChoices = {{true, directory + "b.bmp", 0}};
    clipboard.SaveClipboard();
    EXPECT_EQ(ReadJpegFile((directory + "b.jpg").toStdString()).Width(), 20);
}

TEST_F(MagnifierTest, ClipboardJpegSavesNeverReplaceEachOther) {
    Open();
    ClipboardWindow& clipboard = windows->Clipboard();
    QImage shot(12, 8, QImage::Format_RGB32);
    shot.fill(Qt::red);
    fakes.desktop.clipboard = shot;
    clipboard.findChild<QCheckBox*>("JpegBox")->setChecked(true);
    // Each save takes the name proposed, as a user pressing Enter in the dialog does.
    QStringList saved;
    for (int i = 0; i < 3; ++i) {
        const QString proposed = clipboard.ProposedName();
        saved << QFileInfo(proposed).completeBaseName();
        fakes.prompts.fileChoices = {{true, proposed, 0}};
        clipboard.SaveClipboard();
        shot.fill(i == 0 ? Qt::green : Qt::blue);
        fakes.desktop.clipboard = shot;
    }
    EXPECT_TRUE(saved[0].endsWith("-01") && saved[1].endsWith("-02") && saved[2].endsWith("-03"))
        << saved.join(" ").toStdString();
    const QDir directory(QFileInfo(clipboard.ProposedName()).path());
    EXPECT_EQ(directory.entryList({"*.jpg"}, QDir::Files).size(), 3);
    // The first capture is still the first file.
    const Bitmap24 first = ReadJpegFile(directory.filePath(saved[0] + ".jpg").toStdString());
    EXPECT_GT(first.Row(4)[2 + 3 * 6], 200);  // red
    EXPECT_LT(first.Row(4)[1 + 3 * 6], 60);
}

TEST_F(MagnifierTest, Screenshots) {
    ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath("2P241328935EFFAUCTP2582L5M1.jpg"),
                            Path("2P241328935EFFAUCTP2582L5M1.jpg")));
    Open();
    Choose("2P241328935EFFAUCTP2582L5M1.jpg");
    Tool().OpenOnCurrentImage();
    Tool().findChild<QSpinBox*>("Magnification")->setValue(4);
    Tool().PressAt({250, 300});
    testing::SaveScreenshot(Tool(), "magnifier-square.png");
    Tool().Release();
    Tool().findChild<QRadioButton*>("Circle")->setChecked(true);
    Tool().PressAt({250, 300});
    testing::SaveScreenshot(Tool(), "magnifier-circle.png");
    Tool().findChild<QLineEdit*>("DelayEdit")->setText("0");
    Tool().StartCapture();
    windows->Clipboard().ShowClipboard();
    testing::SaveScreenshot(windows->Clipboard(), "clipboard-tool.png");
}

}  // namespace
}  // namespace kobrix
