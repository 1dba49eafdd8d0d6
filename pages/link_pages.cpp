#include "pages/link_pages.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "pages/page_controls.h"
#include "widgets/controls.h"

namespace kobrix {
WebLinkPage::WebLinkPage(Platform&, LinkPageId id, QWidget* parent)
    : QWidget(parent, Qt::Window), id_(id) {
    const LinkPageContent& content = LinkPage(id);
    setObjectName(FromView(content.objectName));
    setWindowTitle(FromView(content.title));
    PaintBackground(*this, Qt::white);

    auto* body = new QWidget;
    auto* column = new QVBoxLayout(body);
    QLabel* introduction = PlainLabel(FromView(content.introduction), body);
    introduction->setWordWrap(true);
    column->addWidget(introduction);
    for (const LinkGroup& group : content.groups) {
        if (!group.heading.empty()) {
            QLabel* heading = PlainLabel(FromView(group.heading), body);
            MakeBold(*heading);
            column->addSpacing(6);
            column->addWidget(heading);
        }
        for (const WebLink& link : group.links) {
            // The caption is ours, but it is still shown as text, never as markup.
            auto* label = new QLabel(body);
            label->setTextFormat(Qt::RichText);
            label->setText(QString("<a href=\"%1\" style=\"color:#0000ff\">%2</a>")
                               .arg(FromView(link.address).toHtmlEscaped(),
                                    FromView(link.caption).toHtmlEscaped()));
            label->setProperty("address", FromView(link.address));
            label->setProperty("link", true);
            label->setToolTip(FromView(link.address));
            label->setCursor(Qt::PointingHandCursor);
            const int index = static_cast<int>(links_.size());
            connect(label, &QLabel::linkActivated, this, [this, index] { OpenLink(index); });
            links_.append(label);
            column->addWidget(label);
        }
    }
    column->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumSize(420, 360);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    if (id == LinkPageId::Mission) {
        QPushButton* more = PlainButton("MoreLinks", "More Martian Links", this);
        connect(more, &QPushButton::clicked, this, [this] { emit moreLinksClicked(); });
        buttons->addWidget(more);
    }
    QPushButton* close = HideButton(*this);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
}

void WebLinkPage::OpenLink(int index) {
    if (index < 0 || index >= links_.size() || !opener_) return;
    opener_(links_[index]->property("address").toString());
}

WebLinkIndexPage::WebLinkIndexPage(Platform&, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("LinkIndexPage");
    setWindowTitle("Web Links");
    PaintBackground(*this, Qt::white);
    auto* layout = new QVBoxLayout(this);
    QLabel* heading = PlainLabel("Pages of links on Mars, its rovers and space exploration.", this);
    layout->addWidget(heading);
    AddChoiceButtons<LinkPageId>(*this, *layout,
                                 {
                                     {"Martian Software", LinkPageId::MartianSoftware},
                                     {"Martian Websites", LinkPageId::MarsWebsites},
                                     {"Other Missions", LinkPageId::SolarSystem},
                                     {"Meteorites", LinkPageId::Meteorites},
                                     {"Amateur Radio", LinkPageId::AmateurRadio},
                                     {"Your Participation", LinkPageId::Participate},
                                 },
                                 [this](LinkPageId page) { emit pageRequested(page); });
    QPushButton* close = HideButton(*this);
    layout->addSpacing(8);
    layout->addWidget(close);
}

}  // namespace kobrix
