#include "pages/help_pages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "pages/page_controls.h"
#include "widgets/controls.h"

namespace kobrix {
HelpHubPage::HelpHubPage(Platform&, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpHubPage");
    setWindowTitle("Help on software usage.");
    PaintBackground(*this, Qt::white);
    auto* layout = new QVBoxLayout(this);
    QLabel* heading = PlainLabel("Choose a subject.", this);
    MakeBold(*heading);
    layout->addWidget(heading);
    AddChoiceButtons<HelpPageId>(
        *this, *layout,
        {
            {"Menu Selections and options.", HelpPageId::MenuSelections},
            {"How do I make a colour composite.", HelpPageId::ColourComposite},
            {"How do I make a 3D anaglyph.", HelpPageId::Anaglyph},
            // Shown with one ampersand: a button caption doubles it to escape the shortcut mark.
            {"Usage && Filename conventions.", HelpPageId::Usage},
            {"Quick Start Instructions", HelpPageId::QuickStart},
        },
        [this](HelpPageId page) { emit pageRequested(page); });
    QPushButton* colour = PlainButton("ColourToolButton", "Colour Image Tool", this);
    colour->hide();
    connect(colour, &QPushButton::clicked, this, [this] { emit colourToolRequested(); });
    QPushButton* close = HideButton(*this);
    layout->addSpacing(8);
    layout->addWidget(close);
}

HelpTextPage::HelpTextPage(Platform&, HelpPageId id, QWidget* parent)
    : QWidget(parent, Qt::Window), id_(id) {
    const HelpPageContent& content = HelpPage(id);
    setObjectName(FromView(content.objectName));
    setWindowTitle(FromView(content.title));
    PaintBackground(*this, Qt::white);
    body_ = new QTextBrowser(this);
    body_->setObjectName("Body");
    body_->setOpenLinks(false);
    body_->document()->setDefaultStyleSheet("a { color: #0000ff; }");
    body_->setHtml(FromView(content.html));
    body_->setMinimumSize(520, 420);
    connect(body_, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { FollowLink(url.toString()); });

    auto* buttons = new QHBoxLayout;
    if (id == HelpPageId::QuickStart) {
        QPushButton* showMe = PlainButton("ShowMe", "Show me", this);
        showMe->setToolTip("Selects and shows the first image of the main window's list");
        connect(showMe, &QPushButton::clicked, this, [this] { emit showMeClicked(); });
        buttons->addWidget(showMe);
    }
    buttons->addStretch(1);
    QPushButton* back = PlainButton("Back", "back", this);
    back->setToolTip("Back to the help subjects");
    connect(back, &QPushButton::clicked, this, [this] {
        hide();
        emit backClicked();
    });
    buttons->addWidget(back);
    buttons->addWidget(HideButton(*this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(body_, 1);
    layout->addLayout(buttons);
}

void HelpTextPage::FollowLink(const QString& href) {
    if (href.startsWith("show:")) emit windowRequested(href.mid(5));
}

}  // namespace kobrix
