#include "app/large_image_page.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/fit_window.h"
#include "app/picture_view.h"
#include "tests/app/window_test_support.h"

namespace kobrix {
namespace {

class LargeImagePageTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    LargeImagePage page{fakes.platform};
    DecodeState state;

    QString Text(const char* control) {
        QLabel* label = page.Value(control);
        if (label == nullptr) {
            ADD_FAILURE() << "no label " << control;
            return {};
        }
        return label->text();
    }
    QPushButton& Button(const char* name) {
        auto* button = page.findChild<QPushButton*>(name);
        EXPECT_NE(button, nullptr) << name;
        return *button;
    }
    QStringList Captions() {
        QStringList texts;
        for (const QLabel* label : page.findChildren<QLabel*>()) {
            if (label->objectName().isEmpty()) texts << label->text();
        }
        return texts;
    }
};

TEST_F(LargeImagePageTest, BeforeAnyDecodeShowsCaptionsAndPlaceholders) {
    EXPECT_EQ(page.objectName(), "LargeImageUnit20077");
    EXPECT_EQ(page.windowTitle(), "Large Size Image Display Page");
    EXPECT_EQ(page.palette().color(QPalette::Window), QColor(Qt::white));

    const QStringList captions = Captions();
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

    const std::pair<const char*, const char*> placeholders[] = {
        {"Label7", "FILE"},    {"Label2", ""},     {"Label3", "Locale"},      {"Label4", ""},
        {"Label25", "Camera"}, {"Label6", ""},     {"Label16", "Image Type"}, {"Label14", ""},
        {"Label15", ""},       {"Label10", ""},    {"Label11", "Category"},   {"Label12", "Code"},
        {"Label13", "Filter"}, {"Label18", "Eye"}, {"Label19", "Producer"},   {"Label21", ""},
        {"Label29", "TZ"},     {"Label27", ""},    {"Label32", ""},
    };
    for (const auto& [control, text] : placeholders) EXPECT_EQ(Text(control), text) << control;

    const std::pair<const char*, const char*> buttons[] = {
        {"Button1", "Close"},
        {"Button2", "Print"},
        {"Button3", "Previous Image"},
        {"Button4", "Next Image"},
        {"Button5", "Slideshow Start/Stop"},
    };
    for (const auto& [name, text] : buttons) EXPECT_EQ(Button(name).text(), text);
}

TEST_F(LargeImagePageTest, DecodeCopiesEveryValueToItsLabel) {
    fakes.Decode(testing::kSpiritName, state);
    page.ShowDecoded(state);

    const std::pair<const char*, const char*> expected[] = {
        {"Label7", "2P241328935EFFAUCTP2582L5M1"},
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
        {"Label32", "12:00:12"},
    };
    for (const auto& [control, text] : expected) EXPECT_EQ(Text(control), text) << control;

    // The next decode replaces every value.
    fakes.Decode("1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg", state);
    page.ShowDecoded(state);
    EXPECT_EQ(Text("Label7"), "1N241637757EFF8615P1999L0M1");
    EXPECT_EQ(Text("Label3"), "Meridiani  Planum");
    EXPECT_EQ(Text("Label4"), "1278");
    EXPECT_EQ(Text("Label14"), "86");
    EXPECT_EQ(Text("Label18"), "COMBINED");
    EXPECT_EQ(Text("Label32"), "11:25:55");
}

TEST_F(LargeImagePageTest, FailedLocalTimeCopiesOnlyWhatTheDecodeHadShown) {
    fakes.Decode(testing::kSpiritName, state);
    page.ShowDecoded(state);

    fakes.zone.info = {TimeZoneInfo::State::StandardTime, "GMT", "BST"};
    fakes.zone.failConversion = true;
    fakes.Decode("1N241637757EFF8615P1999L0M1-B30C30M50-01.jpg", state);
    ASSERT_FALSE(state.failure.empty());
    page.ShowDecoded(state);

    EXPECT_EQ(Text("Label29"), "GMT");
    EXPECT_EQ(Text("Label32"), "11:25:55");
    // The copy step was never reached: the earlier image's values stay.
    EXPECT_EQ(Text("Label7"), "2P241328935EFFAUCTP2582L5M1");
    EXPECT_EQ(Text("Label2"), "2");
    EXPECT_EQ(Text("Label6"), "Saturday Aug 25 2007 15:47:50");
    EXPECT_EQ(Text("Label27"), "Saturday Aug 25 2007 17:47:50");
}

TEST_F(LargeImagePageTest, ButtonsReportAndCloseHidesAfterReporting) {
    page.show();
    std::vector<std::string> events;
    QObject::connect(&page, &LargeImagePage::printClicked, [&] { events.push_back("print"); });
    QObject::connect(&page, &LargeImagePage::previousClicked, [&] { events.push_back("previous"); });
    QObject::connect(&page, &LargeImagePage::nextClicked, [&] { events.push_back("next"); });
    QObject::connect(&page, &LargeImagePage::slideshowClicked,
            [&] { events.push_back(page.SlideshowFlag() ? "slideshow on" : "slideshow off"); });
    QObject::connect(&page, &LargeImagePage::closeClicked,
            [&] { events.push_back(page.isVisible() ? "close while shown" : "close hidden"); });

    for (const char* name : {"Button2", "Button3", "Button4", "Button5", "Button5"}) {
        Button(name).click();
    }
    EXPECT_TRUE(page.isVisible());
    Button("Button1").click();
    EXPECT_FALSE(page.isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"print", "previous", "next", "slideshow on",
                                                "slideshow off", "close while shown"}));
}

