#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

#include "pages/core/link_table.h"
#include "platform/platform.h"

class QLabel;

namespace kobrix {

// Opens a web address in the browser (the main window's routine).
using OpenAddress = std::function<void(const QString& address)>;

// One page of web links: its introduction, then its groups, each a heading over blue links
// that open their addresses. "Close" hides it; the mission page also has "More Martian Links",
// which shows the link index.
class WebLinkPage : public QWidget {
    Q_OBJECT
  public:
    WebLinkPage(Platform& platform, LinkPageId id, QWidget* parent = nullptr);
    LinkPageId Id() const { return id_; }
    void SetOpener(OpenAddress opener) { opener_ = std::move(opener); }
    // Every link of the page, in order; the address is the link's property "address".
    const QList<QLabel*>& Links() const { return links_; }
    void OpenLink(int index);

  signals:
    void moreLinksClicked();

  private:
    LinkPageId id_;
    OpenAddress opener_;
    QList<QLabel*> links_;
};

// "Web Links", the index: one button for each link page but the mission's.
class WebLinkIndexPage : public QWidget {
    Q_OBJECT
  public:
    explicit WebLinkIndexPage(Platform& platform, QWidget* parent = nullptr);

  signals:
    void pageRequested(kobrix::LinkPageId page);
};

}  // namespace kobrix
