#pragma once

#include <QList>
#include <QString>
#include <memory>

#include "browse/screen_fit.h"
#include "pages/core/help_texts.h"
#include "pages/core/link_table.h"
#include "platform/platform.h"

class QWidget;

namespace kobrix {

class AnaglyphWindow;
class AviToolWindow;
class ColourProcessorWindow;
class ColourRun;
class ColourWindow;
class ClipboardWindow;
class MagnifierWindow;
class LanguageWindow;
class TaggingWindow;
class DataDecodingPage;
class DirectoriesWindow;
class EarthTimePage;
class FullSizeWindow;
class LargeImagePage;
class MainWindow;
class ManualStereoWindow;
class MartianCalendarPage;
class MartianTimePage;
class SlideshowDelayWindow;
class SolSearchWindow;
class BirthdaySearchWindow;
class StereoViewer;
class SunsetWindow;
class DedicationPage;
class HelpHubPage;
class HelpTextPage;
class KlingonPage;
class LargePlayerWindow;
class MapViewerPage;
class TraverseChooserPage;
class WebLinkIndexPage;
class WebLinkPage;

// Owns every window of the program. They are created once, in a fixed order with the main
// window first, each fitting itself to the screen; all but the main window stay hidden until
// something shows them, and none is destroyed before the program ends.
class Windows {
  public:
    explicit Windows(Platform& platform);
    ~Windows();

    // Shows the main window and starts browsing in `directory`.
    void Start(const QString& directory);

    MainWindow& Main() { return *main_; }
    LargeImagePage& LargePage() { return *largePage_; }
    FullSizeWindow& FullSize() { return *fullSize_; }
    SlideshowDelayWindow& SlideshowDelay() { return *slideshowDelay_; }
    DirectoriesWindow& Directories() { return *directories_; }
    EarthTimePage& EarthTime() { return *earthTime_; }
    MartianCalendarPage& MartianCalendar() { return *martianCalendar_; }
    DataDecodingPage& DataDecoding() { return *dataDecoding_; }
    MartianTimePage& MartianTime() { return *martianTime_; }
    StereoViewer& Stereo() { return *stereoViewer_; }
    ManualStereoWindow& ManualStereo() { return *manualStereo_; }
    SolSearchWindow& SolSearch() { return *solSearch_; }
    BirthdaySearchWindow& BirthdaySearch() { return *birthdaySearch_; }
    AnaglyphWindow& Anaglyph() { return *anaglyph_; }
    SunsetWindow& Sunset() { return *sunset_; }
    ColourWindow& Colour() { return *colour_; }
    ColourProcessorWindow& ColourProcessor() { return *colourProcessor_; }
    ColourRun& ColourProcessing() { return *colourRun_; }
    TaggingWindow& Tagging() { return *tagging_; }
    AviToolWindow& AviTool() { return *aviTool_; }
    MagnifierWindow& Magnifier() { return *magnifier_; }
    ClipboardWindow& Clipboard() { return *clipboard_; }
    LanguageWindow& Language() { return *language_; }
    HelpHubPage& HelpHub() { return *helpHub_; }
    HelpTextPage& Help(HelpPageId id) { return *helpPages_[static_cast<int>(id)]; }
    WebLinkPage& Links(LinkPageId id) { return *linkPages_[static_cast<int>(id)]; }
    WebLinkIndexPage& LinkIndex() { return *linkIndex_; }
    TraverseChooserPage& TraverseChooser() { return *traverseChooser_; }
    MapViewerPage& SpiritMaps() { return *spiritMaps_; }
    MapViewerPage& OpportunityMaps() { return *oppyMaps_; }
    DedicationPage& Dedication() { return *dedication_; }
    KlingonPage& Klingon() { return *klingon_; }
    LargePlayerWindow& LargePlayer() { return *largePlayer_; }
    // Every window, in the order they were created.
    const QList<QWidget*>& All() const { return all_; }
    // Shows the window a help link names by its key; false for a key it does not know.
    bool ShowByKey(const QString& key);

  private:
    void ConnectColourTools();
    void ConnectComposites();
    void ConnectTagging();
    void ConnectMagnifier();
    void ConnectPages();
    void ConnectHelp();
    void ConnectTraverseMaps();
    template <typename W, typename... Args>
    std::unique_ptr<W> Create(FitSteps steps = FitSteps::All, Args&&... args);

    Platform& platform_;
    QList<QWidget*> all_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<StereoViewer> stereoViewer_;
    std::unique_ptr<EarthTimePage> earthTime_;
    std::unique_ptr<MartianCalendarPage> martianCalendar_;
    std::unique_ptr<LargeImagePage> largePage_;
    std::unique_ptr<DataDecodingPage> dataDecoding_;
    std::unique_ptr<ManualStereoWindow> manualStereo_;
    std::unique_ptr<MartianTimePage> martianTime_;
    std::unique_ptr<SlideshowDelayWindow> slideshowDelay_;
    std::unique_ptr<FullSizeWindow> fullSize_;
    std::unique_ptr<AnaglyphWindow> anaglyph_;
    std::unique_ptr<SunsetWindow> sunset_;
    std::unique_ptr<ColourWindow> colour_;
    std::unique_ptr<ColourProcessorWindow> colourProcessor_;
    std::unique_ptr<ColourRun> colourRun_;
    std::unique_ptr<DirectoriesWindow> directories_;
    std::unique_ptr<SolSearchWindow> solSearch_;
    std::unique_ptr<BirthdaySearchWindow> birthdaySearch_;
    std::unique_ptr<AviToolWindow> aviTool_;
    std::unique_ptr<MagnifierWindow> magnifier_;
    std::unique_ptr<ClipboardWindow> clipboard_;
    std::unique_ptr<TaggingWindow> tagging_;
    std::unique_ptr<LanguageWindow> language_;
    std::unique_ptr<HelpHubPage> helpHub_;
    std::unique_ptr<HelpTextPage> helpPages_[5];
    std::unique_ptr<WebLinkPage> linkPages_[7];
    std::unique_ptr<WebLinkIndexPage> linkIndex_;
    std::unique_ptr<TraverseChooserPage> traverseChooser_;
    std::unique_ptr<MapViewerPage> spiritMaps_;
    std::unique_ptr<MapViewerPage> oppyMaps_;
    std::unique_ptr<DedicationPage> dedication_;
    std::unique_ptr<KlingonPage> klingon_;
    std::unique_ptr<LargePlayerWindow> largePlayer_;
};

}  // namespace kobrix
