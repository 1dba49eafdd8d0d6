#include "platform/qt_desktop.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// The niceness each level gives the thread. Linux threads share the process's real-time
// priority range of one value under the normal policy, so Qt's levels alone change nothing
// there; the nice value of the thread itself does.
int NicenessFor(UiPriority priority) {
    switch (priority) {
        case UiPriority::Idle:
            return 19;
        case UiPriority::Lowest:
            return 15;
        case UiPriority::Lower:
            return 8;
        case UiPriority::Normal:
            return 0;
        case UiPriority::Higher:
            return -5;
        case UiPriority::Highest:
            return -10;
    }
    return 0;
}

// Runs on the thread whose priority changes. Returns an empty text, or why the system
// refused.
QString ApplyToCurrentThread(UiPriority level, QThread::Priority priority) {
#ifdef SCHED_IDLE
    // Qt keeps a thread's scheduling policy when it changes its priority, so a thread once
    // set to idle would stay idle at every later level. Leave the idle policy first.
    if (priority != QThread::IdlePriority) {
        int policy = 0;
        sched_param param{};
        if (pthread_getschedparam(pthread_self(), &policy, &param) == 0 && policy == SCHED_IDLE) {
            param.sched_priority = 0;
            if (const int error = pthread_setschedparam(pthread_self(), SCHED_OTHER, &param)) {
                return QString::fromLocal8Bit(std::strerror(error));
            }
        }
    }
#endif
#ifdef __linux__
    // On Linux a thread id names the thread alone to setpriority.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    if (::setpriority(PRIO_PROCESS, thread, NicenessFor(level)) != 0) {
        return QString::fromLocal8Bit(std::strerror(errno));
    }
#else
    (void)level;
#endif
    QThread::currentThread()->setPriority(priority);
    return {};
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

bool QtDesktop::SetUiPriority(UiPriority priority, QString* why) {
    const QThread::Priority threadPriority = ThreadPriorityFor(priority);
    QString refusal;
    if (uiThread_ == QThread::currentThread()) {
        refusal = ApplyToCurrentThread(priority, threadPriority);
    } else {
        // Scheduling policy can only be read and changed reliably from the thread itself.
        QObject* context = QAbstractEventDispatcher::instance(uiThread_);
        if (context == nullptr || !uiThread_->isRunning()) {
            refusal = QStringLiteral("the thread is not running");
        } else {
            QMetaObject::invokeMethod(
                context,
                [&refusal, priority, threadPriority] {
                    refusal = ApplyToCurrentThread(priority, threadPriority);
                },
                Qt::BlockingQueuedConnection);
        }
    }
    if (!refusal.isEmpty()) {
        if (why != nullptr) *why = refusal;
        return false;
    }
    priority_ = priority;
    return true;
}

int QtDesktop::Niceness(UiPriority priority) {
    return NicenessFor(priority);
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
