#include "tools/tagging_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
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
#include "tools/core/charsets.h"
#include "tools/language_window.h"
#include "tools/script_fonts.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kSpirit = "2P241328935EFFAUCTP2582L5M1.jpg";

class TaggingTest : public testing::WindowsTest {
  protected:
    TaggingWindow& Tool() { return windows->Tagging(); }
    // The pictures stay in the user's own folder, away from the program directory.
    QString Pictures() const { return testing::PicturesFolder(dir); }
    QString Path(const QString& name) const { return QDir(Pictures()).filePath(name); }
    QString MainText(const char* name) { return Main().findChild<QLabel*>(name)->text(); }
    template <typename W>
    W& In(QWidget& window, const char* name) {
        return *window.findChild<W*>(name);
    }
    void Write(const QString& name, int width, int height) {
        Bitmap24 picture(width, height);
        picture.Fill(0, 0, 0);
        WriteJpegFile(picture, Path(name).toStdString());
    }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(Pictures())); }
    void Open() {
        OpenAll();
        Main().ShowListDirectory(Pictures().toStdString());
        fakes.prompts.Clear();  // the empty program directory's warning
    }
    // Pixels of the tool's picture that the yellow text reached, by row.
    static std::pair<int, int> YellowRows(const Bitmap24& picture) {
        int first = -1, last = -1;
        for (int y = 0; y < picture.Height(); ++y) {
            const std::uint8_t* p = picture.Row(y);
            for (int x = 0; x < picture.Width(); ++x, p += 3) {
                if (p[2] > 60 && p[1] > 60 && p[0] < 40) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
            }
        }
        return {first, last};
    }
};

TEST_F(TaggingTest, FontFollowsThePictureWidthUnlessUserTagIsOn) {
    Write("a-1023.jpg", 1023, 64);
    Write("b-1024.jpg", 1024, 64);
    Open();
    Choose("b-1024.jpg");
    EXPECT_EQ(MainText("Label78"), "Font size 28");
    EXPECT_EQ(Tool().Origin(), (TagPreset{10, 10, 28}));
    Choose("a-1023.jpg");
    EXPECT_EQ(MainText("Label78"), "Font size 16");
    EXPECT_EQ(Tool().Origin(), (TagPreset{7, 7, 16}));
    // With "User Tag" on the user's font stays; only the caption is refreshed.
    In<QCheckBox>(Main(), "CheckBox5").setChecked(true);
    Choose("b-1024.jpg");
    EXPECT_EQ(Tool().DrawingFontSize(), 16);
    EXPECT_EQ(MainText("Label78"), "Font size 16");
}

TEST_F(TaggingTest, UserTagRefreshesTheCaptionAsTheMenuItemDoes) {
    Write("b-1024.jpg", 1024, 64);
    Open();
    Choose("b-1024.jpg");
    EXPECT_EQ(MainText("Label78"), "Font size 28");
    In<QSpinBox>(Tool(), "FontSize").setValue(40);  // the user's own size
    auto& userTag = In<QCheckBox>(Main(), "CheckBox5");
    userTag.click();  // on: the user's size stays and the caption says so
    EXPECT_TRUE(Tool().isVisible());
    EXPECT_EQ(Tool().DrawingFontSize(), 40);
    EXPECT_EQ(MainText("Label78"), "Font size 40");
    userTag.click();  // off: the preset for the picture's width again
    EXPECT_EQ(Tool().DrawingFontSize(), 28);
    EXPECT_EQ(MainText("Label78"), "Font size 28");
}

TEST_F(TaggingTest, TextIsDrawnWhereItBelongsAndGoesWithAReload) {
    Write(kSpirit, 1024, 1024);
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Watermark Tool")->trigger();
    ASSERT_TRUE(Tool().isVisible());
    In<QLineEdit>(Tool(), "Edit1").setText("WWW");
    In<QRadioButton>(Tool(), "BottomLeft").setChecked(true);
    Tool().PlaceText();
    const auto [first, last] = YellowRows(Tool().Picture());
    EXPECT_GE(first, 968);  // the top of the text at 1024 - 2 x 28
    EXPECT_LT(first, 968 + 28);
    EXPECT_GT(last, first);

    In<QRadioButton>(Tool(), "TopLeft").setChecked(true);
    Tool().PlaceText();  // the text accumulates
    EXPECT_EQ(YellowRows(Tool().Picture()).second, last);
    EXPECT_LT(YellowRows(Tool().Picture()).first, 10 + 28);
    Tool().LoadRefresh();  // the picture again, without any text
    EXPECT_EQ(YellowRows(Tool().Picture()).first, -1);
}

