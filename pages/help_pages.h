#pragma once

#include <QString>
#include <QWidget>

#include "pages/core/help_texts.h"
#include "platform/platform.h"

class QTextBrowser;

namespace kobrix {

// "Help on software usage.": one button for each help page, and a hidden one that shows the
// colour image tool.
class HelpHubPage : public QWidget {
    Q_OBJECT
  public:
    explicit HelpHubPage(Platform& platform, QWidget* parent = nullptr);

  signals:
    void pageRequested(kobrix::HelpPageId page);
    void colourToolRequested();
};

// A help page: its text, whose blue words show the windows they name, a back button to the
// hub and "Close". The quick start page also has "Show me", which acts on the main window.
class HelpTextPage : public QWidget {
    Q_OBJECT
  public:
    HelpTextPage(Platform& platform, HelpPageId id, QWidget* parent = nullptr);
    HelpPageId Id() const { return id_; }
    QTextBrowser& Body() { return *body_; }
    // Follows a link of the body: "show:KEY" asks for the window of that key.
    void FollowLink(const QString& href);

  signals:
    void windowRequested(const QString& key);
    void backClicked();
    void showMeClicked();

  private:
    HelpPageId id_;
    QTextBrowser* body_ = nullptr;
};

}  // namespace kobrix
