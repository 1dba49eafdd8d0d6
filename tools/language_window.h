#pragma once

#include <QWidget>
#include <functional>

#include "platform/platform.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace kobrix {

class BrowsingLink;

// "Language": the system's default language, the character sets the program knows, and the
// languages of the tagging tool with the font files each loads first. A language sets the
// tagging tool's font, the character set of the main window's capture-time displays and the
// main window's "User Tag" switch.
//
// Controls by object name: Edit1 the sample text, CharsetList (nineteen entries and two empty
// ones), LanguageList, DefaultLanguage, AvailableCharsets, FontNameLabel, IndexLabel; buttons
// Button3 ("Button3"), Show, LoadFonts, Close.
class LanguageWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LanguageWindow(Platform& platform, QWidget* parent = nullptr);
    // The main window, and the tagging tool's font setter.
    void Attach(BrowsingLink& link, std::function<void(const QString&)> setTaggingFont);

    void Button3Click();  // the default language
    void ShowClick();     // "Show"
    void ChooseCharset(int row);
    void ChooseLanguage(int row);

    int SampleCharset() const { return charset_; }
    QString SampleFontFamily() const;
    // The font files a language asked for that were found and added, in order.
    const QStringList& AddedFontFiles() const { return added_; }

  private:
    Platform& platform_;
    BrowsingLink* link_ = nullptr;
    std::function<void(const QString&)> setTaggingFont_;
    int charset_ = 0;
    QStringList added_;

    QLineEdit* sample_ = nullptr;
    QListWidget* charsets_ = nullptr;
    QListWidget* languages_ = nullptr;
    QLabel* defaultLanguage_ = nullptr;
    QListWidget* available_ = nullptr;
    QLabel* fontName_ = nullptr;
    QLabel* index_ = nullptr;
};

}  // namespace kobrix
