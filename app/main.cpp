#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/main_window.h"
#include "app/window_gallery.h"
#include "app/window_tour.h"
#include "app/windows.h"
#include "archive/archive_file.h"
#include "browse/program_directory.h"
#include "platform/qt_desktop.h"
#include "platform/qt_prompts.h"
#include "platform/qt_time_zone.h"
#include "tools/magnifier_window.h"

// kobrix [DIRECTORY | PICTURE] [--select FILE]
//   DIRECTORY  the start directory (default: the current directory, or the program directory
//              ~/Kobrix2007 or $KOBRIX_HOME when started from a desktop launcher)
//   PICTURE    its directory, with it selected
//   --select   selects FILE in the file list once the window is up, as a click would
//              (for demonstrations and scripted screenshots)
//   --quit-after-start  ends as soon as the main window is shown (to time the start-up)
//   --screenshots DIR   shows every window at work in turn, saves a picture of each in DIR and
//              ends. It works in a temporary program directory holding a copy of the pictures
//              of DIRECTORY (default: the sample pictures that come with the program), never
//              in the user's; questions are answered Yes, dialogs are cancelled, messages go
//              to standard error, and nothing is opened, started or put on the clipboard.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Every window that opens pictures opens the planetary archive's files as well.
    kobrix::RegisterArchiveReader();
    QApplication::setApplicationName("KOBRIX 2007");
    QApplication::setQuitOnLastWindowClosed(false);
    QString start;
    QString select;
    bool quitAfterStart = false;
    QString screenshots;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--select" && i + 1 < args.size()) {
            select = args[++i];
        } else if (args[i] == "--screenshots" && i + 1 < args.size()) {
            screenshots = QFileInfo(args[++i]).absoluteFilePath();
        } else if (args[i] == "--quit-after-start") {
            quitAfterStart = true;
        } else if (start.isEmpty()) {
            // A directory, or a picture whose directory is opened with it selected (the
            // desktop entry hands over files).
            const QFileInfo given(args[i]);
            if (given.isFile()) {
                start = given.absolutePath();
                if (select.isEmpty()) select = given.fileName();
            } else {
                start = given.absoluteFilePath();
            }
        }
    }
    kobrix::QtPrompts boxes;
    kobrix::UnattendedPrompts unattended;
    kobrix::Prompts& prompts =
        screenshots.isEmpty() ? static_cast<kobrix::Prompts&>(boxes) : unattended;
    kobrix::QtDesktop systemDesktop;
    kobrix::UnattendedDesktop unattendedDesktop(systemDesktop);
    kobrix::Desktop& desktop =
        screenshots.isEmpty() ? static_cast<kobrix::Desktop&>(systemDesktop) : unattendedDesktop;
    kobrix::QtTimeZone zone;
    const kobrix::DateNames names = kobrix::QtLocaleDateNames();
    kobrix::Platform platform{prompts, desktop, zone, names};
    std::unique_ptr<QTemporaryDir> galleryHome;
    if (!screenshots.isEmpty()) {
        const QString samples = start.isEmpty() ? kobrix::BundledSamplesDirectory() : start;
        if (samples.isEmpty() || !QFileInfo(samples).isDir()) {
            std::fprintf(stderr, "kobrix: no sample pictures found; give their directory\n");
            return 2;
        }
        galleryHome =
            std::make_unique<QTemporaryDir>(QDir::temp().filePath("kobrix-gallery-XXXXXX"));
        if (!galleryHome->isValid() || !kobrix::PrepareGalleryHome(samples, galleryHome->path())) {
            std::fprintf(stderr, "kobrix: cannot make a program directory in %s\n",
                         QDir::tempPath().toLocal8Bit().constData());
            return 1;
        }
        start = galleryHome->path();
        select.clear();
    }
    if (start.isEmpty()) {
        const QString current = QDir::currentPath();
        start = QString::fromStdString(kobrix::ProgramDirectoryFor(
            current.toStdString(), QFileInfo(current).isWritable(), QDir::homePath().toStdString(),
            std::getenv("KOBRIX_HOME")));
        if (!QFileInfo(start).isDir()) {
            // The working tree's questions follow once it exists.
            if (!prompts.YesCancel(start + " does not exist. Create it as the program directory "
                                           "of KOBRIX 2007?") ||
                !QDir().mkpath(start)) {
                return 0;
            }
        }
    }
    // The working tree is made beside the directory the program starts in.
    QDir::setCurrent(start);
    kobrix::Windows windows(platform);
    boxes.SetParent(&windows.Main());
    if (!screenshots.isEmpty()) {
        // The settings file goes with the temporary program directory, not beside the program.
        windows.Magnifier().SetSettingsPath(QDir(start).filePath("kobrix.INI"));
    }
    windows.Start(start);
    if (!select.isEmpty()) {
        QTimer::singleShot(200, &windows.Main(),
                           [&windows, select] { windows.Main().SelectFile(select); });
    }
    if (quitAfterStart) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    if (!screenshots.isEmpty()) {
        // After the start-up timers (the Directories window shows itself after a second).
        QTimer::singleShot(
            1500, &windows.Main(), [&windows, &app, &unattendedDesktop, screenshots] {
                kobrix::WindowGallery gallery(windows, unattendedDesktop);
                const QStringList written =
                    kobrix::SaveWindowPictures(windows, screenshots, &gallery);
                std::printf("%lld pictures in %s\n", static_cast<long long>(written.size()),
                            screenshots.toLocal8Bit().constData());
                // A window whose picture could not be saved fails the run.
                app.exit(written.size() == windows.All().size() ? 0 : 1);
            });
    }
    return app.exec();
}