TEST_F(TaggingTest, AutomaticTagIsWhatTheMainWindowShows) {
    Write(kSpirit, 64, 64);
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Watermark Tool")->trigger();
    for (const char* part : {"SolNumber", "SpiritOpportunity"}) In<QCheckBox>(Tool(), part).click();
    Tool().EnterAutoTag();
    EXPECT_EQ(Tool().Text(), "");  // every part off: an empty tag empties the text

    for (const char* part : {"SpiritOpportunity", "SolNumber", "MartianHour", "MartianMinute",
                             "MartianSeconds", "EarthMinsSecs", "EarthDate"}) {
        In<QCheckBox>(Tool(), part).click();
    }
    Tool().EnterAutoTag();
    const QString expected = MainText("Label76") + " Sol " + MainText("Label44") + " Hr" +
                             MainText("Label61") + "Min" + MainText("Label59") + ":" +
                             MainText("Label57") + "48:55" + MainText("Label39") + " UTC";
    EXPECT_EQ(Tool().Text(), expected);
    EXPECT_EQ(Tool().Text().toStdString(),
              "Spirit Sol 1295 Hr21Min35:5748:55Saturday Aug 25 2007 15:47:50 UTC");

    // The rover's number and name exclude each other, and the tag follows at once.
    In<QCheckBox>(Tool(), "Mer12").click();
    EXPECT_FALSE(In<QCheckBox>(Tool(), "SpiritOpportunity").isChecked());
    EXPECT_TRUE(In<QLabel>(Tool(), "AutoTagLabel").text().startsWith("Mer2 Sol 1295"));
    In<QCheckBox>(Tool(), "SpiritOpportunity").click();
    EXPECT_FALSE(In<QCheckBox>(Tool(), "Mer12").isChecked());
}

TEST_F(TaggingTest, TagButtonStampsTheMainPictureUntilTheNextDisplay) {
    Write(kSpirit, 256, 256);
    Open();
    Choose(kSpirit);
    const QImage before = Main().Picture().Image();
    Main().findChild<QPushButton*>("Button19")->click();
    const QImage once = Main().Picture().Image();
    EXPECT_NE(once, before);
    EXPECT_EQ(MainText("Label78"), "Font size 12");
    Main().Button19Click();  // a second tag on top of the first
    EXPECT_EQ(Main().Picture().Image().size(), before.size());
    // TagSave writes the picture as shown, with its tags.
    const Bitmap24 tagged = BitmapFromImage(Main().Picture().Image());
    fakes.prompts.fileChoices = {{true, dir.filePath("tagged.bmp"), 2}};
    Main().findChild<QAction*>("TagSave")->trigger();
    // Saved as Save as names its files: the name upper-cased, the extension kept.
    EXPECT_TRUE(ReadBmpFile(dir.filePath("TAGGED.bmp").toStdString()).SamePixels(tagged));
    Main().Button3Click();
    EXPECT_EQ(Main().Picture().Image(), before);
}

TEST_F(TaggingTest, SlideshowOpensAndTagsEveryNewPicture) {
    Write("a.jpg", 64, 64);
    Write("b.jpg", 64, 64);
    Open();
    Tool().ToggleSlideshow();
    EXPECT_EQ(In<QLabel>(Tool(), "SlideshowState").text(), "ON");
    EXPECT_TRUE(Main().SlideshowTimer().isActive());
    EXPECT_TRUE(In<QCheckBox>(Main(), "CheckBox3").isChecked());
    Tool().SetAuto(true);
    In<QLineEdit>(Tool(), "Edit1").setText("x");
    Main().Timer1Timer();  // a, then b: the tool opens on b and tags it
    EXPECT_TRUE(Tool().isVisible());
    EXPECT_EQ(Tool().Text().toStdString(), " Sol Invalid ");  // "b.jpg" is no mission name
    EXPECT_NE(YellowRows(Tool().Picture()).first, -1);
    Tool().CloseTool();
    EXPECT_FALSE(Main().SlideshowTimer().isActive());
    EXPECT_FALSE(Tool().isVisible());
}

