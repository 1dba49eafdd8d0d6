#include "app/large_image_page.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"
#include "widgets/fit_window.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kSpirit = "2P241328935EFFAUCTP2582L5M1.jpg";
using Texts = std::vector<std::pair<const char*, const char*>>;

class LargeImagePageTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    LargeImagePage page{fakes.platform};
    DecodeState state;

    void ExpectValues(const Texts& expected) {
        for (const auto& [control, text] : expected) {
            ASSERT_NE(page.Value(control), nullptr) << control;
            EXPECT_EQ(page.Value(control)->text(), text) << control;
        }
    }
    void Decode(std::string_view name) {
        fakes.Decode(name, state);
        page.ShowDecoded(state);
    }
};

TEST_F(LargeImagePageTest, CaptionsAndPlaceholdersBeforeAnyDecode) {
    QStringList captions;
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (label->objectName().isEmpty()) captions << label->text();
    }
    for (const char* caption : {"Rover",
                                "Locale",
                                "SOL",
                                "Earthtime",
                                "FILE",
                                "Site",
                                "Drive",
                                "Command sequence",
                                "Category",
                                "Code",
                                "Filter",
                                "Image Type",
                                "Command",
                                "Eye",
                                "Producer",
                                "Version",
                                "Sequence Code",
                                "Time on Earth (UTC)",
                                "Camera",
                                "Time on Earth (LOCAL)",
                                "Local Time Zone",
                                "Local Martian time",
                                "Solar Time Error can approx +/- 1 hour.",
                                "Image NASA / Planetary Data System"}) {
        EXPECT_EQ(captions.count(caption), 1) << caption;
    }
    ExpectValues({{"Label7", "FILE"},
                  {"Label2", ""},
                  {"Label3", "Locale"},
                  {"Label4", ""},
                  {"Label25", "Camera"},
                  {"Label6", ""},
                  {"Label16", "Image Type"},
                  {"Label14", ""},
                  {"Label15", ""},
                  {"Label10", ""},
                  {"Label11", "Category"},
                  {"Label12", "Code"},
                  {"Label13", "Filter"},
                  {"Label18", "Eye"},
                  {"Label19", "Producer"},
                  {"Label21", ""},
                  {"Label29", "TZ"},
                  {"Label27", ""},
                  {"Label32", ""}});
}

TEST_F(LargeImagePageTest, DecodeCopiesEveryValueToItsLabel) {
    const Texts spirit = {{"Label7", "2P241328935EFFAUCTP2582L5M1"},
                          {"Label2", "2"},
                          {"Label3", "Gusev  Crater"},
                          {"Label4", "1295"},
                          {"Label25", "PANCAM Panoramic Camera"},
                          {"Label6", "Saturday Aug 25 2007 15:47:50"},
                          {"Label16", "EFF Full Frame EDR"},
                          {"Label14", "AU"},
                          {"Label15", "CT"},
                          {"Label10", "P2582"},
                          {"Label11", "PMA and Remote Sensing instrument."},
                          {"Label12", "PANCAM sequences."},
                          {"Label13", "Filter 5 535nm (20nm bandpass)"},
                          {"Label18", "Left Eye"},
                          {"Label19", "MIPL (OPGS) at JPL"},
                          {"Label21", "1"},
                          {"Label29", "CEST"},
                          {"Label27", "Saturday Aug 25 2007 17:47:50"},
                          {"Label32", "12:00:12"}};
    Decode(kSpirit);
    ExpectValues(spirit);

    // A decode stopped by the local time conversion had shown only the zone and the Martian
    // time; the page keeps the earlier image's other values.
    fakes.zone.info = {TimeZoneInfo::State::StandardTime, "GMT", "BST", {}};
    fakes.zone.failConversion = true;
    Decode("1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg");
    ASSERT_FALSE(state.failure.empty());
    Texts kept = spirit;
    kept[16].second = "GMT";
    kept[18].second = "11:25:55";
    ExpectValues(kept);

    fakes.zone.failConversion = false;
    Decode("1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg");
    ExpectValues({{"Label7", "1N241637757EFF8615P1999L0M1"},
                  {"Label3", "Meridiani  Planum"},
                  {"Label6", "Wednesday Aug 29 2007 05:34:52"},
                  {"Label18", "COMBINED"}});
}

