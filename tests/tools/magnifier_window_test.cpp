#include "tools/magnifier_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
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
    QString Text(QWidget& w, const char* name) { return w.findChild<QLabel*>(name)->text(); }
    void Open() {
        WindowsTest::Open();
        Tool().SetSettingsPath(dir.filePath("kobrix.INI"));
    }
};

TEST_F(MagnifierTest, OpensOnTheImageReadsPixelsAndCapturesAfterTheCountdown) {
    Bitmap24 picture(64, 32);
    picture.Fill(0, 0, 255);  // red
    WriteBmpFile(picture, dir.filePath(kSpirit).toStdString());
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
    EXPECT_TRUE(settings.contains("[Setup]\r\nDirectory="));

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

TEST_F(MagnifierTest, Screenshots) {
    ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath("2P241328935EFFAUCTP2582L5M1.jpg"),
                            dir.filePath("2P241328935EFFAUCTP2582L5M1.jpg")));
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