TEST_F(TaggingTest, SaveProposesAFreeNameAndWritesTheChosenFormat) {
    Write(kSpirit, 64, 64);
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Watermark Tool")->trigger();
    const QString tagged = QString::fromStdString(
        WithTrailingSeparator(MakeWorkingTree(dir.path().toStdString()).TaggedPicDirectory));
    const QString first = tagged + "2P241328935EFFAUCTP2582L5M1-Tag01";
    fakes.prompts.fileChoices = {{true, first, 2}, {true, tagged + "mine.png", 3}, FileChoice{}};
    Tool().SaveTagged();
    EXPECT_EQ(fakes.prompts.fileRequests.back().initial, first);
    EXPECT_EQ(fakes.prompts.fileRequests.back().selectedFilter, 3);
    EXPECT_TRUE(QFile::exists(tagged + "2P241328935EFFAUCTP2582L5M1-TAG01.gif"));
    Tool().SaveTagged();  // the next proposal counts past the GIF just written
    EXPECT_EQ(fakes.prompts.fileRequests.back().initial,
              tagged + "2P241328935EFFAUCTP2582L5M1-Tag02");
    EXPECT_TRUE(QFile::exists(tagged + "MINE.jpg"));
    Tool().SaveTagged();  // Cancel writes nothing
    EXPECT_EQ(QDir(tagged).entryList(QDir::Files).size(), 2);
}

TEST_F(TaggingTest, LanguagesSetFontsCharsetsAndUserTag) {
    Write(kSpirit, 64, 64);
    QFile arial(dir.filePath("arial.ttf"));  // font files come from the program directory
    ASSERT_TRUE(arial.open(QIODevice::WriteOnly));
    arial.close();
    Open();
    LanguageWindow& language = windows->Language();
    language.ChooseLanguage(2);  // "3. English"
    EXPECT_EQ(fakes.desktop.fontFiles, (std::vector<QString>{dir.filePath("arial.ttf")}));
    EXPECT_EQ(language.SampleCharset(), 0);
    EXPECT_EQ(In<QLabel>(Tool(), "FontName").text(), "Arial");
    EXPECT_EQ(Main().CaptureTimeCharset(), 0);
    EXPECT_TRUE(Main().UserTag());
    // The empty entries change nothing but the index.
    language.ChooseCharset(7);
    language.ChooseCharset(19);
    EXPECT_EQ(In<QLabel>(language, "IndexLabel").text(), "19");
    EXPECT_EQ(language.SampleCharset(), 161);
    language.ChooseLanguage(1);  // "2. Chinese": simhei.ttf is not there, and is skipped
    EXPECT_EQ(fakes.desktop.fontFiles.size(), 1u);
    EXPECT_EQ(Main().CaptureTimeCharset(), 136);

    // In the tool, a language not applied to the main window only shows its list entry.
    Tool().ChooseLanguage(3);  // "4. French"
    EXPECT_EQ(Tool().Charset(), 0);
    EXPECT_EQ(In<QListWidget>(Tool(), "CharsetList").currentRow(), 4);
    EXPECT_EQ(Main().CaptureTimeCharset(), 136);
}

