#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/bitmap24.h"
#include "imaging/jpeg_io.h"
#include "pages/earth_time_page.h"
#include "pages/information_text_pages.h"
#include "pages/martian_time_page.h"
#include "tests/support/window_fixture.h"

namespace kobrix {
namespace {

constexpr const char* kSpiritName = "2P241328935EFFAUCTP2582L5M1.jpg";
using Texts = std::vector<std::pair<const char*, const char*>>;

// 2024-03-10 09:08:07 UTC.
DateTime FixedNow() {
    return EncodeDateTime(2024, 3, 10, 9, 8, 7, 400);
}

template <typename Page>
void ExpectValues(const Page& page, const Texts& expected) {
    for (const auto& [control, text] : expected) {
        ASSERT_NE(page.Value(control), nullptr) << control;
        EXPECT_EQ(page.Value(control)->text().toStdString(), text) << control;
    }
}

// Every visible label and button has the room it asks for, inside the window, overlapping
// no other.
void ExpectTidyLayout(QWidget& window) {
    QList<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if ((qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w)) && w->isVisibleTo(&window))
            controls << w;
    }
    const auto name = [](QWidget* w) { return w->property("text").toString().toStdString(); };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect rect(controls[i]->mapTo(&window, QPoint(0, 0)), controls[i]->size());
        EXPECT_TRUE(window.rect().contains(rect)) << name(controls[i]);
        EXPECT_GE(controls[i]->width(), controls[i]->sizeHint().width()) << name(controls[i]);
        const auto* label = qobject_cast<QLabel*>(controls[i]);
        const int needed = label && label->wordWrap() ? label->heightForWidth(label->width())
                                                      : controls[i]->sizeHint().height();
        EXPECT_GE(controls[i]->height(), needed) << name(controls[i]);
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect other(controls[j]->mapTo(&window, QPoint(0, 0)), controls[j]->size());
            EXPECT_FALSE(rect.intersects(other)) << name(controls[i]) << " / " << name(controls[j]);
        }
    }
}

class TimePagesTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;  // two hours east of UTC, "CEST"
    DecodeState state;
};

TEST_F(TimePagesTest, EarthPageForClock241328935AndAnInvalidClock) {
    EarthTimePage page(fakes.platform);
    page.SetClock(&FixedNow);
    ExpectValues(page, {{"Label63", "673275739"}, {"Label41", ""}});

    fakes.Decode(kSpiritName, state);
    page.ShowDecoded(state);
    // The decode writes the zone and the local capture time; the rest waits for Display Time.
    ExpectValues(
        page, {{"Label15", "CEST"}, {"Label13", "Saturday Aug 25 2007 17:47:50"}, {"Label41", ""}});
    page.Button2Click();
    ExpectValues(page, {{"Label41", "241328935"},
                        {"Label43", "4022148"},
                        {"Label47", "241328880"},
                        {"Label45", "55"},
                        {"Label49", "67035"},
                        {"Label51", "4022100"},
                        {"Label53", "48"},
                        {"Label55", "2793"},
                        {"Label57", "67032"},
                        {"Label59", "3"},
                        {"Label61", "2793 Days, 3 Hours, 48 Minutes, 55 Seconds."},
                        {"Label5", "Saturday 25 of Aug 2007 15:47:50"},
                        {"Label10", "Sunday 10 of Mar 2024 11:08:07"},
                        {"Label11", "Sunday 10 of Mar 2024 09:08:07"},
                        {"Label63", "673275739"}});
    EXPECT_DOUBLE_EQ(page.ImageTimeUtc(), state.times.ImageTimeUtc);

    fakes.Decode("2PABCDEFGHIEFFAUCTP2582L5M1.jpg", state);
    page.ShowDecoded(state);
    EXPECT_EQ(page.Value("Label41")->text(), "241328935");  // not recomputed by the decode
    page.Button2Click();
    ExpectValues(page, {{"Label41", "Invalid Spacecraft Clock Value"},
                        {"Label43", "0"},
                        {"Label47", "0"},
                        {"Label45", "00"},
                        {"Label49", "0"},
                        {"Label51", "0"},
                        {"Label53", "00"},
                        {"Label55", "0"},
                        {"Label57", "0"},
                        {"Label59", "0"},
                        {"Label61", "0 Days, 0 Hours, 00 Minutes, 00 Seconds."},
                        {"Label5", "Saturday 1 of Jan 2000 11:58:55"},
                        {"Label13", "Saturday Jan 1 2000 13:58:55"}});
}

