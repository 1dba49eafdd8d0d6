// The main window's controls, laid out in three columns: the lists, the picture with its
// buttons and check boxes, the decoded-fields panel.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/decoded_panel_view.h"
#include "app/main_window.h"
#include "app/startup_picture.h"
#include "widgets/controls.h"
#include "widgets/directory_browser.h"
#include "widgets/path_label.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr const char* kFileListHint =
    "Dbl Click in this box to select an image, then use cursor buttons, up and down.";

// How the width the window gains is shared between its three columns.
constexpr int kListsStretch = 4;
constexpr int kPictureStretch = 6;
constexpr int kPanelStretch = 3;

// The column of lists. In a window wider than the design's, never narrower than a whole
// product name in the font it has, so the file list shows full names; on small screens the
// picture comes first and the list scrolls.
class ListsColumn : public QWidget {
  public:
    using QWidget::QWidget;
    QSize minimumSizeHint() const override {
        const QSize least(120, QWidget::minimumSizeHint().height());
        if (window()->width() < 1000) return least;
        const int name = fontMetrics().horizontalAdvance("2P241328935EFFAUCTP2582L5M1.jpg");
        return least.expandedTo({name + 2 * fontMetrics().height(), 0});
    }
};

QPushButton* Button(const char* name, const QString& caption, const QString& hint,
                    QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

}  // namespace

