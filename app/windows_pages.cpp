// The information, help and link pages, the traverse maps, the dedication and the typeface
// page: how they are reached and what they show.
#include <QAction>
#include <QPushButton>

#include "app/directories_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/print_mode.h"
#include "app/windows.h"
#include "colour/colour_window.h"
#include "pages/dedication_page.h"
#include "pages/help_pages.h"
#include "pages/klingon_page.h"
#include "pages/link_pages.h"
#include "pages/traverse_maps.h"
#include "tools/language_window.h"
#include "tools/tagging_window.h"

namespace kobrix {
namespace {

void Present(QWidget& window) {
    window.show();
    window.raise();
}

// Help links that show what a menu item shows, by the item's caption.
const std::pair<const char*, const char*> kKeyToMenuItem[] = {
    {"stereo", "3D Stereo XI Tool"},
    {"colour", "Colour Image Tool"},
    {"large", "Large Size Image"},
    {"fullsize", "Full Size Image"},
    {"manualstereo", "Manual Stereo Image Selection"},
    {"martiantime", "Martian Variables Display"},
    {"earthtime", "Earth Variables Display"},
    {"calendar", "Martian Calendar"},
    {"datadecoding", "MER Data Decoding"},
    {"traversemaps", "Traverse Maps"},
    {"helphub", "The Help Menu"},
    {"dedication", "Those that went before us"},
    {"birthday", "My Birthday Search Tool"},
    {"solsearch", "SOL / Camera Search Tool"},
    {"slideshowdelay", "Slideshow Delay"},
    {"screenresolution", "Your Screen Resolution"},
    {"anaglyph", "3D Anaglyph Stereo Tool"},
    {"avitool", "AVI Creation Tool"},
    {"magnifier", "Magnifier Tool"},
    {"clipboard", "Clipboard Tool"},
    {"tagging", "Watermark Tool"},
    {"sunset", "Sunset Sim fade"},
    {"directories", "Directories"},
};

}  // namespace

void Windows::ConnectPages() {
    MainWindow& main = *main_;
    MainMenu& menu = main.Menu();
    const auto onItem = [&main, &menu](const char* caption, std::function<void()> action) {
        QObject::connect(menu.Item(caption), &QAction::triggered, &main,
                         [&main, action] { main.Drive(action); });
    };

    // Web links: every link goes through the main window's browser routine.
    const std::pair<const char*, LinkPageId> linkItems[] = {
        {"MER Image Web Links", LinkPageId::Mission},
        {"Mars Software Web Links", LinkPageId::MartianSoftware},
        {"Mars Data Websites/Societies", LinkPageId::MarsWebsites},
        {"Other Space Activities/Missions", LinkPageId::SolarSystem},
        {"Meteorites", LinkPageId::Meteorites},
        {"Amateur Radio in Space", LinkPageId::AmateurRadio},
        {"Your Participation", LinkPageId::Participate},
    };
    for (const auto& [caption, id] : linkItems) {
        WebLinkPage& page = Links(id);
        page.SetOpener([&main](const QString& address) { main.OpenInBrowser(address); });
        onItem(caption, [&page] { Present(page); });
    }
    QObject::connect(&Links(LinkPageId::Mission), &WebLinkPage::moreLinksClicked, &main,
                     [this] { Present(*linkIndex_); });
    QObject::connect(linkIndex_.get(), &WebLinkIndexPage::pageRequested, &main,
                     [this](LinkPageId id) { Present(Links(id)); });
    QObject::connect(main.findChild<QPushButton*>("WebLinksButton"), &QPushButton::clicked, &main,
                     [this] { Present(*linkIndex_); });

    onItem("Those that went before us", [this] { dedication_->Start(); });
    klingon_->Attach(
        KlingonHooks{[&main] { return main.IAmHereDirectory(); },
                     [&main](const QString& family) { main.UseTypeface(family); },
                     [this](const QString& family) { tagging_->UseTypeface(family, Qt::red); }});
    onItem("tlhIngan Hol ", [this] { klingon_->Open(); });
    ConnectHelp();
    ConnectTraverseMaps();
}

void Windows::ConnectHelp() {
    MainWindow& main = *main_;
    const auto showHub = [this] { Present(*helpHub_); };
    main.SetHelpHub(showHub);
    for (const char* caption : {"The Help Menu", "Help"}) {
        QObject::connect(main.Menu().Item(caption), &QAction::triggered, &main, showHub);
    }
    QObject::connect(directories_.get(), &DirectoriesWindow::helpMenuClicked, &main, showHub);
    QObject::connect(helpHub_.get(), &HelpHubPage::pageRequested, &main,
                     [this](HelpPageId id) { Present(Help(id)); });
    QObject::connect(helpHub_.get(), &HelpHubPage::colourToolRequested, &main,
                     [this] { Present(*colour_); });
    for (auto& page : helpPages_) {
        QObject::connect(page.get(), &HelpTextPage::backClicked, &main, showHub);
        QObject::connect(
            page.get(), &HelpTextPage::windowRequested, &main,
            [this, &main](const QString& key) { main.Drive([this, key] { ShowByKey(key); }); });
    }
    // "Show me": the first image of the main window's list, displayed.
    QObject::connect(&Help(HelpPageId::QuickStart), &HelpTextPage::showMeClicked, &main, [&main] {
        main.Drive([&main] {
            // As a click on it would: size hint, display, animation.
            const auto& names = main.GetBrowser().Files().Names();
            if (!names.empty()) main.SelectFile(QString::fromStdString(names.front()));
            Present(main);
        });
    });
}

void Windows::ConnectTraverseMaps() {
    MainWindow& main = *main_;
    // The viewers list the maps of the working tree's traverse-map directories: pointed there
    // by the first slideshow step, and again whenever the chooser opens, so that the maps are
    // the tree's even before any slideshow.
    const auto point = [this, &main] {
        oppyMaps_->PointAt(QString::fromStdString(main.Tree().OppyDirNameStrng));
        spiritMaps_->PointAt(QString::fromStdString(main.Tree().SpiritDirNameStrng));
    };
    main.SetTraverseMapPointer(point);
    QObject::connect(main.Menu().Item("Traverse Maps"), &QAction::triggered, &main,
                     [this, &main, point] {
                         main.Drive([this, point] {
                             point();
                             Present(*traverseChooser_);
                         });
                     });
    QObject::connect(traverseChooser_.get(), &TraverseChooserPage::roverChosen, &main,
                     [this](TraverseRover rover) {
                         Present(rover == TraverseRover::Spirit ? *spiritMaps_ : *oppyMaps_);
                     });
    for (MapViewerPage* viewer : {spiritMaps_.get(), oppyMaps_.get()}) {
        main.Printing().Register(&viewer->PrintButton());
        QObject::connect(viewer, &MapViewerPage::printClicked, &main, [&main, viewer] {
            main.Drive([&main, viewer] { main.Printing().PrintOrCopy(*viewer); });
        });
    }
}

bool Windows::ShowByKey(const QString& key) {
    MainWindow& main = *main_;
    if (key == "colourhelp") {
        Present(Help(HelpPageId::ColourComposite));
    } else if (key == "anaglyphhelp") {
        Present(Help(HelpPageId::Anaglyph));
    } else if (key == "weblinks") {
        Present(*linkIndex_);
    } else if (key == "language") {
        Present(*language_);
    } else {
        for (const auto& [name, caption] : kKeyToMenuItem) {
            if (key != name) continue;
            if (key == "slideshowdelay") main.StopSlideshowTimer();
            QAction* item = main.Menu().Item(caption);
            if (item == nullptr) return false;
            item->trigger();
            return true;
        }
        return false;
    }
    return true;
}

}  // namespace kobrix
