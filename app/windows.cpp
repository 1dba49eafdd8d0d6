#include "app/windows.h"

#include <QLabel>
#include <QPushButton>
#include <type_traits>

#include "app/birthday_search_window.h"
#include "app/directories_window.h"
#include "app/file_commands.h"
#include "app/full_size_window.h"
#include "app/large_image_page.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/manual_stereo_window.h"
#include "app/slideshow_delay_window.h"
#include "app/sol_search_window.h"
#include "app/stereo_viewer.h"
#include "colour/anaglyph_window.h"
#include "colour/colour_processor_window.h"
#include "colour/colour_run.h"
#include "colour/colour_window.h"
#include "colour/sunset_window.h"
#include "movie/avi_player_panel.h"
#include "movie/avi_tool_window.h"
#include "movie/large_player_window.h"
#include "pages/dedication_page.h"
#include "pages/earth_time_page.h"
#include "pages/help_pages.h"
#include "pages/information_text_pages.h"
#include "pages/klingon_page.h"
#include "pages/link_pages.h"
#include "pages/martian_time_page.h"
#include "pages/traverse_maps.h"
#include "tools/clipboard_window.h"
#include "tools/language_window.h"
#include "tools/magnifier_window.h"
#include "tools/tagging_window.h"
#include "widgets/controls.h"
#include "widgets/fit_window.h"

