#include "app/file_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/large_image_page.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/print_mode.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/bmp_io.h"
#include "imaging/jpeg_io.h"
#include "tests/support/window_fixture.h"
#include "widgets/controls.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

using Texts = std::vector<std::string>;
constexpr const char* kSpirit = "2P241328935EFFAUCTP2582L5M1.jpg";
constexpr const char* kNoImages = "No valid image filetypes (BMP, JPG) found in this directory !";
constexpr const char* kCopyFailed = "The file FAILED to copy \\AVIsource.";

void WriteJpeg(const QString& path, int width, int height) {
    Bitmap24 picture(width, height);
    picture.Fill(40, 90, 160);
    WriteJpegFile(picture, path.toStdString());
}

void PressAt(QWidget& widget, QPoint at, Qt::MouseButton button) {
    testing::ClickAt(widget, at, button);
}

class FileCommandsTest : public ::testing::Test {
  protected:
    testing::WindowPlatform fakes;
    testing::FakePrompts& prompts = fakes.prompts;
    QTemporaryDir dir;
    WorkingTree tree = MakeWorkingTree(dir.path().toStdString());
    std::unique_ptr<Windows> windows;

    MainWindow& Main() { return windows->Main(); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Tagged(const QString& name) const {
        return QString::fromStdString(tree.TaggedPicDirectory) + name;
    }
    QString AviSource(const QString& name) const {
        return QString::fromStdString(tree.AviSourceDirectory) + name;
    }
    QListWidget& List(const char* name) { return *Main().findChild<QListWidget*>(name); }
    QLabel& Caption() { return *Main().findChild<QLabel*>("Label1"); }
    QString Shown() { return Main().findChild<QLineEdit*>("Edit2")->text(); }
    void Open() {
        for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
            ASSERT_TRUE(QDir().mkpath(QString::fromStdString(tree.Path(number))));
        }
        windows = std::make_unique<Windows>(fakes.platform);
        windows->Start(dir.path());
    }
    void Choose(const QString& name) {
        const auto items = List("FileListBox1").findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        List("FileListBox1").setCurrentItem(items.front());
    }
    void RightPressOn(QListWidget& list, int row) {
        PressAt(*list.viewport(), list.visualItemRect(list.item(row)).center(), Qt::RightButton);
    }
    // Opens the multi-select list, selects `rows` and clicks the last of them.
    void Collect(const std::vector<int>& rows) {
        prompts.answers.push_back(true);
        RightPressOn(List("FileListBox1"), 0);
        QListWidget& multi = List("ListBox1");
        ASSERT_TRUE(multi.isVisible());
        multi.clearSelection();
        for (std::size_t i = 0; i + 1 < rows.size(); ++i) multi.item(rows[i])->setSelected(true);
        PressAt(*multi.viewport(), multi.visualItemRect(multi.item(rows.back())).center(),
                Qt::LeftButton);
    }
};