TEST_F(TaggingTest, ListsFollowTheKeyboardAsWellAsTheMouse) {
    Write(kSpirit, 64, 64);
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Watermark Tool")->trigger();
    const auto key = [](QListWidget& list, Qt::Key k) {
        list.setFocus();
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(&list, &press);
    };
    // The tool: a language chosen by the arrow keys sets its font and character set.
    auto& languages = In<QListWidget>(Tool(), "LanguageList");
    auto& charsets = In<QListWidget>(Tool(), "CharsetList");
    languages.setCurrentRow(0);  // "1. Arabic"
    EXPECT_EQ(Tool().Charset(), LanguageEntries()[0].code);
    key(languages, Qt::Key_Down);  // "2. Chinese"
    EXPECT_EQ(languages.currentRow(), 1);
    EXPECT_EQ(Tool().Charset(), 136);
    EXPECT_EQ(Main().CaptureTimeCharset(), 136);
    EXPECT_EQ(charsets.currentRow(), LanguageEntries()[1].charsetEntry);
    key(charsets, Qt::Key_Home);
    EXPECT_EQ(Tool().Charset(), CharsetEntries()[0].code);
    // A language that only shows its character set entry does not apply that entry.
    languages.setCurrentRow(3);  // "4. French"
    EXPECT_EQ(Tool().Charset(), 0);
    EXPECT_EQ(charsets.currentRow(), 4);
    // A click on the entry already chosen applies it again.
    key(charsets, Qt::Key_Home);
    QListWidgetItem* french = languages.item(3);
    languages.scrollToItem(french);
    testing::ClickAt(*languages.viewport(), languages.visualItemRect(french).center(),
                     Qt::LeftButton);
    EXPECT_EQ(charsets.currentRow(), 4);

    // The language window likewise, with the index of the entry shown.
    LanguageWindow& language = windows->Language();
    auto& windowLanguages = In<QListWidget>(language, "LanguageList");
    auto& windowCharsets = In<QListWidget>(language, "CharsetList");
    windowLanguages.setCurrentRow(0);
    key(windowLanguages, Qt::Key_Down);
    EXPECT_EQ(In<QLabel>(language, "IndexLabel").text(), "1");
    EXPECT_EQ(language.SampleCharset(), 136);
    EXPECT_EQ(
        In<QLabel>(Tool(), "FontName").text(),
        QString::fromUtf8(LanguageEntries()[1].font.data(), LanguageEntries()[1].font.size()));
    EXPECT_TRUE(Main().UserTag());
    key(windowCharsets, Qt::Key_End);  // the last, empty entry: only the index
    EXPECT_EQ(In<QLabel>(language, "IndexLabel").text(), "20");
    EXPECT_EQ(language.SampleCharset(), 136);
}

TEST_F(TaggingTest, EveryOfferedScriptFindsAFontWithItsGlyphs) {
    for (const LanguageEntry& language : LanguageEntries()) {
        const int code = language.code;
        if (code == 0) continue;
        const QFont font = ScriptFont(QString::fromUtf8(language.font.data()), code, 12);
        const QFontMetrics metrics(font);
        for (const QChar c : ScriptSample(code)) {
            if (c.isSpace()) continue;
            EXPECT_TRUE(metrics.inFont(c))
                << language.label << ": " << font.family().toStdString() << " lacks U+" << std::hex
                << static_cast<int>(c.unicode());
        }
    }
}

TEST_F(TaggingTest, Screenshots) {
    ASSERT_TRUE(QFile::copy(QDir(KOBRIX_SAMPLES_DIR).filePath("2P241328935EFFAUCTP2582L5M1.jpg"),
                            Path(kSpirit)));
    Open();
    Choose(kSpirit);
    Main().Menu().Item("Watermark Tool")->trigger();
    for (const char* part : {"EarthDate", "MartianHour"}) In<QCheckBox>(Tool(), part).click();
    Tool().EnterAutoTagAndPlace();
    In<QRadioButton>(Tool(), "BottomLeft").setChecked(true);
    Tool().ChooseLanguage(1);  // "2. Chinese"; the other scripts come from fallback fonts
    In<QLineEdit>(Tool(), "Edit1").setText(QString::fromUtf8("火星 مريخ Άρης Марс"));
    Tool().PlaceText();
    testing::SaveScreenshot(Tool(), "tagging-scripts.png");
    windows->Language().ShowClick();
    windows->Language().show();
    testing::SaveScreenshot(windows->Language(), "language-window.png");
}

}  // namespace
}  // namespace kobrix
