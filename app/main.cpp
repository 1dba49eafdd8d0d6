#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"
#include "app/program_directory.h"
#include "app/window_tour.h"
#include "app/windows.h"
#include "archive/archive_file.h"
#include "platform/qt_desktop.h"
#include "platform/qt_prompts.h"
#include "platform/qt_time_zone.h"

// kobrix [DIRECTORY | PICTURE] [--select FILE]
//   DIRECTORY  the start directory (default: the current directory, or the program directory
//              ~/Kobrix2007 or $KOBRIX_HOME when started from a desktop launcher)
//   PICTURE    its directory, with it selected
//   --select   selects FILE in the file list once the window is up, as a click would
//              (for demonstrations and scripted screenshots)
//   --quit-after-start  ends as soon as the main window is shown (to time the start-up)
//   --screenshots DIR   shows every window in turn, saves a picture of each in DIR and ends;
//              questions are answered Yes and messages go to standard error
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
    kobrix::QtDesktop desktop;
    kobrix::QtTimeZone zone;
    const kobrix::DateNames names = kobrix::QtLocaleDateNames();
    kobrix::Platform platform{prompts, desktop, zone, names};
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
    windows.Start(start);
    if (!select.isEmpty()) {
        QTimer::singleShot(200, &windows.Main(),
                           [&windows, select] { windows.Main().SelectFile(select); });
    }
    if (quitAfterStart) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    if (!screenshots.isEmpty()) {
        // After the start-up timers (the Directories window shows itself after a second).
        QTimer::singleShot(1500, &windows.Main(), [&windows, &app, screenshots, select] {
            if (select.isEmpty()) {
                windows.Main().SelectListEntry(0);
                windows.Main().DisplayCurrent();
            }
            const QStringList written = kobrix::SaveWindowPictures(windows, screenshots);
            std::printf("%lld pictures in %s\n", static_cast<long long>(written.size()),
                        screenshots.toLocal8Bit().constData());
            app.quit();
        });
    }
    return app.exec();
}