namespace kobrix {

template <typename W, typename... Args>
std::unique_ptr<W> Windows::Create(FitSteps steps, Args&&... args) {
    auto window = std::make_unique<W>(platform_, std::forward<Args>(args)...);
    window->ensurePolished();
    if constexpr (std::is_same_v<W, MainWindow>) {
        // Its own design size; adjustSize would hold it to two thirds of the screen.
        window->resize(window->sizeHint().expandedTo(window->minimumSizeHint()));
    } else if (!HasDesignSize(*window)) {
        // Fitted to its contents, unless it was designed at a size of its own (the large
        // movie player, whose picture would otherwise shrink to a thumbnail).
        window->adjustSize();
    }
    all_.append(window.get());
    FitWindowToScreen(*window, platform_.desktop, steps, all_);
    return window;
}

Windows::Windows(Platform& platform) : platform_(platform) {
    // The fixed creation order: the main window first, then every tool and page.
    using H = HelpPageId;
    using L = LinkPageId;
    const auto help = [this](H id, FitSteps steps = FitSteps::All) {
        helpPages_[static_cast<int>(id)] = Create<HelpTextPage>(steps, id);
    };
    const auto links = [this](L id) {
        linkPages_[static_cast<int>(id)] = Create<WebLinkPage>(FitSteps::All, id);
    };
    main_ = Create<MainWindow>();
    stereoViewer_ = Create<StereoViewer>();
    earthTime_ = Create<EarthTimePage>();
    links(L::Mission);
    martianCalendar_ = Create<MartianCalendarPage>(FitSteps::WithoutFont);
    traverseChooser_ = Create<TraverseChooserPage>();
    largePage_ = Create<LargeImagePage>(FitSteps::WithoutFont);
    oppyMaps_ = Create<MapViewerPage>(FitSteps::All, TraverseRover::Opportunity);
    spiritMaps_ = Create<MapViewerPage>(FitSteps::All, TraverseRover::Spirit);
    dataDecoding_ = Create<DataDecodingPage>();
    manualStereo_ = Create<ManualStereoWindow>();
    helpHub_ = Create<HelpHubPage>(FitSteps::WithoutFont);
    martianTime_ = Create<MartianTimePage>();
    dedication_ = Create<DedicationPage>();
    slideshowDelay_ = Create<SlideshowDelayWindow>();
    fullSize_ = Create<FullSizeWindow>();
    help(H::Usage, FitSteps::None);
    anaglyph_ = Create<AnaglyphWindow>();
    colour_ = Create<ColourWindow>();
    sunset_ = Create<SunsetWindow>();
    directories_ = Create<DirectoriesWindow>();
    solSearch_ = Create<SolSearchWindow>();
    links(L::MartianSoftware);
    birthdaySearch_ = Create<BirthdaySearchWindow>();
    help(H::MenuSelections);
    help(H::ColourComposite);
    help(H::Anaglyph);
    help(H::QuickStart);
    colourProcessor_ = Create<ColourProcessorWindow>();
    linkIndex_ = Create<WebLinkIndexPage>();
    links(L::MarsWebsites);
    links(L::SolarSystem);
    links(L::Meteorites);
    links(L::AmateurRadio);
    aviTool_ = Create<AviToolWindow>();
    links(L::Participate);
    klingon_ = Create<KlingonPage>();
    largePlayer_ = Create<LargePlayerWindow>();
    magnifier_ = Create<MagnifierWindow>();
    clipboard_ = Create<ClipboardWindow>();
    // These two lay out their text themselves and skip the screen fit.
    tagging_ = Create<TaggingWindow>(FitSteps::None);
    language_ = Create<LanguageWindow>(FitSteps::None);
    MainWindowPeers peers;
    peers.largePage = largePage_.get();
    peers.fullSize = fullSize_.get();
    peers.slideshowDelay = slideshowDelay_.get();
    peers.earthTime = earthTime_.get();
    peers.martianCalendar = martianCalendar_.get();
    peers.dataDecoding = dataDecoding_.get();
    peers.martianTime = martianTime_.get();
    peers.directories = directories_.get();
    peers.stereoViewer = stereoViewer_.get();
    peers.manualStereo = manualStereo_.get();
    peers.solSearch = solSearch_.get();
    peers.birthdaySearch = birthdaySearch_.get();
    main_->SetPeers(peers);
    solSearch_->Attach(*main_);
    birthdaySearch_->Attach(*main_);
    ConnectColourTools();
    ConnectComposites();
    ConnectTagging();
    ConnectMagnifier();
    ConnectPages();
}

void Windows::ConnectMagnifier() {
    MainWindow& main = *main_;
    clipboard_->Attach(main.Link());
    magnifier_->Attach(main.Link(), [this] { clipboard_->ShowClipboard(); });
    const auto open = [this, &main] { main.Drive([this] { magnifier_->OpenOnCurrentImage(); }); };
    QObject::connect(main.Menu().Item("Magnifier Tool"), &QAction::triggered, &main, open);
    QObject::connect(fullSize_.get(), &FullSizeWindow::magnifyRequested, &main, open);
    QObject::connect(main.Menu().Item("Clipboard Tool"), &QAction::triggered, &main,
                     [this, &main] { main.Drive([this] { clipboard_->ShowClipboard(); }); });
    main.SetMagnifierStep([this] {
        if (magnifier_->FollowsSlideshow()) magnifier_->OpenOnCurrentImage();
    });
}

void Windows::ConnectTagging() {
    MainWindow& main = *main_;
    TaggingPeers peers;
    peers.refreshEarthPage = [this] { earthTime_->Button2Click(); };
    peers.earthRemainders = [this] {
        const auto text = [this](const char* name) {
            const QLabel* label = earthTime_->Value(name);
            return label != nullptr ? label->text().toStdString() : std::string();
        };
        return std::pair{text("Label53"), text("Label45")};
    };
    peers.openLanguages = [this] {
        language_->show();
        language_->raise();
    };
    tagging_->Attach(main.Link(), std::move(peers));
    language_->Attach(main.Link(),
                      [this](const QString& family) { tagging_->SetFontName(family); });
    main.SetTagTool(tagging_.get());

    // The AVI creation tool drives the tagging tool frame by frame.
    aviTool_->Attach(main.Link(), tagging_.get());
    aviTool_->Player().SetLargePlayer(*largePlayer_);
    QObject::connect(main.Menu().Item("AVI Creation Tool"), &QAction::triggered, &main,
                     [this, &main] { main.Drive([this] { aviTool_->OpenFromMenu(); }); });
    // Frames copied into the AVI source directory: the tool opens on them and converts them.
    QObject::connect(&main.FileOps(), &FileCommands::aviToolRequested, &main, [this, &main] {
        main.Drive([this] {
            aviTool_->OpenFromMenu();
            aviTool_->ConvertJpgsToBmps();
        });
    });
}

void Windows::ConnectColourTools() {
    MainWindow& main = *main_;
    anaglyph_->Attach(main.Link());
    QObject::connect(main.Menu().Item("3D Anaglyph Stereo Tool"), &QAction::triggered, &main,
                     [this] {
                         anaglyph_->show();
                         anaglyph_->raise();
                     });
    QObject::connect(stereoViewer_.get(), &StereoViewer::anaglyphClicked, &main, [this, &main] {
        main.Drive([this, &main] {
            const auto [right, left] = main.AnaglyphPairFromViewer();
            anaglyph_->LoadPair(right, left);
        });
    });
    QObject::connect(main.Menu().Item("Sunset Sim fade"), &QAction::triggered, &main,
                     [this, &main] {
                         main.Drive([this, &main] {
                             sunset_->Receive(main.DisplayedPicture(),
                                              QString::fromStdString(main.DisplayedPath()));
                         });
                     });
}

void Windows::ConnectComposites() {
    MainWindow& main = *main_;
    QAction& autoOption = *main.Menu().Item("Auto L4L5L6 RGB");
    colourRun_ = std::make_unique<ColourRun>(platform_, main.Link(), *colour_, *colourProcessor_,
                                             autoOption, *main.Menu().Item("Force Manual Colour"));
    ColourWindowHooks hooks;
    hooks.autoOption = [&autoOption] { return autoOption.isChecked(); };
    hooks.setAutoOption = [&autoOption](bool on) { autoOption.setChecked(on); };
    hooks.allBandsLoaded = [this] { colourRun_->AllBandsLoaded(); };
    hooks.combined = [this] { colourRun_->Combined(); };
    colour_->Attach(main.Link(), std::move(hooks));
    main.SetDecodeListener([this](const DecodeState& state) {
        colour_->SetPrefix(QString::fromStdString(state.product.FilterSetPrefix));
    });
    QObject::connect(main.Menu().Item("Colour Image Tool"), &QAction::triggered, &main, [this] {
        colour_->show();
        colour_->raise();
    });
    QObject::connect(main.findChild<QPushButton*>("Button9"), &QPushButton::clicked, &main,
                     [this, &main] { main.Drive([this] { colourRun_->ColourButton(); }); });
}

Windows::~Windows() = default;

void Windows::Start(const QString& directory) {
    main_->show();
    main_->Start(directory);
}

}  // namespace kobrix