TEST_F(LargeImagePageTest, OnlyALeftClickOnThePictureReports) {
    page.show();
    int clicks = 0;
    QObject::connect(&page, &LargeImagePage::pictureClicked, [&] { ++clicks; });
    testing::Click(*page.Picture(), Qt::RightButton);
    testing::Click(*page.Picture(), Qt::MiddleButton);
    EXPECT_EQ(clicks, 0);
    testing::Click(*page.Picture(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(LargeImagePageTest, PictureIsShownProportionalAndCentred) {
    const Bitmap24 bitmap = testing::SamplePicture(64, 32);
    page.SetPicture(bitmap);
    PictureView& picture = *page.Picture();
    EXPECT_EQ(picture.Image().size(), QSize(64, 32));
    EXPECT_TRUE(picture.Proportional());
    EXPECT_TRUE(picture.Center());
    EXPECT_FALSE(picture.Stretch());
    page.SetStretch(true);
    EXPECT_TRUE(picture.Stretch());
}

TEST_F(LargeImagePageTest, CentredOnTheDesktopOnlyWhenFirstShown) {
    fakes.desktop.screen = {1600, 1200};
    page.resize(700, 500);
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
    std::vector<QRect> rects;
    for (QWidget* control : controls) {
        const QRect rect(control->mapTo(&window, QPoint(0, 0)), control->size());
        const QString name = control->property("text").toString();
        EXPECT_TRUE(window.rect().contains(rect)) << name.toStdString();
        EXPECT_GE(control->width(), control->sizeHint().width()) << name.toStdString();
        EXPECT_GE(control->height(), control->sizeHint().height()) << name.toStdString();
        rects.push_back(rect);
    }
    for (std::size_t i = 0; i < rects.size(); ++i) {
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            EXPECT_FALSE(rects[i].intersects(rects[j]))
                << controls[static_cast<int>(i)]->property("text").toString().toStdString() << " / "
                << controls[static_cast<int>(j)]->property("text").toString().toStdString();
        }
    }
}

// Fitted to the screen as start-up does it, filled with a decoded image, saved for a look.
TEST_F(LargeImagePageTest, ScreenshotsAtCommonScreenSizes) {
    fakes.Decode(testing::kSpiritName, state);
    page.ShowDecoded(state);
    page.SetPicture(testing::SamplePicture(1024, 1024));
    // The longest texts the tables hold must fit too.
    page.Value("Label11")->setText("Seq. triggered by a communications window.");
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
        EXPECT_LE(page.width(), screen.width());
        EXPECT_LE(page.height(), screen.height());
        ExpectTidyLayout(page);
        testing::SaveScreenshot(
            page,
            QStringLiteral("large_image_page_%1x%2.png").arg(screen.width()).arg(screen.height()));
        page.hide();
    }
}

}  // namespace
}  // namespace kobrix
