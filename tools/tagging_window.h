#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>

#include "browse/tag_tool.h"
#include "imaging/bitmap24.h"
#include "platform/platform.h"
#include "tools/core/tag_text.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kobrix {

class PictureLink;
class PictureView;

// What the tagging tool takes from windows other than the main one.
struct TaggingPeers {
    std::function<void()> refreshEarthPage;  // the Earth time page's Display Time
    // The minutes and seconds remainders the Earth time page shows.
    std::function<std::pair<std::string, std::string>()> earthRemainders;
    std::function<void()> openLanguages;  // the language window
};

// "Kobrix Image Tagging": one line of text on a copy of the main window's picture, typed or
// built from the decoded name and times, saved as GIF, JPEG or BMP. Drawing happens on the
// picture's full-resolution bitmap; placed text stays until the picture is loaded again.
//
// Controls by object name: Image1 the picture, Edit1 the text ("User Text"), ColourBox, FontName,
// FontSize, CharsetList, LanguageList, TopLeft, BottomLeft, UserPosition; the parts Mer12,
// SpiritOpportunity, SolNumber, MartianHour, MartianMinute, MartianSeconds, EarthMinsSecs,
// EarthDate; UserTextOnly, Auto (hidden); AttributesLabel ("Kobrix Auto Tag"), AutoTagLabel
// ("Kobrix Image Tag"), SlideshowState; the buttons by their captions.
class TaggingWindow : public QWidget, public TagTool {
    Q_OBJECT
  public:
    explicit TaggingWindow(Platform& platform, QWidget* parent = nullptr);
    void Attach(PictureLink& link, TaggingPeers peers);

    // TagTool
    void ApplySizePreset(int pictureWidth) override;
    int DrawingFontSize() const override;
    Bitmap24 TagPicture(const Bitmap24& picture) override;
    void OpenFromMenu() override;
    void UserTagClicked() override;
    bool SlideshowOn() const override;
    bool AutoOn() const override;
    bool EarthMinsSecsOn() const override;
    void EnterAutoTagAndPlace() override;

    // The buttons and operations, by role.
    void LoadRefresh() override;     // "Load/Refresh Original Image"
    void BuildImageName() override;  // the automatic tag into its label
    void EnterAutoTag() override;    // "Enter Auto Tag"
    void PlaceText() override;       // "Place Text On Image"
    void SelectFont();               // "Select Font"
    void ChooseColour();             // the colour box
    void SaveTagged();               // "Save Tagged Image"
    void Last();                     // "<< Last"
    void Next();                     // "Next >>"
    void ToggleSlideshow();
    void CloseTool();
    void ChooseCharset(int row);
    void ChooseLanguage(int row);
    // The language window sets the font by name (not the character set).
    void SetFontName(const QString& family);
    // The typeface page: the text font, its colour swatch and the font dialog's choice.
    void UseTypeface(const QString& family, const QColor& colour);
    void SetAuto(bool on) override;
    bool UserTextOnly() const override;
    void ShowTool() override;
    void SetUserTextOnly(bool on);

    const Bitmap24& Picture() const override { return picture_; }
    QString Text() const;
    int Charset() const { return charset_; }
    QFont DrawingFont() const;
    TagPreset Origin() const { return origin_; }
    QColor TextColour() const { return colour_; }

  private:
    QCheckBox* Part(const char* name, const QString& caption, bool on);
    void ShowPicture();
    AutoTagParts Parts() const;
    void Guarded(const std::function<void()>& action);

    Platform& platform_;
    PictureLink* link_ = nullptr;
    TaggingPeers peers_;
    Bitmap24 picture_;
    TagPreset origin_{10, 10, 2};
    QColor colour_ = Qt::yellow;
    QString fontName_ = "Arial";
    int charset_ = 0;
    // The last choice of the font dialog, which "User Tag" shows again.
    QFont fontChoice_{"Arial"};
    QColor fontChoiceColour_ = Qt::yellow;

    PictureView* view_ = nullptr;
    QLineEdit* text_ = nullptr;
    QLineEdit* secondText_ = nullptr;
    QPushButton* colourBox_ = nullptr;
    QLabel* fontNameLabel_ = nullptr;
    QSpinBox* size_ = nullptr;
    QListWidget* charsets_ = nullptr;
    QListWidget* languages_ = nullptr;
    QRadioButton* topLeft_ = nullptr;
    QRadioButton* bottomLeft_ = nullptr;
    QCheckBox* mer_ = nullptr;
    QCheckBox* roverName_ = nullptr;
    QCheckBox* sol_ = nullptr;
    QCheckBox* hour_ = nullptr;
    QCheckBox* minute_ = nullptr;
    QCheckBox* seconds_ = nullptr;
    QCheckBox* earthMinsSecs_ = nullptr;
    QCheckBox* earthDate_ = nullptr;
    QCheckBox* userTextOnly_ = nullptr;
    QCheckBox* auto_ = nullptr;
    QLabel* attributes_ = nullptr;
    QLabel* autoTag_ = nullptr;
    QLabel* slideshowState_ = nullptr;
};

}  // namespace kobrix
