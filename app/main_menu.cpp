#include "app/main_menu.h"

#include <QActionGroup>
#include <QMenu>

namespace kobrix {

QMenu* MainMenu::AddMenu(const QString& title) {
    QMenu* menu = bar_.addMenu(title);
    menu->setObjectName("Menu" + QString(title).remove(' '));
    menu->setToolTipsVisible(true);
    menus_.insert(title, menu);
    return menu;
}

QAction* MainMenu::Add(QMenu* menu, const QString& caption, const QString& hint, bool checkable,
                       bool checked) {
    QAction* action = menu->addAction(caption);
    action->setObjectName("MenuItem" + caption);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    action->setCheckable(checkable);
    action->setChecked(checked);
    items_.insert(caption, action);
    return action;
}

MainMenu::MainMenu(QMenuBar& bar) : bar_(bar) {
    QMenu* file = AddMenu("File");
    for (const char* caption : {"Delete", "Save as", "Directories", "Close"}) Add(file, caption);

    QMenu* edit = AddMenu("Edit");
    Add(edit, "Open Kobrix Notes");
    QMenu* fontSize = edit->addMenu("Filename Font Size");
    fontSize->setObjectName("MenuFilenameFontSize");
    for (int size = 5; size <= 14; ++size) Add(fontSize, QString::number(size));
    Add(edit, "Kobrix Development Notes");
    Add(edit, "MarsRoverBlogNotes");

    QMenu* view = AddMenu("View");
    Add(view, "Full Size Image");
    Add(view, "Large Size Image");
    Add(view, "Manual Stereo Image Selection");
    Add(view, "Show Stereo Image Pair");
    Add(view, "Slideshow Start / Stop", QString(), true, false);
    Add(view, "Sunset Sim fade");
    Add(view, "Traverse Maps");
    Add(view, "Archive Label");
    Add(view, "Thumbnail Sheet", "Every picture of the folder as a thumbnail (Ctrl+T)");

    QMenu* tools = AddMenu("Tools");
    for (const char* caption :
         {"3D Anaglyph Stereo Tool", "3D Stereo XI Tool", "AVI Creation Tool", "Clipboard Tool",
          "Colour Image Tool", "Magnifier Tool", "My Birthday Search Tool",
          "SOL / Camera Search Tool", "Watermark Tool"}) {
        Add(tools, caption);
    }

    QMenu* options = AddMenu("Options");
    QMenu* priority = options->addMenu("Application Priority");
    priority->setObjectName("MenuApplicationPriority");
    auto* group = new QActionGroup(priority);
    group->setExclusive(true);
    for (const char* caption : {"Idle", "Lowest", "Lower", "Normal", "Higher", "Highest"}) {
        group->addAction(Add(priority, caption, QString(), true, QString(caption) == "Lower"));
    }
    Add(options, "Check Print / Clipboard", "Swap between Print and Clipboard", true, false);
    Add(options, "Slideshow Delay", "Change the Slideshow delay in milliseconds");
    Add(options, "Check Stereo Autoshow", "Autoshow Stereo Images with same Time and Filter", true,
        false);
    Add(options, "Thumbnails as Fullsize", QString(), true, false);
    Add(options, "Check Loop Slideshow", QString(), true, true);
    Add(options, "Auto L4L5L6 RGB", QString(), true, true);
    Add(options, "Force Manual Colour", QString(), true, false);
    Add(options, "Let's go to the movies", QString(), true, false)->setVisible(false);
    Add(options, "tlhIngan Hol ");

    QMenu* information = AddMenu("Information");
    for (const char* caption :
         {"Earth Variables Display", "Martian Calendar", "Martian Variables Display",
          "MER Data Decoding", "The Help Menu", "Your Screen Resolution"}) {
        Add(information, caption);
    }

    QMenu* remember = AddMenu("Remember");
    Add(remember, "Those that went before us");

    QMenu* links = AddMenu("Web Links");
    for (const char* caption :
         {"MER Image Web Links", "Mars Software Web Links", "Mars Data Websites/Societies",
          "Other Space Activities/Missions", "Meteorites", "Amateur Radio in Space",
          "Your Participation", "Visit NASA at current image"}) {
        Add(links, caption);
    }

    QMenu* help = AddMenu("Help");
    Add(help, "Help");

    QMenu* external = AddMenu("External");
    Add(external, "Run Autostitch external program");
    Add(external, "Run Stereo Photo Maker external program");
}

QAction* MainMenu::Item(const QString& caption) const {
    return items_.value(caption, nullptr);
}

QMenu* MainMenu::Menu(const QString& title) const {
    return menus_.value(title, nullptr);
}

void MainMenu::DisableMissing(const QStringList& captions) {
    for (const QString& caption : captions) {
        if (QAction* action = Item(caption)) action->setEnabled(false);
    }
}

}  // namespace kobrix
