// The main window's directory box on an archive volume: the sols in place of the folders.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <filesystem>

#include <gtest/gtest.h>

#include "app/directories_window.h"
#include "app/label_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "tests/support/window_fixture.h"
#include "tests/volume/volume_builder.h"

namespace kobrix {
namespace {

std::string S(const QString& text) {
    return text.toStdString();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text().trimmed();
    return texts;
}

QListWidgetItem* Entry(QListWidget& list, const QString& startingWith) {
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->text().trimmed().startsWith(startingWith)) return list.item(i);
    }
    return nullptr;
}

class VolumeBrowsing : public testing::WindowsTest {
  protected:
    void SetUp() override {
        root = QString::fromStdString(test::BuildVolume(volumeDir));
        // A picture the file list shows in each products folder, beside the archive files.
        const QString sample = QDir(KOBRIX_SAMPLES_DIR).filePath("2N241329230EFFAUCTP1952L0M1.jpg");
        for (const char* folder : {"sol0100/edr", "sol0100/rdr", "sol0101/edr"}) {
            ASSERT_TRUE(QFile::copy(sample, root + "/data/" + folder + "/" + folder[8] +
                                                "2N241329230EFFAUCTP1952L0M1.jpg"));
        }
        OpenAll();
    }
    test::ScratchDir volumeDir;
    QString root;
};

TEST_F(VolumeBrowsing, TheSolsWithTheirDatesReplaceTheFolders) {
    MainWindow& main = windows->Main();
    auto& directories = *main.findChild<QListWidget*>("DirectoryListBox1");
    auto& files = *main.findChild<QListWidget*>("FileListBox1");
    fakes.prompts.Clear();
    main.ShowListDirectory(S(root));
    // The root holds no pictures, and says nothing of it: the sols are the way on.
    EXPECT_TRUE(fakes.prompts.Texts("warning").empty());
    QStringList texts = Texts(directories);
    EXPECT_EQ(texts.mid(texts.size() - 4),
              (QStringList{"mer2no_0xxx", "[edr/ products: choose for rdr/]",
                           "sol 0100   2004-04-14", "sol 0101   2004-04-15"}));
    EXPECT_FALSE(texts.contains("data"));

    // A sol opens its edr/ folder.
    emit directories.itemActivated(Entry(directories, "sol 0100"));
    EXPECT_EQ(Q(main.ListDirectory()), root + "/data/sol0100/edr");
    EXPECT_FALSE(files.findItems("e2N241329230EFFAUCTP1952L0M1.jpg", Qt::MatchExactly).isEmpty());
    EXPECT_EQ(directories.currentItem()->text().trimmed(), "sol 0100   2004-04-14");

    // The switch: the same sol's rdr/ folder, and the next sol chosen opens its rdr/.
    emit directories.itemActivated(Entry(directories, "[edr/"));
    EXPECT_EQ(Q(main.ListDirectory()), root + "/data/sol0100/rdr");
    EXPECT_FALSE(files.findItems("r2N241329230EFFAUCTP1952L0M1.jpg", Qt::MatchExactly).isEmpty());
    EXPECT_NE(Entry(directories, "[rdr/ products: choose for edr/]"), nullptr);
    emit directories.itemActivated(Entry(directories, "sol 0101"));
    EXPECT_EQ(Q(main.ListDirectory()), root + "/data/sol0101/rdr");

    // The root's other folders follow the sols, and open as folders.
    QDir(root).mkpath("index");
    QDir(root).mkpath("DOCUMENT");
    main.ShowListDirectory(S(root + "/data/sol0100/edr"));
    texts = Texts(directories);
    EXPECT_EQ(texts.mid(texts.size() - 2), (QStringList{"DOCUMENT", "index"}));
    EXPECT_FALSE(texts.contains("data"));
    emit directories.itemActivated(Entry(directories, "index"));
    EXPECT_EQ(Q(main.ListDirectory()), root + "/index");

    // Up to the volume's parent: folders again.
    emit directories.itemActivated(
        Entry(directories, QDir(root).absolutePath().section('/', -2, -2)));
    EXPECT_EQ(Entry(directories, "sol 0100"), nullptr);
    EXPECT_NE(Entry(directories, "mer2no_0xxx"), nullptr);
}

TEST_F(VolumeBrowsing, AFolderOutsideAVolumeKeepsItsSubfolders) {
    MainWindow& main = windows->Main();
    auto& directories = *main.findChild<QListWidget*>("DirectoryListBox1");
    QDir(dir.path()).mkpath("data/sol0001x");
    main.ShowListDirectory(S(dir.path()));
    EXPECT_NE(Entry(directories, "data"), nullptr);
    EXPECT_EQ(Entry(directories, "[edr/"), nullptr);
    main.ShowListDirectory(S(root + "/data"));
    EXPECT_NE(Entry(directories, "sol0100"), nullptr);
    EXPECT_EQ(Entry(directories, "sol 0100"), nullptr);
}

TEST_F(VolumeBrowsing, TheDirectoriesWindowJumpsToAVolumeRoot) {
    // A file at the volume's root, as every volume has its read-me there.
    test::Put(volumeDir, "mer2no_0xxx/AAREADME.TXT", {'x'});
    fakes.prompts.fileChoices = {FileChoice{true, root + "/AAREADME.TXT", 6}};
    windows->Directories().Browse();
    MainWindow& main = windows->Main();
    EXPECT_EQ(Q(main.ListDirectory()), root);
    auto& directories = *main.findChild<QListWidget*>("DirectoryListBox1");
    ASSERT_NE(Entry(directories, "sol 0101"), nullptr);
    emit directories.itemActivated(Entry(directories, "sol 0101"));
    EXPECT_EQ(Q(main.ListDirectory()), root + "/data/sol0101/edr");
}

