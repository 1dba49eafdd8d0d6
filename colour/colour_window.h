#pragma once

#include <QColor>
#include <QSet>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "colour/core/composite.h"
#include "imaging/bitmap24.h"
#include "platform/platform.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace kobrix {

class BrowsingLink;
class PictureView;

// What the colour window needs from the automatic processing and the main window's options.
struct ColourWindowHooks {
    std::function<bool()> autoOption;         // "Auto L4L5L6 RGB" checked
    std::function<void(bool)> setAutoOption;  // the "Auto Colour" box changed
    std::function<void()> allBandsLoaded;     // the loaded check found three bands
    std::function<void()> combined;           // a straight combination ended the run
};

// "Colour": one colour picture from three single-band pictures of one scene, one a channel,
// with the MER2RGB mixtures, invert and solarize, saved into the 456_RGB directory.
//
// The working files (the bands, the composite and the mixtures as JPEG) are written into the
// directory the main window's file list shows, where the effects read them back.
//
// Controls by object name: Button1..3 load blue, green, red; Label1..3 their file names,
// Label19..21 their filter labels, Image4..6 their views; Image7 the composite with Shape1 in
// its place until a band is loaded; Button5 "Straight RGB Combination", Button7 "Save as",
// Button4 "Close", CheckBox4 "Auto Colour", Label13 the product-name prefix, Label17 and
// Label18 the save directories, Label22 the status; Button34 "MER2RGB Method", Button15
// "Invert RGB", Button42 "Solarize"; Image1..3 the channel views; ScrollBar1..4 with Label10,
// Label11, Label12, Label24.
class ColourWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ColourWindow(Platform& platform, QWidget* parent = nullptr);
    void Attach(BrowsingLink& link, ColourWindowHooks hooks);

    void Button1Click() { LoadBand(Band::Blue); }
    void Button2Click() { LoadBand(Band::Green); }
    void Button3Click() { LoadBand(Band::Red); }
    void LoadBand(Band band);
    void Button5Click();   // Straight RGB Combination
    void Button7Click();   // Save as
    void Button4Click();   // Close
    void Button34Click();  // MER2RGB Method
    void Button15Click();  // Invert RGB
    void Button42Click();  // Solarize

    // Used by the automatic processing.
    bool AutoColour() const;
    void SetAutoColour(bool on);
    // The dialogs' directory and one slot's preset file name (a bare name is looked up in the
    // working directory).
    void SetDialogDirectory(const QString& directory);
    void SetDialogFile(Band band, const QString& name);
    QString DialogFile(Band band) const;
    // The decoder's product-name prefix, and the preset band names built from it.
    void SetPrefix(const QString& prefix);
    QString Prefix() const;
    void SetPresetNames(const QString& red, const QString& green, const QString& blue);
    QString PresetName(Band band) const;
    void SetStatus(const QString& text, const QColor& colour = Qt::black);
    void SetBandIdCaption(const QString& caption);
    // Where the working files go and bare names are looked up.
    QString WorkingDirectory() const;

    bool Loaded(Band band) const { return Slot(band).loaded; }
    bool AllLoaded() const;
    const Bitmap24& Composite() const { return composite_; }
    const Bitmap24& EffectImage() const { return effect_; }
    const FilterTags& Tags() const { return tags_; }
    bool InvertedFlag() const { return inverted_; }
    bool SolarizedFlag() const { return solarized_; }
    QScrollBar& Slider(int number) const { return *sliders_[number - 1]; }

  private:
    struct BandSlot {
        const char* workingFile = nullptr;
        QString dialogFile;
        QString preset;
        Bitmap24 source;
        bool loaded = false;
        QLabel* fileLabel = nullptr;
        QLabel* filterLabel = nullptr;
        QLabel* presetLabel = nullptr;
        PictureView* view = nullptr;
    };
    BandSlot& Slot(Band band) { return slots_[static_cast<int>(band)]; }
    const BandSlot& Slot(Band band) const { return slots_[static_cast<int>(band)]; }
    QWidget* BuildSlot(Band band, const char* button, const QString& caption);
    void BuildEffects();
    void LoadedCheck();
    void StraightCombination();
    void ShowFilterLabels();
    QString PathIn(const QString& name) const;
    void WriteWorkingFile(const Bitmap24& picture, const char* name);
    Bitmap24 ReadWorkingFile(const char* name) const;
    void GreenControl();
    void MixBand(Band band);
    void SliderCombination();
    void ReadEffectSource();
    void SliderChanged(int number);
    void SolarizeChanged();
    void SetEffectFlags(bool inverted, bool solarized);
    void Guarded(const std::function<void()>& action);

    Platform& platform_;
    BrowsingLink* link_ = nullptr;
    ColourWindowHooks hooks_;
    std::array<BandSlot, 3> slots_;  // blue, green, red
    QString dialogDirectory_;
    Bitmap24 composite_;
    Bitmap24 blueMix_;
    Bitmap24 greenChannel_;
    Bitmap24 redMix_;
    Bitmap24 effectSource_;
    Bitmap24 effect_;
    FilterTags tags_;
    bool inverted_ = false;
    bool solarized_ = false;
    // Working files whose failure was reported; a later success forgets them again.
    QSet<QString> reportedFailures_;

    QCheckBox* autoColour_ = nullptr;
    QLabel* prefix_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* saveDirectory_ = nullptr;
    QLabel* backDirectory_ = nullptr;
    QPushButton* bandId_ = nullptr;
    QFrame* placeholder_ = nullptr;
    PictureView* compositeView_ = nullptr;
    std::array<PictureView*, 3> channelViews_{};  // blue mixture, green, red mixture
    std::array<QScrollBar*, 4> sliders_{};
    std::array<QLabel*, 4> sliderLabels_{};
};

}  // namespace kobrix
