#pragma once

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <memory>
#include <type_traits>

#include <gtest/gtest.h>

#include "app/birthday_search_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/sol_search_window.h"
#include "app/windows.h"
#include "browse/working_tree.h"
#include "imaging/jpeg_io.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_prompts.h"
#include "tests/support/fake_time_zone.h"
#include "tests/support/window_fixture.h"

namespace kobrix::testing {

// The program's windows over fakes, started in the program directory, whose working tree
// exists, and browsed to a folder of small sample pictures elsewhere, with the program's search
// window of type W opened from the menu.
template <typename W>
class SearchWindowTest : public ::testing::Test {
  protected:
    FakePrompts prompts;
    FakeDesktop desktop;
    FakeTimeZone zone;
    Platform platform{prompts, desktop, zone, DateNames::English()};
    QTemporaryDir dir;
    std::unique_ptr<Windows> windows;
    W* window = nullptr;

    MainWindow& Main() { return windows->Main(); }
    QListWidget& FileList() { return *Main().template findChild<QListWidget*>("FileListBox1"); }
    QString Selected() {
        return FileList().currentItem() ? FileList().currentItem()->text() : QString();
    }

    QString Pictures() const { return PicturesFolder(dir); }
    void Open(const std::vector<std::string>& names) {
        ASSERT_TRUE(QDir().mkpath(Pictures()));
        for (const std::string& name : names) {
            Bitmap24 picture(64, 64);
            picture.Fill(90, 60, 30);
            WriteJpegFile(picture,
                          QDir(Pictures()).filePath(QString::fromStdString(name)).toStdString());
        }
        const WorkingTree tree = MakeWorkingTree(dir.path().toStdString());
        for (int number = 1; number <= WorkingTree::kPathCount; ++number) {
            ASSERT_TRUE(QDir().mkpath(QString::fromStdString(tree.Path(number))));
        }
        windows = std::make_unique<Windows>(platform);
        windows->Start(dir.path());
        Main().ShowListDirectory(Pictures().toStdString());
        if constexpr (std::is_same_v<W, SolSearchWindow>) {
            window = &windows->SolSearch();
            Main().Menu().Item("SOL / Camera Search Tool")->trigger();
        } else {
            window = &windows->BirthdaySearch();
            Main().Menu().Item("My Birthday Search Tool")->trigger();
        }
        ASSERT_TRUE(window->isVisible());
        ASSERT_TRUE(Main().SelectFile(QString::fromStdString(names.front())));
        prompts.Clear();
    }
    // Runs the timer's steps as its events would, until it stops.
    int RunWhileTimerOn(int limit = 30) {
        int steps = 0;
        while (window->SearchTimer().isActive() && steps < limit) {
            window->Timer1Timer();
            ++steps;
        }
        return steps;
    }
    template <typename C>
    C& Control(const char* name) {
        C* control = window->template findChild<C*>(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
};

}  // namespace kobrix::testing