TEST_F(VolumeBrowsing, AnEdrOffersItsDerivedProductsUnderThePicture) {
    MainWindow& main = windows->Main();
    // The EDR as a picture every build of the window shows; its products are archive files.
    const QString sample = QDir(KOBRIX_SAMPLES_DIR).filePath("2N241329230EFFAUCTP1952L0M1.jpg");
    const QString edr = "2N135251689EFF0000P1234L0M1.jpg";
    ASSERT_TRUE(QFile::copy(sample, root + "/data/sol0100/edr/" + edr));
    main.ShowListDirectory(S(root + "/data/sol0100/edr"));
    auto& derived = *main.findChild<QComboBox*>("DerivedProducts");
    ASSERT_TRUE(testing::ChooseFile(main, edr));
    ASSERT_EQ(Q(main.SelectedPath()), root + "/data/sol0100/edr/" + edr);
    EXPECT_TRUE(derived.isVisibleTo(&main));
    QStringList items;
    for (int i = 0; i < derived.count(); ++i) items << derived.itemText(i);
    EXPECT_EQ(items, (QStringList{"2 derived products of this exposure",
                                  "rdr/" + QString::fromStdString(test::kSol100Linearized),
                                  "rdr/" + QString::fromStdString(test::kSol100Rad)}));

    // A click on the attributes line of a picture that is no archive file opens nothing.
    testing::Click(*main.findChild<QLabel*>("Label77"), Qt::LeftButton);
    EXPECT_FALSE(windows->Label().isVisible());

    // Choosing one goes to it in the rdr/ folder and shows it; a click on the attributes
    // line then shows its whole label.
    emit derived.activated(2);
    EXPECT_EQ(Q(main.ListDirectory()), root + "/data/sol0100/rdr");
    const std::string rad = S(root) + "/data/sol0100/rdr/" + test::kSol100Rad;
    EXPECT_EQ(main.DisplayedPath(), rad);
    testing::Click(*main.findChild<QLabel*>("Label77"), Qt::LeftButton);
    EXPECT_TRUE(windows->Label().isVisible());
    EXPECT_EQ(S(windows->Label().FilePath()), rad);
    EXPECT_TRUE(windows->Label().Text().startsWith("PDS_VERSION_ID = PDS3"))
        << S(windows->Label().Text().left(80));
    windows->Label().hide();
    // Under the RDR, the way back to its EDR.
    EXPECT_TRUE(derived.isVisibleTo(&main));
    EXPECT_EQ(derived.itemText(0), "2 other products of this exposure");
    EXPECT_EQ(derived.itemText(1), "edr/" + Q(test::kSol100Edr));
    emit derived.activated(1);
    EXPECT_EQ(main.DisplayedPath(), S(root) + "/data/sol0100/edr/" + test::kSol100Edr);
    // A picture whose name is not an EDR's offers nothing.
    ASSERT_TRUE(testing::ChooseFile(main, "e2N241329230EFFAUCTP1952L0M1.jpg"))
        << main.ListDirectory();
    EXPECT_FALSE(derived.isVisibleTo(&main));
}

TEST_F(VolumeBrowsing, TheLabelWindowFollowsTheSelectionWhileItIsOpen) {
    MainWindow& main = windows->Main();
    LabelWindow& label = windows->Label();
    main.ShowListDirectory(S(root + "/data/sol0101/edr"));
    const std::string edr = S(root) + "/data/sol0101/edr/" + test::kSol101Edr;
    ASSERT_TRUE(testing::ChooseFile(main, Q(test::kSol101Edr + ".IMG")));
    main.Menu().Item("Archive Label")->trigger();
    ASSERT_TRUE(label.isVisible());
    EXPECT_EQ(S(label.FilePath()), edr + ".IMG");
    EXPECT_TRUE(label.findChild<QLabel*>("LabelFile")->text().startsWith(Q(edr + ".LBL")));
    label.SetFindText("RECORD_BYTES");
    EXPECT_EQ(label.MarkedTexts(), QStringList{"RECORD_BYTES"});

    // Another file chosen: its label, with the find marked in it.
    main.ShowListDirectory(S(root + "/data/sol0100/edr"));
    ASSERT_TRUE(testing::ChooseFile(main, Q(test::kSol100EdrRight)));
    EXPECT_EQ(S(label.FilePath()), S(root) + "/data/sol0100/edr/" + test::kSol100EdrRight);
    EXPECT_TRUE(label.findChild<QLabel*>("LabelFile")
                    ->text()
                    .startsWith(Q(S(root) + "/data/sol0100/edr/" + test::kSol100EdrRight)));
    EXPECT_FALSE(label.Text().contains(Q(test::kSol101Edr)));
    EXPECT_EQ(label.MarkedTexts().size(), 1);

    // Closed, it is left as it was.
    label.close();
    ASSERT_TRUE(testing::ChooseFile(main, Q(test::kSol100Edr)));
    EXPECT_EQ(S(label.FilePath()), S(root) + "/data/sol0100/edr/" + test::kSol100EdrRight);
}

}  // namespace
}  // namespace kobrix
