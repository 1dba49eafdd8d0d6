#include "platform/qt_desktop.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kobrix {
namespace {

// A thread of its own for the priority tests, so that the idle level never slows the tests.
class WorkerThread {
  public:
    WorkerThread() {
        thread_.start();
        while (QAbstractEventDispatcher::instance(&thread_) == nullptr) QThread::msleep(1);
    }
    ~WorkerThread() {
        thread_.quit();
        thread_.wait();
    }
    QThread* Get() { return &thread_; }

    // The scheduling policy as the thread itself sees it.
    int Policy() {
        int policy = -1;
        QMetaObject::invokeMethod(
            QAbstractEventDispatcher::instance(&thread_),
            [&policy] {
                sched_param param{};
                pthread_getschedparam(pthread_self(), &policy, &param);
            },
            Qt::BlockingQueuedConnection);
        return policy;
    }

    // The thread's own nice value.
    int Niceness() {
        int nice = 0;
        QMetaObject::invokeMethod(
            QAbstractEventDispatcher::instance(&thread_),
            [&nice] {
                nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
            },
            Qt::BlockingQueuedConnection);
        return nice;
    }

  private:
    QThread thread_;
};

TEST(QtDesktopTest, LevelsMapOntoThreadPrioritiesAndIdleCanBeLeft) {
    WorkerThread worker;
    QtDesktop desktop(worker.Get());
    const std::pair<UiPriority, QThread::Priority> levels[] = {
        {UiPriority::Lowest, QThread::LowestPriority},
        {UiPriority::Lower, QThread::LowPriority},
        {UiPriority::Normal, QThread::NormalPriority},
        {UiPriority::Higher, QThread::HighPriority},
        {UiPriority::Idle, QThread::IdlePriority},
        {UiPriority::Highest, QThread::HighestPriority},
    };
    UiPriority inForce = UiPriority::Normal;
    for (const auto& [level, threadPriority] : levels) {
        SCOPED_TRACE(static_cast<int>(level));
        QString why;
        const bool applied = desktop.SetUiPriority(level, &why);
#ifdef SCHED_IDLE
        // Success must mean the thread really is in or out of the idle policy.
        EXPECT_EQ(worker.Policy() == SCHED_IDLE,
                  applied ? level == UiPriority::Idle : inForce == UiPriority::Idle);
#endif
        if (!applied) {
            // Without the privilege to raise it the system refuses, and says why.
            EXPECT_FALSE(why.isEmpty());
            EXPECT_EQ(desktop.CurrentPriority(), inForce);
            continue;
        }
        inForce = level;
        EXPECT_EQ(desktop.CurrentPriority(), level);
        EXPECT_EQ(worker.Get()->priority(), threadPriority);
        EXPECT_EQ(worker.Niceness(), QtDesktop::Niceness(level));
    }
}

TEST(QtDesktopTest, StartsAProgramFoundWithoutItsExeAndOnlyThat) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile script(dir.filePath("autostitch"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$#\" > started\n");  // in its own directory, no parameters
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QtDesktop desktop;
    EXPECT_FALSE(desktop.StartProgram(dir.filePath("stphmkre.exe")));
    EXPECT_FALSE(desktop.StartProgram("sh"));  // a bare name is not looked up on PATH
    ASSERT_TRUE(desktop.StartProgram(dir.filePath("autostitch.exe")));
    QFile marker(dir.filePath("started"));
    QElapsedTimer clock;
    clock.start();
    while (!(marker.exists() && marker.size() > 0) && clock.elapsed() < 5000) QThread::msleep(10);
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    EXPECT_EQ(marker.readAll().trimmed(), "0");
}

TEST(QtDesktopTest, OnlyWebAddressesAndExistingNotesAreOpened) {
    QtDesktop desktop;
    EXPECT_FALSE(desktop.OpenInTextEditor("/nonexistent/KOBRIX2007notes.txt"));
    EXPECT_FALSE(desktop.OpenUrl(""));
    EXPECT_FALSE(desktop.OpenUrl("file:///bin/sh"));
    EXPECT_FALSE(desktop.OpenUrl("javascript:alert(1)"));
}

TEST(QtDesktopTest, WaitLetsTimersRun) {
    QtDesktop desktop;
    bool fired = false;
    QTimer::singleShot(5, [&fired] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    desktop.Wait(60);
    EXPECT_TRUE(fired);
    EXPECT_GE(clock.elapsed(), 55);
}

// Runs the application's loop until it ends, or fails after a few seconds.
int RunLoop() {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    watchdog.start(3000);
    return QApplication::exec();
}

TEST(QtDesktopTest, EndProgramEndsTheLoopAndReturns) {
    QtDesktop desktop;
    bool returned = false;
    QTimer::singleShot(0, [&] {
        desktop.EndProgram();
        returned = true;
    });
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_TRUE(returned);

    // Asked before the loop runs (during start-up), the loop ends as soon as it starts.
    desktop.EndProgram();
    EXPECT_EQ(RunLoop(), 0);
}

}  // namespace
}  // namespace kobrix
