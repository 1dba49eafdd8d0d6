#pragma once

#include <QAction>
#include <QHash>
#include <QMenuBar>
#include <QString>

namespace kobrix {

// The main window's menu bar. Items are found by their caption; the Application Priority
// items and the font sizes by theirs too ("Idle", "5").
class MainMenu {
  public:
    explicit MainMenu(QMenuBar& bar);

    QAction* Item(const QString& caption) const;
    QMenu* Menu(const QString& title) const;
    // Items of windows that do not exist yet are shown disabled.
    void DisableMissing(const QStringList& captions);

  private:
    QMenu* AddMenu(const QString& title);
    QAction* Add(QMenu* menu, const QString& caption, const QString& hint = QString(),
                 bool checkable = false, bool checked = false);

    QMenuBar& bar_;
    QHash<QString, QAction*> items_;
    QHash<QString, QMenu*> menus_;
};

}  // namespace kobrix