TEST_F(TimePagesTest, EarthPageAfterAFailedConversion) {
    EarthTimePage page(fakes.platform);
    page.SetClock(&FixedNow);
    fakes.Decode(kSpiritName, state);
    page.ShowDecoded(state);
    // The next decode stops at the local time: the clock and zone are new, the local
    // capture time stays the last one shown, and the present local time says why it is missing.
    fakes.zone.failConversion = true;
    fakes.zone.info.daylightName = "Other Zone";
    fakes.Decode("2P000000007EFFAUCTP2582L5M1.jpg", state);
    ASSERT_FALSE(state.failure.empty());
    page.ShowDecoded(state);
    page.Button2Click();
    ExpectValues(page, {{"Label41", "000000007"},
                        {"Label45", "07"},
                        {"Label15", "Other Zone"},
                        {"Label13", "Saturday Aug 25 2007 17:47:50"},
                        {"Label10", "The parameter is incorrect."},
                        {"Label11", "Sunday 10 of Mar 2024 09:08:07"}});
}

TEST_F(TimePagesTest, MartianPageUsesOpportunityForAnyTextButTwo) {
    MartianTimePage page(fakes.platform);
    EXPECT_TRUE(page.windowFlags() & Qt::WindowStaysOnTopHint);

    fakes.Decode(kSpiritName, state);
    page.ShowDecoded(state);
    ExpectValues(page, {{"Label6", "2"},
                        {"Label8", "14:24:15"},
                        {"Label63", "1293"},
                        {"Label61", "21"},
                        {"Label59", "35"},
                        {"Label57", "57"},
                        {"Label14", "1293"},
                        {"Label15", "31053"},
                        {"Label16", "1863215"},
                        {"Label17", "111792957"},
                        {"Label47", "12:00:12"}});

    // A name outside the scheme leaves "Invalid" as the rover number; the next one with an
    // unknown digit is worked out from it, with Opportunity's landing time and seconds.
    fakes.Decode("9P241328935EFFAUCTP2582L5M1.jpg", state);
    fakes.Decode("9P241328935EFFAUCTP2582L5M1.jpg", state);
    page.ShowDecoded(state);
    const std::string fromLanding = std::to_string(static_cast<std::int64_t>(
        state.times.SecondsFromLanding[RoverIndex::kOpportunity] / MarsSecondRatio));
    ExpectValues(page, {{"Label6", "Invalid"},
                        {"Label8", "13:20:49"},
                        {"Label17", fromLanding.c_str()},
                        {"Label47", state.panel.martianLocalTime.c_str()}});
}

TEST_F(TimePagesTest, TextPagesAreReadOnlyLimeOnBlack) {
    MartianCalendarPage calendar(fakes.platform);
    DataDecodingPage decoding(fakes.platform);
    EXPECT_EQ(calendar.windowTitle(), "Martian Calendar");
    EXPECT_EQ(decoding.windowTitle(), "Data Decoding Information");
    EXPECT_EQ(calendar.findChild<QLabel*>("Label1")->text(),
              "All references to time in this software are Solar Time and not Sidereal Time.");

    const std::pair<InformationTextPage*, QStringList> pages[] = {
        {&calendar,
         {"24 hours, 39 minutes and 35.244 seconds", "86400", "88775",
          "One Martian Second equals 1.0274884259259 ad infinitum, Earth seconds.", "Aquarius",
          "Capricorn", "25.2 degrees", "23.45 degrees",
          "Northern Spring, Southern Autumn          193.30              92.764",
          "Northern Winter, Southern Summer          153.95              88.997"}},
        {&decoding,
         {"File name code", "11:58:55.816 UTC", "EHG = Histogram EDR", "A0", "AB",
          "4000 through 4095   Misc. PMA actuation sequences (deploy)", "Z = SCM Sequences",
          "MI window open, 400-700nm", "V = SSV Team (H. Vantor) at JPL", "1 to 9, then A to Z",
          "2P126471340EDN0000P2303L5M1.JPG", "stereograms", "colour composites", "public web"}},
    };
    for (const auto& [page, quoted] : pages) {
        SCOPED_TRACE(page->windowTitle().toStdString());
        QPlainTextEdit* box = page->TextBox();
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_TRUE(box->styleSheet().contains("background: black"));
        EXPECT_TRUE(box->styleSheet().contains("color: lime"));
        for (const QString& text : quoted) {
            EXPECT_TRUE(page->Text().contains(text)) << text.toStdString();
        }
        page->show();
        page->findChild<QPushButton*>("Button1")->click();
        EXPECT_FALSE(page->isVisible());
    }
}

