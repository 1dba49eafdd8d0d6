#include <QApplication>
#include <QDir>

#include "app/windows.h"
#include "platform/qt_desktop.h"
#include "platform/qt_prompts.h"
#include "platform/qt_time_zone.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KOBRIX 2007");
    QApplication::setQuitOnLastWindowClosed(false);
    kobrix::QtPrompts prompts;
    kobrix::QtDesktop desktop;
    kobrix::QtTimeZone zone;
    const kobrix::DateNames names = kobrix::QtLocaleDateNames();
    kobrix::Platform platform{prompts, desktop, zone, names};
    kobrix::Windows windows(platform);
    // A directory given on the command line is the start directory; else the current one.
    const QString start = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    windows.Start(start);
    return app.exec();
}