TEST_F(FileCommandsTest, DeletingTheOnlyFileKeepsItsPictureAndEmptiesTheList) {
    WriteJpeg(Path("a.jpg"), 8, 6);
    Open();
    Choose("a.jpg");
    prompts.answers = {false};
    Main().Menu().Item("Delete")->trigger();
    EXPECT_TRUE(QFileInfo::exists(Path("a.jpg")));
    EXPECT_EQ(prompts.log, (Texts{"question: Confirm File Deletion",
                                  "message: Cancel pressed, file will be kept."}));

    prompts.Clear();
    prompts.answers = {true};
    Main().Menu().Item("Delete")->trigger();
    EXPECT_FALSE(QFileInfo::exists(Path("a.jpg")));
    EXPECT_EQ(prompts.log, (Texts{"question: Confirm File Deletion",
                                  "message: Yes pressed, file will be deleted.",
                                  std::string("warning: ") + kNoImages}));
    EXPECT_EQ(List("FileListBox1").count(), 0);
    EXPECT_EQ(Main().Picture().Image().size(), QSize(8, 6));
    // The caption says what was deleted, in green, after the re-read's pass.
    EXPECT_EQ(Caption().text(), Path("a.jpg") + " FILE DELETED");
    EXPECT_EQ(Caption().palette().color(QPalette::WindowText), QColor(0, 128, 0));

    // Nothing is displayed now: a second deletion says so instead of claiming success (the
    // caption's text is no file to delete).
    prompts.Clear();
    SetTextColour(Caption(), QColor());
    prompts.answers = {true};
    Main().Menu().Item("Delete")->trigger();
    EXPECT_EQ(prompts.Texts("error"), Texts{"There is no file to delete."});
    EXPECT_EQ(Caption().text(), Path("a.jpg") + " FILE DELETED");
    EXPECT_NE(Caption().palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

TEST_F(FileCommandsTest, TimersRunningDuringTheQuestionsChangeNothingOfWhatIsDone) {
    WriteJpeg(Path("a.jpg"), 8, 6);
    WriteJpeg(Path("b.jpg"), 4, 4);
    Open();
    Choose("a.jpg");
    // A slideshow step while the box is open shows b.jpg; a.jpg is the file deleted.
    prompts.onPrompt = [this](const std::string& entry) {
        if (entry.rfind("question", 0) == 0) Main().NextImage();
    };
    prompts.answers = {true};
    Main().Menu().Item("Delete")->trigger();
    EXPECT_FALSE(QFileInfo::exists(Path("a.jpg")));
    EXPECT_TRUE(QFileInfo::exists(Path("b.jpg")));

    // Save as writes the picture shown when it was chosen, and asks before writing over a
    // file the dialog did not name.
    WriteJpeg(Path("a.jpg"), 8, 6);
    WriteJpeg(Tagged("MINE.jpg"), 2, 2);
    Main().RereadFileList();
    Choose("a.jpg");
    prompts.Clear();
    prompts.onPrompt = [this](const std::string& entry) {
        if (entry.rfind("save", 0) == 0) Choose("b.jpg");
    };
    prompts.fileChoices = {{true, Tagged("mine"), 3}, {true, Tagged("other"), 3}};
    prompts.answers = {false};
    Main().Menu().Item("Save as")->trigger();
    EXPECT_EQ(prompts.Texts("question"),
              Texts{(Tagged("MINE.jpg") + " already exists. Replace it?").toStdString()});
    EXPECT_EQ(ReadJpegFile(Tagged("MINE.jpg").toStdString()).Width(), 2);
    Main().Menu().Item("Save as")->trigger();
    EXPECT_EQ(ReadJpegFile(Tagged("OTHER.jpg").toStdString()).Width(), 8);
}

TEST_F(FileCommandsTest, SaveAsWritesUpperCasedNamesAndRestoresTheSelection) {
    WriteJpeg(Path(kSpirit), 12, 10);
    WriteJpeg(Path("b.jpg"), 8, 8);
    Open();
    Choose(kSpirit);
    const QString proposal = Tagged("2P241328935EFFAUCTP2582L5M1-TAG01");
    prompts.fileChoices = {{true, proposal, 3}};
    Main().Menu().Item("Save as")->trigger();
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].initial, proposal);
    EXPECT_EQ(prompts.fileRequests[0].selectedFilter, 3);
    EXPECT_EQ(prompts.fileRequests[0].filters.value(2), "JPEG Image File (*.jpg)");
    EXPECT_EQ(ReadJpegFile(Tagged("2P241328935EFFAUCTP2582L5M1-TAG01.jpg").toStdString()).Width(),
              12);
    EXPECT_EQ(List("FileListBox1").currentItem()->text(), kSpirit);
    EXPECT_EQ(Caption().text(), Path(kSpirit));
    EXPECT_EQ(Shown(), kSpirit);

    // The next proposal counts on; a typed name loses its own extension to the BMP type's.
    prompts.fileRequests.clear();
    prompts.fileChoices = {{true, Tagged("mine.jpeg"), 2}};
    Main().Menu().Item("Save as")->trigger();
    EXPECT_EQ(prompts.fileRequests[0].initial, Tagged("2P241328935EFFAUCTP2582L5M1-TAG02"));
    EXPECT_EQ(ReadBmpFile(Tagged("MINE.bmp").toStdString()).Width(), 12);
    EXPECT_FALSE(QFileInfo::exists(Tagged("mine.jpeg.bmp")));

    // A lower-case name is saved upper-cased, and the next proposal sees that file.
    Choose("b.jpg");
    prompts.fileRequests.clear();
    prompts.fileChoices = {{true, Tagged("b-TAG01"), 3}, {false, QString(), 0}};
    Main().Menu().Item("Save as")->trigger();
    EXPECT_TRUE(QFileInfo::exists(Tagged("B-TAG01.jpg")));
    const QStringList before = QDir(Tagged("")).entryList(QDir::Files);
    // Cancelled, after another selection made while the dialog was open.
    prompts.onPrompt = [this](const std::string& entry) {
        if (entry.rfind("save", 0) == 0) Choose(kSpirit);
    };
    Main().Menu().Item("Save as")->trigger();
    EXPECT_EQ(prompts.fileRequests[1].initial, Tagged("b-TAG02"));
    EXPECT_EQ(QDir(Tagged("")).entryList(QDir::Files), before);
    EXPECT_EQ(List("FileListBox1").currentItem()->text(), "b.jpg");
    EXPECT_EQ(Shown(), "b.jpg");
}