class TimePagesThroughMainWindowTest : public TimePagesTest {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;

    void OpenOn(const char* name) {
        Bitmap24 picture(64, 48);
        picture.Fill(40, 90, 160);
        WriteJpegFile(picture, dir.filePath(name).toStdString());
        // The working directories exist, so that the display pass asks nothing.
        const WorkingTree tree = MakeWorkingTree(dir.path().toStdString());
        for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
            QDir().mkpath(QString::fromStdString(tree.Path(number)));
        }
        windows = std::make_unique<Windows>(fakes.platform);
        windows->EarthTime().SetClock(&FixedNow);
        windows->Start(dir.path());
        auto* files = windows->Main().findChild<QListWidget*>("FileListBox1");
        files->setCurrentItem(files->findItems(name, Qt::MatchExactly).front());
    }
    QAction* Item(const char* caption) { return windows->Main().Menu().Item(caption); }
};

TEST_F(TimePagesThroughMainWindowTest, DecodeFillsThePagesAndTheMenuOpensThem) {
    OpenOn(kSpiritName);
    MartianTimePage& martian = windows->MartianTime();
    EarthTimePage& earth = windows->EarthTime();
    // Worked out by the decode while hidden.
    EXPECT_FALSE(martian.isVisible());
    ExpectValues(martian, {{"Label6", "2"}, {"Label63", "1293"}, {"Label47", "12:00:12"}});
    ExpectValues(earth, {{"Label15", "CEST"}, {"Label13", "Saturday Aug 25 2007 17:47:50"}});

    const std::pair<const char*, QWidget*> items[] = {
        {"Earth Variables Display", &earth},
        {"Martian Variables Display", &martian},
        {"Martian Calendar", &windows->MartianCalendar()},
        {"MER Data Decoding", &windows->DataDecoding()},
    };
    for (const auto& [caption, page] : items) {
        ASSERT_TRUE(Item(caption)->isEnabled()) << caption;
        Item(caption)->trigger();
        EXPECT_TRUE(page->isVisible()) << caption;
    }
    ExpectValues(earth, {{"Label41", "241328935"},
                         {"Label61", "2793 Days, 3 Hours, 48 Minutes, 55 Seconds."},
                         {"Label10", "Sunday 10 of Mar 2024 11:08:07"}});
    // Centred on the desktop, whatever the other windows do.
    const QSize screen = fakes.desktop.screen;
    EXPECT_NEAR(martian.frameGeometry().center().x(), screen.width() / 2, 2);
    EXPECT_NEAR(martian.frameGeometry().center().y(), screen.height() / 2, 2);
    EXPECT_TRUE(fakes.prompts.log.empty());

    for (const auto& [caption, page] : items) {
        SCOPED_TRACE(caption);
        ExpectTidyLayout(*page);
        testing::SaveScreenshot(*page, page->objectName() + ".png");
        page->findChild<QPushButton*>("Button1")->click();
        EXPECT_FALSE(page->isVisible());
    }
    // Opening the Martian page again shows the last decode's values, unchanged.
    Item("Martian Variables Display")->trigger();
    EXPECT_EQ(martian.Value("Label17")->text(), "111792957");
}

}  // namespace
}  // namespace kobrix
