// The menu of the main window and the small functions of its items that belong to no other
// window: priority, file-list font size, notes, external programs, the web pages, the
// screen resolution and the typeface.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>

#include "app/birthday_search_window.h"
#include "app/decoded_panel_view.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/slideshow_delay_window.h"
#include "app/sol_search_window.h"
#include "browse/browse_texts.h"
#include "browse/tag_tool.h"
#include "pages/earth_time_page.h"
#include "pages/information_text_pages.h"
#include "pages/martian_time_page.h"
#include "tools/script_fonts.h"

namespace kobrix {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

void MainWindow::ConnectMenu() {
    MainMenu& m = *menu_;
    const auto on = [this, &m](const char* caption, std::function<void()> handler) {
        connect(m.Item(caption), &QAction::triggered, this, [this, handler] { Guard(handler); });
    };
    on("Close", [this] { close(); });
    on("Directories", [this] { Button7Click(); });
    on("Open Kobrix Notes", [this] { OpenNotes("KOBRIX2007notes.txt"); });
    on("Kobrix Development Notes", [this] { OpenNotes("KOBRIX2007DevNotes.txt"); });
    on("MarsRoverBlogNotes", [this] { OpenNotes("MarsRoverBlogNotes.txt"); });
    for (int size = 5; size <= 14; ++size) {
        on(QString::number(size).toLatin1().constData(),
           [this, size] { SetFilenameFontSize(size); });
    }
    on("Full Size Image", [this] { Image1Click(); });
    on("Large Size Image", [this] { Button8Click(); });
    on("Slideshow Start / Stop", [this] { browser_.ToggleSlideshowMenu(); });
    for (const char* level : {"Idle", "Lowest", "Lower", "Normal", "Higher", "Highest"}) {
        on(level, [this, level] { ChoosePriority(level); });
    }
    on("Slideshow Delay", [this] {
        const int delay = browser_.BeginDelayEdit();
        if (peers_.slideshowDelay) peers_.slideshowDelay->Open(delay);
    });
    on("Check Stereo Autoshow", [this, &m] {
        browser_.Options().stereoAutoshow = m.Item("Check Stereo Autoshow")->isChecked();
    });
    on("Thumbnails as Fullsize", [this, &m] {
        browser_.Options().thumbnailsAsFullsize = m.Item("Thumbnails as Fullsize")->isChecked();
    });
    on("Check Loop Slideshow", [this, &m] {
        browser_.Options().loopSlideshow = m.Item("Check Loop Slideshow")->isChecked();
    });
    on("Let's go to the movies", [this] { browser_.ToggleMovies(); });
    on("Your Screen Resolution", [this] { ShowScreenResolution(); });
    on("Visit NASA at current image", [this] { VisitNasa(); });
    on("Run Autostitch external program", [this] { RunExternal("autostitch.exe"); });
    on("Run Stereo Photo Maker external program", [this] { RunExternal("stphmkre.exe"); });
    // The Earth page works its values out when it opens; the Martian page has them already.
    on("Show Stereo Image Pair", [this] { Button13Click(); });
    on("Manual Stereo Image Selection", [this] { Button11Click(); });
    on("3D Stereo XI Tool", [this] { ShowStereoViewer(); });
    on("SOL / Camera Search Tool", [this] {
        if (peers_.solSearch) peers_.solSearch->OpenFromMenu();
    });
    on("My Birthday Search Tool", [this] {
        if (peers_.birthdaySearch) peers_.birthdaySearch->OpenFromMenu();
    });
    on("Earth Variables Display", [this] {
        if (!peers_.earthTime) return;
        peers_.earthTime->Button2Click();
        ShowPage(peers_.earthTime);
    });
    on("Watermark Tool", [this] {
        if (tagTool_ == nullptr) return;
        tagTool_->OpenFromMenu();
        Button20Click();
    });
    on("Martian Variables Display", [this] { ShowPage(peers_.martianTime); });
    on("Martian Calendar", [this] { ShowPage(peers_.martianCalendar); });
    on("MER Data Decoding", [this] { ShowPage(peers_.dataDecoding); });
}

void MainWindow::OpenInBrowser(const QString& address) {
    platform_.desktop.OpenUrl(address);
}

void MainWindow::UseTypeface(const QString& family) {
    // The family only: every control keeps its size, as the decoded-fields panel needs. The
    // menus keep theirs, or nothing could be found in them again for the rest of the run.
    menuBar()->setFont(menuBar()->font());
    const auto retype = [&family](QWidget& widget) {
        QFont font = widget.font();
        font.setFamily(family);
        widget.setFont(font);
    };
    retype(*this);
    for (QWidget* control :
         std::initializer_list<QWidget*>{fileListBox1_, directoryListBox1_, driveComboBox1_, edit2_,
                                         label1_, label6_, panel_}) {
        retype(*control);
    }
}

void MainWindow::ChoosePriority(const QString& caption) {
    static const std::pair<const char*, UiPriority> kLevels[] = {
        {"Idle", UiPriority::Idle},     {"Lowest", UiPriority::Lowest},
        {"Lower", UiPriority::Lower},   {"Normal", UiPriority::Normal},
        {"Higher", UiPriority::Higher}, {"Highest", UiPriority::Highest}};
    for (const auto& [name, level] : kLevels) {
        if (caption != name) continue;
        QString why;
        if (platform_.desktop.SetUiPriority(level, &why)) {
            menu_->Item(name)->setChecked(true);
            priorityMark_ = name;
        } else {
            menu_->Item(priorityMark_)->setChecked(true);
            // The mark stays on the level that is really in force.
            platform_.prompts.Warning(QString("The system did not allow the priority \"%1\" (%2). "
                                              "Raising a program's priority needs administrator "
                                              "rights; the priority stays as it was.")
                                          .arg(name, why));
        }
    }
}

void MainWindow::SetFilenameFontSize(int points) {
    QFont font = fileListBox1_->font();
    font.setPointSize(points);
    fileListBox1_->setFont(font);
}

void MainWindow::OpenNotes(const QString& fileName) {
    const QString path = QDir(iAmHere_).filePath(fileName);
    if (!QFileInfo::exists(path)) {
        // As a text editor would: offer to start the notes file.
        if (!platform_.prompts.YesCancel(
                QString("Cannot find the %1 file.\n\nDo you want to create a new file?")
                    .arg(path))) {
            return;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            platform_.prompts.Error(
                QString("The file %1 could not be created: %2").arg(path, file.errorString()));
            return;
        }
    }
    platform_.desktop.OpenInTextEditor(path);
}

void MainWindow::RunExternal(const QString& programName) {
    platform_.desktop.StartProgram(QDir(iAmHere_).filePath(programName));
}

void MainWindow::VisitNasa() {
    const QLabel* rover = panel_->Value("Label2");
    if (auto base = GalleryBaseFor(rover->text().toStdString())) galleryBase_ = Q(*base);
    const GalleryAddress page =
        GalleryPageAddress(galleryBase_.toStdString(), browser_.Decoded().product.CameraLetter,
                           panel_->Value("Label44")->text().toStdString());
    if (!page.ok) {
        platform_.prompts.Error(Q(page.error));
        return;
    }
    OpenInBrowser(Q(page.address));
}

void MainWindow::ShowScreenResolution() {
    const QSize size = platform_.desktop.ScreenSize();
    platform_.prompts.Message(Q(ScreenResolutionText(size.width(), size.height())));
}

}  // namespace kobrix
