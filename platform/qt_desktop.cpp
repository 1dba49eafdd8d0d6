#include "platform/qt_desktop.h"

#include <pthread.h>
#include <sched.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace kobrix {
namespace {

// What the program was laid out for; used when there is no screen at all.
constexpr QSize kFallbackScreen{800, 600};
constexpr int kFallbackPpi = 96;

// Runs on the thread whose priority changes.
bool ApplyToCurrentThread(QThread::Priority priority) {
#ifdef SCHED_IDLE
    // Qt keeps a thread's scheduling policy when it changes its priority, so a thread once
    // set to idle would stay idle at every later level. Leave the idle policy first.
    if (priority != QThread::IdlePriority) {
        int policy = 0;
        sched_param param{};
        if (pthread_getschedparam(pthread_self(), &policy, &param) == 0 && policy == SCHED_IDLE) {
            param.sched_priority = 0;
            if (pthread_setschedparam(pthread_self(), SCHED_OTHER, &param) != 0) return false;
        }
    }
#endif
    QThread::currentThread()->setPriority(priority);
    return true;
}

}  // namespace

QtDesktop::QtDesktop(QThread* uiThread)
    : uiThread_(uiThread != nullptr ? uiThread : QCoreApplication::instance()->thread()) {}

bool QtDesktop::OpenUrl(const QString& address) {
    const QUrl url(address.trimmed());
    // Only pages and mail: a file address could make the desktop run a program.
    static const QStringList kSchemes{"http", "https", "ftp", "mailto"};
    if (!url.isValid() || !kSchemes.contains(url.scheme(), Qt::CaseInsensitive)) return false;
    return QDesktopServices::openUrl(url);
}

bool QtDesktop::OpenInTextEditor(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QStringList QtDesktop::ProgramCandidates(const QString& path) {
    if (path.isEmpty()) return {};
    const QString exe = QStringLiteral(".exe");
    if (path.endsWith(exe, Qt::CaseInsensitive) && path.size() > exe.size()) {
        return {path, path.chopped(exe.size())};
    }
    return {path, path + exe};
}

bool QtDesktop::StartProgram(const QString& path) {
    for (const QString& candidate : ProgramCandidates(path)) {
        const QFileInfo info(candidate);
        if (!info.isFile()) continue;
        // An absolute path, so that a bare name is never looked up on PATH; the program starts
        // in its own directory, where it keeps its files.
        if (QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath())) return true;
    }
    return false;
}

void QtDesktop::Beep() {
    QApplication::beep();
}

QImage QtDesktop::ClipboardImage() {
    return QGuiApplication::clipboard()->image();
}

void QtDesktop::SetClipboardImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

QSize QtDesktop::ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : kFallbackScreen;
}

int QtDesktop::PixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? qRound(screen->logicalDotsPerInchX()) : kFallbackPpi;
}

QThread::Priority QtDesktop::ThreadPriorityFor(UiPriority priority) {
    switch (priority) {
        case UiPriority::Idle:
            return QThread::IdlePriority;
        case UiPriority::Lowest:
            return QThread::LowestPriority;
        case UiPriority::Lower:
            return QThread::LowPriority;
        case UiPriority::Normal:
            return QThread::NormalPriority;
        case UiPriority::Higher:
            return QThread::HighPriority;
        case UiPriority::Highest:
            return QThread::HighestPriority;
    }
    return QThread::NormalPriority;
}

bool QtDesktop::SetUiPriority(UiPriority priority) {
    const QThread::Priority threadPriority = ThreadPriorityFor(priority);
    bool applied = false;
    if (uiThread_ == QThread::currentThread()) {
        applied = ApplyToCurrentThread(threadPriority);
    } else {
        // Scheduling policy can only be read and changed reliably from the thread itself.
        QObject* context = QAbstractEventDispatcher::instance(uiThread_);
        if (context == nullptr || !uiThread_->isRunning()) return false;
        QMetaObject::invokeMethod(
            context, [&applied, threadPriority] { applied = ApplyToCurrentThread(threadPriority); },
            Qt::BlockingQueuedConnection);
    }
    if (applied) priority_ = priority;
    return applied;
}

bool QtDesktop::AddFontFile(const QString& path) {
    return QFontDatabase::addApplicationFont(path) >= 0;
}

QString QtDesktop::DefaultLanguage() {
    return QLocale::system().name();
}

void QtDesktop::Wait(int milliseconds) {
    if (milliseconds <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void QtDesktop::EndProgram() {
    // quit() does nothing while the main loop is not running yet (during start-up); the queued
    // call ends the loop as soon as it starts.
    QCoreApplication::quit();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

}  // namespace kobrix
