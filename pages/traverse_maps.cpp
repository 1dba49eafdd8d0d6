#include "pages/traverse_maps.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "imaging/image_file.h"
#include "pages/page_controls.h"
#include "widgets/controls.h"
#include "widgets/picture_view.h"

namespace kobrix {

TraverseChooserPage::TraverseChooserPage(Platform&, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("TraverseChooserPage");
    setWindowTitle("Traverse Maps");
    PaintBackground(*this, Qt::white);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PlainLabel("Click a rover to see the maps of its traverse.", this));
    const std::pair<const char*, TraverseRover> rovers[] = {
        {"Spirit", TraverseRover::Spirit}, {"Opportunity", TraverseRover::Opportunity}};
    for (const auto& entry : rovers) {
        const char* name = entry.first;
        const TraverseRover rover = entry.second;
        auto* caption =
            new QLabel(QString("<a href=\"%1\" style=\"color:#0000ff\">%1</a>").arg(name), this);
        caption->setObjectName(QString(name) + "Label");
        caption->setTextFormat(Qt::RichText);
        caption->setProperty("link", true);
        QFont font = caption->font();
        font.setPointSize(font.pointSize() + 6);
        caption->setFont(font);
        caption->setCursor(Qt::PointingHandCursor);
        connect(caption, &QLabel::linkActivated, this, [this, rover] { emit roverChosen(rover); });
        layout->addWidget(caption, 0, Qt::AlignHCenter);
    }
    QPushButton* close = HideButton(*this);
    layout->addWidget(close);
}

MapViewerPage::MapViewerPage(Platform& platform, TraverseRover rover, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform) {
    const bool spirit = rover == TraverseRover::Spirit;
    setObjectName(spirit ? "SpiritMapsPage" : "OpportunityMapsPage");
    setWindowTitle(spirit ? "Spirit Traverse Maps" : "Opportunity Traverse Maps");
    PaintBackground(*this, Qt::white);
    picture_ = new PictureView(this);
    picture_->setObjectName("Image1");
    picture_->SetStretch(true);
    picture_->SetProportional(true);
    picture_->SetCenter(true);
    picture_->setMinimumSize(640, 480);
    picture_->SetImage(DrawTraverseMap(rover));
    list_ = new QListWidget(this);
    list_->setObjectName("FileListBox1");
    list_->hide();

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* caption, void (MapViewerPage::*handler)()) {
        QPushButton* b = PlainButton(caption, caption, this);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        buttons->addWidget(b);
        return b;
    };
    button("<<<<<", &MapViewerPage::Previous);
    button(">>>>>", &MapViewerPage::Next);
    button("P", &MapViewerPage::ShowSelected)->hide();
    buttons->addStretch(1);
    print_ = PlainButton("Print", "Print", this);
    connect(print_, &QPushButton::clicked, this, [this] { emit printClicked(); });
    buttons->addWidget(print_);
    QPushButton* close = HideButton(*this);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_, 1);
    layout->addLayout(buttons);
}

void MapViewerPage::Guarded(const std::function<void()>& action) {
    RunGuarded(platform_.prompts, action);
}

void MapViewerPage::PointAt(const QString& directory) {
    const int selected = maps_.Selected();
    maps_.Read(directory.toStdString());
    list_->clear();
    for (const std::string& name : maps_.Names()) list_->addItem(QString::fromStdString(name));
    if (selected >= 0 && selected < maps_.Count()) Select(selected);
}

void MapViewerPage::Select(int index) {
    maps_.Select(index);
    list_->setCurrentRow(maps_.Selected());
}

void MapViewerPage::Previous() {
    Select(maps_.Selected() - 1);
    ShowSelected();
}

void MapViewerPage::Next() {
    // Past the last map the selection stays where it is.
    if (maps_.Selected() + 1 < maps_.Count()) Select(maps_.Selected() + 1);
    ShowSelected();
}

void MapViewerPage::ShowSelected() {
    if (maps_.Empty()) return;
    if (maps_.Selected() < 1) Select(0);
    const QString path = QString::fromStdString(maps_.SelectedPath());
    // A file that is no picture is reported; the viewer keeps the map it shows.
    picture_->SetBitmap(ReadAnyPicture(path.toStdString()));
    shown_ = path;
}

}  // namespace kobrix
