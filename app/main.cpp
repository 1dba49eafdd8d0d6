#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTimer>

#include "app/main_window.h"
#include "app/windows.h"
#include "platform/qt_desktop.h"
#include "platform/qt_prompts.h"
#include "platform/qt_time_zone.h"

// kobrix [DIRECTORY] [--select FILE]
//   DIRECTORY  the start directory (default: the current directory)
//   --select   selects FILE in the file list once the window is up, as a click would
//              (for demonstrations and scripted screenshots)
//   --quit-after-start  ends as soon as the main window is shown (to time the start-up)
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KOBRIX 2007");
    QApplication::setQuitOnLastWindowClosed(false);
    QString start = QDir::currentPath();
    QString select;
    bool quitAfterStart = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--select" && i + 1 < args.size())
            select = args[++i];
        else if (args[i] == "--quit-after-start")
            quitAfterStart = true;
        else
            start = args[i];
    }
    kobrix::QtPrompts prompts;
    kobrix::QtDesktop desktop;
    kobrix::QtTimeZone zone;
    const kobrix::DateNames names = kobrix::QtLocaleDateNames();
    kobrix::Platform platform{prompts, desktop, zone, names};
    kobrix::Windows windows(platform);
    prompts.SetParent(&windows.Main());
    windows.Start(start);
    if (!select.isEmpty()) {
        QTimer::singleShot(200, &windows.Main(),
                           [&windows, select] { windows.Main().SelectFile(select); });
    }
    if (quitAfterStart) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