TEST_F(FileCommandsTest, MultiSelectShowsEachEntryAndCopiesWithoutReplacing) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteJpeg(Path(name), 8, 8);
    Open();
    QListWidget& files = List("FileListBox1");
    QListWidget& multi = List("ListBox1");
    QStringList requested;
    // The AVI tool's own part of the hand-over (it converts the frames) is tested with it.
    QObject::disconnect(&Main().FileOps(), &FileCommands::aviToolRequested, &Main(), nullptr);
    QObject::connect(&Main().FileOps(), &FileCommands::aviToolRequested,
                     [&requested](const QString& directory) { requested << directory; });

    prompts.answers = {false};
    RightPressOn(files, 1);
    EXPECT_EQ(prompts.Texts("message"), Texts{"Cancel pressed, Copy not enabled."});
    EXPECT_FALSE(multi.isVisible());
    EXPECT_EQ(files.currentRow(), -1);  // the right button does not select

    QStringList shown;
    QObject::connect(Main().findChild<QLineEdit*>("Edit2"), &QLineEdit::textChanged,
                     [&shown](const QString& text) { shown << text; });
    Collect({0, 1, 2});
    EXPECT_EQ(shown, (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(files.currentItem()->text(), "c.jpg");
    EXPECT_EQ(Caption().text(), Path("c.jpg"));
    EXPECT_EQ(multi.geometry(),
              QRect(files.mapTo(multi.parentWidget(), QPoint(0, 0)), files.size()));
    EXPECT_EQ(multi.font(), files.font());
    EXPECT_EQ(Main().FileOps().Collected().size(), 3u);
    EXPECT_EQ(Main().FileOps().Handover().index, 2);

    prompts.Clear();
    prompts.answers = {true};
    // Clicks in the list during the copy's waits neither collect anew nor copy again.
    fakes.desktop.onWait = [&](int) {
        PressAt(*multi.viewport(), multi.visualItemRect(multi.item(0)).center(), Qt::LeftButton);
        Main().FileOps().MultiSelectClick();
        Main().FileOps().MultiSelectRightClick();
    };
    RightPressOn(multi, 0);
    fakes.desktop.onWait = nullptr;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        EXPECT_TRUE(QFileInfo::exists(AviSource(name))) << name;
    }
    EXPECT_EQ(fakes.desktop.beeps, 3);
    EXPECT_EQ(fakes.desktop.waits, (std::vector<int>{50, 50, 50}));
    EXPECT_EQ(prompts.log, Texts{"question: COPY SELECTED FILES TO AVI SOURCE DIRECTORY"});
    EXPECT_FALSE(multi.isVisible());
    EXPECT_EQ(requested, QStringList{dir.path()});

    // The second copy of the same selection replaces nothing.
    WriteJpeg(Path("a.jpg"), 16, 16);
    const qint64 firstCopy = QFileInfo(AviSource("a.jpg")).size();
    prompts.Clear();
    Collect({0, 1, 2});
    prompts.answers = {true};
    RightPressOn(multi, 2);
    EXPECT_EQ(prompts.Texts("message"), (Texts{kCopyFailed, kCopyFailed, kCopyFailed}));
    EXPECT_EQ(fakes.desktop.beeps, 3);
    EXPECT_EQ(QFileInfo(AviSource("a.jpg")).size(), firstCopy);

    // Refusing the copy still hands over to the AVI tool.
    prompts.Clear();
    Collect({1});
    testing::SaveScreenshot(Main(), "main_window_multi_select.png");
    prompts.answers = {false};
    RightPressOn(multi, 1);
    EXPECT_EQ(prompts.Texts("message"), Texts{"Cancel pressed, Copy not done."});
    EXPECT_EQ(Main().FileOps().Handover().index, 1);
    EXPECT_EQ(requested.size(), 3);
}

TEST_F(FileCommandsTest, PrintButtonsFollowTheModeAndActOnTheirOwnWindow) {
    WriteJpeg(Path(kSpirit), 64, 48);
    Open();
    Choose(kSpirit);
    auto* box = Main().findChild<QCheckBox*>("CheckBox4");
    QAction* item = Main().Menu().Item("Check Print / Clipboard");
    auto* mainPrint = Main().findChild<QPushButton*>("Button6");
    LargeImagePage& page = windows->LargePage();
    auto* pagePrint = page.findChild<QPushButton*>("Button2");
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(mainPrint->text(), "Print");

    box->click();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(mainPrint->text(), "Clipboard");
    EXPECT_EQ(pagePrint->text(), "Clipboard");
    Main().Button8Click();  // the large page shows the picture
    pagePrint->click();
    EXPECT_EQ(prompts.Texts("information"), Texts{"Image saved to clipboard!"});
    EXPECT_EQ(fakes.desktop.clipboard.size(), page.size());
    EXPECT_NE(fakes.desktop.clipboard.size(), Main().centralWidget()->size());

    item->trigger();
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(Main().Printing().ClipboardOn());
    EXPECT_EQ(pagePrint->text(), "Print");

    const QString pdf = Path("main.pdf");
    prompts.printToPdf = pdf;
    prompts.printAnswers = {false, true};
    mainPrint->click();
    EXPECT_FALSE(QFileInfo::exists(pdf));
    mainPrint->click();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Type /Page\n") || bytes.contains("/Type /Page "));
    EXPECT_GT(bytes.size(), 2000);
}

}  // namespace
}  // namespace kobrix