void MainWindow::BuildControls() {
    auto* central = new QWidget(this);
    central->setObjectName("CentralArea");
    setCentralWidget(central);
    // Three columns that grow with the window: the lists, the picture with its captions and
    // buttons, the decoded fields. The picture takes what is left in its column.
    auto* top = new QHBoxLayout(central);
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(10);

    // Left: the lists.
    auto* left = new QVBoxLayout;
    auto* help = Button("Button7", "?", QString(), central);
    help->setFixedWidth(24);
    connect(help, &QPushButton::clicked, this, [this] { Guard([this] { Button7Click(); }); });
    left->addWidget(help, 0, Qt::AlignLeft);
    driveComboBox1_ = new QComboBox(central);
    driveComboBox1_->setObjectName("DriveComboBox1");
    driveComboBox1_->setToolTip("Select your MER image hard drive here");
    left->addWidget(driveComboBox1_);
    directoryListBox1_ = new QListWidget(central);
    directoryListBox1_->setObjectName("DirectoryListBox1");
    directoryListBox1_->setToolTip("Dbl Click in this box to select your MER image directory");
    left->addWidget(directoryListBox1_, 2);
    fileListBox1_ = new QListWidget(central);
    fileListBox1_->setObjectName("FileListBox1");
    fileListBox1_->setToolTip(kFileListHint);
    left->addWidget(fileListBox1_, 3);
    listBox1_ = new QListWidget(central);
    listBox1_->setObjectName("ListBox1");
    listBox1_->setSelectionMode(QAbstractItemView::MultiSelection);
    listBox1_->hide();  // laid over the file list when offered, outside the layout
    auto* leftBox = new ListsColumn(central);
    leftBox->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    top->addWidget(leftBox, kListsStretch);

    // Middle: the picture, its captions and the buttons.
    auto* middle = new QVBoxLayout;
    edit2_ = new QLineEdit(central);
    edit2_->setObjectName("Edit2");
    edit2_->setReadOnly(true);
    middle->addWidget(edit2_);
    label1_ = new PathLabel("Path and filename selected for display", central);
    label1_->setObjectName("Label1");
    middle->addWidget(label1_);
    label6_ = PlainLabel("File in Use", central);
    label6_->setObjectName("Label6");
    middle->addWidget(label6_);
    image1_ = new PictureView(central);
    image1_->setObjectName("Image1");
    image1_->setMinimumSize(160, 160);
    image1_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    image1_->SetCenter(true);
    image1_->SetProportional(true);
    image1_->setToolTip("Left Click to Enlarge");
    image1_->SetImage(StartupPicture());
    connect(image1_, &PictureView::clicked, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton) Guard([this] { Image1Click(); });
    });
    middle->addWidget(image1_, 1);
    auto* credit = PlainLabel("Image Data NASA / Planetary Data System.", central);
    credit->setObjectName("Label74");
    middle->addWidget(credit);
    label77_ = PlainLabel(central);
    label77_->setObjectName("Label77");
    // Two lines for an archive file, wrapped rather than widening the window.
    label77_->setWordWrap(true);
    middle->addWidget(label77_);

    auto* buttons = new QGridLayout;
    auto* close = Button("Button1", "Close", "Exit Program", central);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* large =
        Button("Button8", "Large Image", "View the selected image in a large window", central);
    connect(large, &QPushButton::clicked, this, [this] { Guard([this] { Button8Click(); }); });
    auto* stereo = Button("Button13", "Stereo", "Display Stereo pair in both present", central);
    connect(stereo, &QPushButton::clicked, this, [this] { Guard([this] { Button13Click(); }); });
    auto* colour = Button("Button9", "Colour", "Pass image to colour page if R.G.B.", central);
    auto* print = Button("Button6", "Print", "Print window or send to Clipboard", central);
    auto* tag = Button("Button19", "Tag", QString(), central);
    connect(tag, &QPushButton::clicked, this, [this] { Guard([this] { Button19Click(); }); });
    buttons->addWidget(close, 0, 0);
    buttons->addWidget(large, 0, 1);
    buttons->addWidget(stereo, 0, 2);
    buttons->addWidget(colour, 1, 0);
    buttons->addWidget(print, 1, 1);
    buttons->addWidget(tag, 1, 2);
    auto* webLinks =
        Button("WebLinksButton", "Web Links", "Pages of links to Mars on the web", central);
    buttons->addWidget(webLinks, 2, 0, 1, 3);
    middle->addLayout(buttons);

    checkBox3_ = new QCheckBox("Slideshow", central);
    checkBox3_->setObjectName("CheckBox3");
    connect(checkBox3_, &QCheckBox::clicked, this,
            [this](bool on) { Guard([this, on] { CheckBox3Click(on); }); });
    auto* slideRow = new QHBoxLayout;
    slideRow->addWidget(checkBox3_);
    auto* slideText = PlainLabel("View sequentially all images in current directory", central);
    slideText->setWordWrap(true);
    slideRow->addWidget(slideText, 1);
    middle->addLayout(slideRow);
    checkBox4_ = new QCheckBox("Print/Clipboard", central);
    checkBox4_->setObjectName("CheckBox4");
    auto* printRow = new QHBoxLayout;
    printRow->addWidget(checkBox4_);
    auto* printText = PlainLabel("Change all Print buttons to Clipboard buttons", central);
    printText->setWordWrap(true);
    printRow->addWidget(printText, 1);
    middle->addLayout(printRow);
    checkBox5_ = new QCheckBox("User Tag", central);
    checkBox5_->setObjectName("CheckBox5");
    connect(checkBox5_, &QCheckBox::clicked, this, [this] { Guard([this] { CheckBox5Click(); }); });
    label78_ = NamedLabel("Label78", "Font Size", central);
    auto* tagRow = new QHBoxLayout;
    tagRow->addWidget(checkBox5_);
    tagRow->addWidget(label78_, 1);
    middle->addLayout(tagRow);
    auto* middleBox = new QWidget(central);
    middleBox->setLayout(middle);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(4);
    top->addWidget(middleBox, kPictureStretch);

    // Right: the decoded fields.
    panel_ = new DecodedPanelView(central);
    top->addWidget(panel_, kPanelStretch);

    directories_ = new DirectoryBrowser(*driveComboBox1_, *directoryListBox1_, this);
    connect(directories_, &DirectoryBrowser::directoryChosen, this,
            [this](const QString& path) { Guard([this, path] { DirectoryChosen(path); }); });
    connect(fileListBox1_, &QListWidget::currentRowChanged, this,
            [this](int row) { Guard([this, row] { FileListBox1Change(row); }); });
}

}  // namespace kobrix