TEST_F(LargeImagePageTest, ButtonsAndPictureReportCloseHidesAfterReporting) {
    page.show();
    std::vector<std::string> events;
    const auto record = [&](auto signal, const char* name) {
        QObject::connect(&page, signal, [&events, name] { events.push_back(name); });
    };
    record(&LargeImagePage::printClicked, "print");
    record(&LargeImagePage::previousClicked, "previous");
    record(&LargeImagePage::nextClicked, "next");
    record(&LargeImagePage::pictureClicked, "picture");
    QObject::connect(&page, &LargeImagePage::slideshowClicked,
                     [&] { events.push_back(page.SlideshowFlag() ? "on" : "off"); });
    QObject::connect(&page, &LargeImagePage::closeClicked,
                     [&] { events.push_back(page.isVisible() ? "close" : "close hidden"); });

    const Texts buttons = {{"Button2", "Print"},
                           {"Button3", "Previous Image"},
                           {"Button4", "Next Image"},
                           {"Button5", "Slideshow Start/Stop"},
                           {"Button5", "Slideshow Start/Stop"},
                           {"Button1", "Close"}};
    for (const auto& [name, text] : buttons) {
        auto* button = page.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), text);
        if (QString(name) == "Button1") {
            testing::Click(*page.Picture(), Qt::RightButton);  // only a left click reports
            testing::Click(*page.Picture(), Qt::LeftButton);
        }
        button->click();
    }
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"print", "previous", "next", "on", "off", "picture",
                                                "close"}));
}

TEST_F(LargeImagePageTest, CentredOnTheDesktopOnlyWhenFirstShown) {
    fakes.desktop.screen = {1600, 1200};
    page.show();
    EXPECT_NEAR(page.frameGeometry().center().x(), 800, 1);
    EXPECT_NEAR(page.frameGeometry().center().y(), 600, 1);
    page.hide();
    page.move(10, 20);
    page.show();
    EXPECT_EQ(page.pos(), QPoint(10, 20));
}

// Every label and button has the room it asks for, inside the window, overlapping nothing.
void ExpectTidyLayout(QWidget& window) {
    QList<QWidget*> controls;
    for (QLabel* label : window.findChildren<QLabel*>()) controls << label;
    for (QPushButton* button : window.findChildren<QPushButton*>()) controls << button;
    const auto name = [](QWidget* w) { return w->property("text").toString().toStdString(); };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect rect(controls[i]->mapTo(&window, QPoint(0, 0)), controls[i]->size());
        EXPECT_TRUE(window.rect().contains(rect)) << name(controls[i]);
        EXPECT_GE(controls[i]->width(), controls[i]->sizeHint().width()) << name(controls[i]);
        EXPECT_GE(controls[i]->height(), controls[i]->sizeHint().height()) << name(controls[i]);
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect other(controls[j]->mapTo(&window, QPoint(0, 0)), controls[j]->size());
            EXPECT_FALSE(rect.intersects(other)) << name(controls[i]) << " / " << name(controls[j]);
        }
    }
}

// Fitted to the screen as start-up fits it, filled with a decoded image, saved for a look.
TEST_F(LargeImagePageTest, LayoutAtCommonScreenSizes) {
    Decode(kSpirit);
    page.SetImage(testing::SampleImage(1024, 1024));
    page.Value("Label11")->setText("Seq. triggered by a communications window.");  // longest
    page.ensurePolished();
    page.adjustSize();
    const QSize designed = page.size();
    for (const QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)}) {
        SCOPED_TRACE(screen.width());
        page.setMinimumSize(0, 0);
        page.resize(designed);
        fakes.desktop.screen = screen;
        FitWindowToScreen(page, fakes.desktop, FitSteps::WithoutFont, {&page});
        page.show();
        QApplication::processEvents();  // the picture squares itself in a second layout pass
        EXPECT_LE(page.width(), screen.width());
        EXPECT_LE(page.height(), screen.height());
        const QRect drawn = page.Picture()->PictureRect();
        EXPECT_EQ(drawn.width(), page.Picture()->width());  // no empty band beside it
        ExpectTidyLayout(page);
        testing::SaveScreenshot(
            page, QString("large_image_page_%1x%2.png").arg(screen.width()).arg(screen.height()));
        page.hide();
    }
}

}  // namespace
}  // namespace kobrix
