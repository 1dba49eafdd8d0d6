#include "app/label_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "tests/support/window_fixture.h"
#include "tests/volume/volume_builder.h"

namespace kobrix {
namespace {

QString Matches(LabelWindow& window) {
    return window.findChild<QLabel*>("LabelMatches")->text();
}

TEST(LabelWindow, ShowsTheWholeLabelWithObjectsIndented) {
    testing::WindowPlatform fakes;
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    LabelWindow window(fakes.platform);
    const QString edr = QString::fromStdString(root + "/data/sol0100/edr/" + test::kSol100Edr);
    window.ShowFile(edr);
    const QString text = window.Text();
    EXPECT_TRUE(text.startsWith("PDS_VERSION_ID = PDS3\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nOBJECT = IMAGE\n  LINES = 6\n  LINE_SAMPLES = 8\n"));
    EXPECT_TRUE(text.endsWith("END_OBJECT = IMAGE\nEND\n"));
    EXPECT_FALSE(text.contains('\r'));
    // Nothing of the VICAR header or the samples after END.
    EXPECT_FALSE(text.contains("LBLSIZE"));
    EXPECT_EQ(window.findChild<QLabel*>("LabelFile")->text(), edr + "  (PDS3)");

    // A raw .IMG shows the .LBL beside it.
    const QString raw = QString::fromStdString(root + "/data/sol0101/edr/" + test::kSol101Edr);
    window.ShowFile(raw + ".IMG");
    EXPECT_TRUE(window.Text().contains("^IMAGE = (\"" + QString::fromStdString(test::kSol101Edr) +
                                       ".IMG\", 1)"));
    EXPECT_EQ(window.findChild<QLabel*>("LabelFile")->text(), raw + ".LBL  (PDS3)");
}

TEST(LabelWindow, TheFindBoxMarksEveryMatchAndStepsThroughThem) {
    testing::WindowPlatform fakes;
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    LabelWindow window(fakes.platform);
    window.ShowFile(QString::fromStdString(root + "/data/sol0100/edr/" + test::kSol100Edr));

    // Typed as a person types it, in small letters.
    auto& find = *window.findChild<QLineEdit*>("LabelFind");
    for (const char c : std::string("sample")) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(&find, &key);
    }
    EXPECT_EQ(window.MarkedTexts(), (QStringList{"SAMPLE", "SAMPLE", "SAMPLE"}));
    EXPECT_EQ(window.CurrentMatch(), 0);
    EXPECT_EQ(Matches(window), "1 of 3");
    window.findChild<QPushButton*>("LabelNext")->click();
    window.findChild<QPushButton*>("LabelNext")->click();
    EXPECT_EQ(Matches(window), "3 of 3");
    window.findChild<QPushButton*>("LabelNext")->click();  // round to the first
    EXPECT_EQ(Matches(window), "1 of 3");
    window.findChild<QPushButton*>("LabelPrevious")->click();
    EXPECT_EQ(Matches(window), "3 of 3");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&find, &enter);
    EXPECT_EQ(Matches(window), "1 of 3");

    window.SetFindText("2004-01-04T12");
    EXPECT_EQ(window.MarkedTexts(), QStringList{"2004-01-04T12"});
    window.SetFindText("NOT IN THE LABEL");
    EXPECT_TRUE(window.MarkedTexts().isEmpty());
    EXPECT_EQ(window.CurrentMatch(), -1);
    EXPECT_EQ(Matches(window), "no match");
    window.FindNext();  // nothing to step to
    EXPECT_EQ(window.CurrentMatch(), -1);

    // Another file keeps the find text and marks its own matches.
    window.SetFindText("end_object");
    window.ShowFile(QString::fromStdString(root + "/data/sol0100/rdr/" + test::kSol100Rad));
    EXPECT_EQ(window.MarkedTexts(), QStringList{"END_OBJECT"});
    window.SetFindText("");
    EXPECT_TRUE(window.MarkedTexts().isEmpty());
    EXPECT_EQ(Matches(window), "");
}

TEST(LabelWindow, AFileWithoutALabelSaysWhy) {
    testing::WindowPlatform fakes;
    test::ScratchDir dir;
    const std::string jpeg = test::Put(dir, "picture.jpg", {0xFF, 0xD8, 0xFF});
    LabelWindow window(fakes.platform);
    window.ShowFile(QString::fromStdString(jpeg));
    EXPECT_TRUE(window.Text().startsWith("This file has no archive label to show.\n\n"));
    EXPECT_TRUE(window.Text().contains("not a PDS3, PDS4, VICAR or ISIS3 file"));
    window.ShowFile(QString());
    EXPECT_EQ(window.Text(), "");
    EXPECT_EQ(window.findChild<QLabel*>("LabelFile")->text(), "No file is chosen.");
}

TEST(LabelWindow, ScreenshotOfAFind) {
    testing::WindowPlatform fakes;
    test::ScratchDir dir;
    const std::string root = test::BuildVolume(dir);
    LabelWindow window(fakes.platform);
    window.ShowFile(QString::fromStdString(root + "/data/sol0100/edr/" + test::kSol100Edr));
    window.SetFindText("sample");
    window.FindNext();
    window.resize(560, 420);
    testing::SaveScreenshot(window, "volume-label.png");
}

}  // namespace
}  // namespace kobrix
