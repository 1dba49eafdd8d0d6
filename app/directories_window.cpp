#include "app/directories_window.h"

#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "browse/browser.h"
#include "imaging/bitmap24.h"
#include "imaging/image_error.h"
#include "widgets/controls.h"
#include "widgets/picture_filters.h"
#include "widgets/picture_view.h"

namespace kobrix {
namespace {

constexpr int kPicture = 32;
constexpr int kValueWidth = 430;

enum class Picture { Home, Mars, Anaglyph, Rgb, Palette, Jump, Folder };

// Small pictures of our own for the jump buttons, drawn rather than shipped.
QPixmap Draw(Picture kind) {
    QPixmap pixmap(kPicture, kPicture);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
        case Picture::Home: {
            p.setPen(QPen(QColor(90, 50, 20), 1.5));
            p.setBrush(QColor(250, 240, 215));
            p.drawRect(QRectF(7, 14, 18, 14));
            p.setBrush(QColor(180, 40, 30));
            p.drawPolygon(QPolygonF({QPointF(3, 15), QPointF(16, 3), QPointF(29, 15)}));
            p.setBrush(QColor(120, 70, 30));
            p.drawRect(QRectF(14, 19, 5, 9));
            break;
        }
        case Picture::Mars: {
            QRadialGradient glow(QPointF(12, 11), 16);
            glow.setColorAt(0, QColor(240, 140, 80));
            glow.setColorAt(1, QColor(150, 50, 20));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(QRectF(3, 3, 26, 26));
            p.setBrush(QColor(110, 40, 20, 170));
            p.drawEllipse(QRectF(9, 13, 8, 5));
            p.drawEllipse(QRectF(18, 7, 5, 4));
            p.drawEllipse(QRectF(17, 20, 7, 4));
            break;
        }
        case Picture::Anaglyph: {
            p.setPen(QPen(Qt::black, 2));
            p.drawLine(QPointF(14, 16), QPointF(18, 16));
            p.setBrush(QColor(220, 20, 20));
            p.drawRoundedRect(QRectF(2, 10, 12, 11), 3, 3);
            p.setBrush(QColor(0, 200, 220));
            p.drawRoundedRect(QRectF(18, 10, 12, 11), 3, 3);
            break;
        }
        case Picture::Rgb: {
            p.setPen(Qt::NoPen);
            p.setCompositionMode(QPainter::CompositionMode_Plus);
            p.setBrush(QColor(255, 0, 0));
            p.drawEllipse(QRectF(4, 3, 16, 16));
            p.setBrush(QColor(0, 255, 0));
            p.drawEllipse(QRectF(12, 3, 16, 16));
            p.setBrush(QColor(0, 0, 255));
            p.drawEllipse(QRectF(8, 12, 16, 16));
            break;
        }
        case Picture::Palette: {
            p.setPen(QPen(QColor(120, 90, 50), 1.5));
            p.setBrush(QColor(235, 210, 170));
            p.drawEllipse(QRectF(2, 5, 28, 22));
            p.setPen(Qt::NoPen);
            const QColor dots[] = {Qt::red, QColor(255, 200, 0), QColor(0, 170, 0), Qt::blue};
            const QPointF at[] = {{9, 12}, {16, 10}, {23, 12}, {24, 19}};
            for (int i = 0; i < 4; ++i) {
                p.setBrush(dots[i]);
                p.drawEllipse(at[i], 3, 3);
            }
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(11, 20), 3, 3);
            break;
        }
        case Picture::Jump: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 150, 40));
            QPainterPath arrow;
            arrow.moveTo(3, 13);
            arrow.lineTo(18, 13);
            arrow.lineTo(18, 6);
            arrow.lineTo(29, 16);
            arrow.lineTo(18, 26);
            arrow.lineTo(18, 19);
            arrow.lineTo(3, 19);
            arrow.closeSubpath();
            p.drawPath(arrow);
            break;
        }
        case Picture::Folder: {
            p.setPen(QPen(QColor(150, 110, 20), 1.5));
            p.setBrush(QColor(245, 200, 80));
            p.drawRect(QRectF(3, 9, 26, 18));
            p.drawRect(QRectF(3, 6, 10, 4));
            p.setBrush(QColor(200, 90, 40));
            p.drawRect(QRectF(9, 13, 14, 10));
            break;
        }
    }
    return pixmap;
}

QPushButton* JumpButton(const char* name, const QString& caption, Picture picture,
                        const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(QIcon(Draw(picture)), caption, parent);
    button->setObjectName(name);
    button->setIconSize(QSize(kPicture, kPicture));
    button->setToolTip(hint);
    button->setFixedWidth(110);
    return button;
}

QLineEdit* Value(const char* name, QWidget* parent) {
    // A line that scrolls, so that a long path neither widens the window nor wraps.
    auto* value = new QLineEdit(parent);
    value->setObjectName(name);
    value->setReadOnly(true);
    value->setFrame(false);
    value->setMinimumWidth(kValueWidth);
    value->setStyleSheet("QLineEdit { background: rgb(240,240,240); }");
    return value;
}

QLabel* Description(const QString& text, QWidget* parent) {
    auto* label = PlainLabel(text, parent);
    MakeBold(*label);
    return label;
}

QLabel* Note(const QString& text, QWidget* parent) {
    auto* label = PlainLabel(text, parent);
    label->setStyleSheet("color: rgb(70,70,70);");
    return label;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

DirectoriesWindow::DirectoriesWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform) {
    setObjectName("DirectoriesUnit200721");
    setWindowTitle("KOBRIX 2007 Directories");
    QFont font("Arial");
    font.setPointSize(8);
    setFont(font);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    int row = 0;
    // One row: the button (if any) at the left, the description, value and notes beside it.
    const auto addRow = [&](QWidget* button, const QString& description, QLineEdit* value,
                            const QStringList& notes) {
        auto* texts = new QVBoxLayout;
        texts->setSpacing(2);
        texts->addWidget(Description(description, this));
        texts->addWidget(value);
        for (const QString& note : notes) texts->addWidget(Note(note, this));
        if (button) grid->addWidget(button, row, 0, Qt::AlignTop);
        grid->addLayout(texts, row, 1);
        ++row;
    };

    current_ = Value("CurrentWorkingDirectory", this);
    current_->setStyleSheet("QLineEdit { background: yellow; }");
    addRow(nullptr, "CurrentWorkingDirectory. The currently loaded image is at this location.",
           current_, {});

    const QString homeHint = "Click this button to return to the main program directory.";
    auto* homeButton = JumpButton("HomeButton", "Home", Picture::Home, homeHint, this);
    home_ = Value("I_Am_Here_Directory", this);
    addRow(homeButton, "I_Am_Here_Directory. The current progam executable directory", home_,
           {homeHint});

    const QString nasaHint = "Click this button to jump to the MAIN IMAGE STORAGE directory";
    auto* nasaButton = JumpButton("NasaButton", "NASA", Picture::Mars, nasaHint, this);
    mainImages_ = Value("MainImageDirectory", this);
    addRow(nasaButton, "MainImageDirectory. Main NASA JPG Image directory location.", mainImages_,
           {nasaHint});

    const QString anaglyphHint =
        "Click this button to jump to where the RED/CYAN 3D anaglyphs are.";
    auto* anaglyphButton =
        JumpButton("AnaglyphButton", "3D", Picture::Anaglyph, anaglyphHint, this);
    anaglyphs_ = Value("AnaglyphSaveDirectory", this);
    addRow(anaglyphButton, "AnaglyphSaveDirectory. Where to save the Anaglyph images", anaglyphs_,
           {anaglyphHint});

    const QStringList rgbHints = {
        "Click this button to jump to the Colour\\456_RGB, approximate true colour image Dir.",
        "Most images in here are as if you would see them with your own eyes."};
    auto* rgbButton = JumpButton("RgbButton", "RGB", Picture::Rgb, rgbHints.join('\n'), this);
    rgb_ = Value("Directory_456_RGB", this);
    addRow(rgbButton, "Jump to the Colour\\456_RGB directory.", rgb_, rgbHints);

    const QStringList colourHints = {
        "Click this button to jump to the Colour directory .",
        "The other filter combination directories can be accessed from here."};
    auto* colourButton =
        JumpButton("ColourButton", "Colour ?", Picture::Palette, colourHints.join('\n'), this);
    colour_ = Value("ColourSaveDirectory", this);
    addRow(colourButton,
           "Colour Save Directories. Where to save the various filter combination Colour images",
           colour_, colourHints);

    // The user's own directory: the chosen file's picture under the Jump button.
    const QStringList jumpHints = {
        "Click the jump button to go straight to the selected Dir, click 'Browse for Directory' "
        "to select a new Dir.",
        "For the directory to be accepted, you must open a file."};
    auto* jumpButton = JumpButton("JumpButton", "Jump", Picture::Jump, jumpHints.join('\n'), this);
    rememberedPicture_ = new PictureView(this);
    rememberedPicture_->setObjectName("RememberedPicture");
    rememberedPicture_->setFixedSize(48, 48);
    rememberedPicture_->SetStretch(true);
    rememberedPicture_->SetProportional(true);
    rememberedPicture_->SetCenter(true);
    rememberedPicture_->SetImage(Draw(Picture::Folder).toImage());
    rememberedValue_ = Value("RememberedPath", this);
    rememberedValue_->setText("This selection is empty at the moment.");
    auto* browseButton = new QPushButton("Browse for a new Directory of MER images", this);
    browseButton->setObjectName("BrowseButton");
    addRow(jumpButton,
           "You select which directory to remember. Just in case you have downloaded a pile onto "
           "your desktop.",
           rememberedValue_, jumpHints);
    grid->addWidget(rememberedPicture_, row, 0, Qt::AlignHCenter | Qt::AlignTop);
    grid->addWidget(browseButton, row++, 1, Qt::AlignLeft | Qt::AlignTop);

    auto* tip = PlainLabel(
        "Tip ! To get this Directory selection page back, click the little question mark button "
        "at top left on main page.",
        this);
    tip->setStyleSheet("color: rgb(0,0,160);");

    auto* helpMenu = new QPushButton("Help Menu", this);
    helpMenu->setObjectName("HelpMenuButton");
    connect(helpMenu, &QPushButton::clicked, this, [this] { emit helpMenuClicked(); });
    auto* close = new QPushButton("Close", this);
    close->setObjectName("CloseButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(helpMenu);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addLayout(grid);
    layout->addWidget(tip);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(homeButton, &QPushButton::clicked, this,
            [this] { JumpTo(Q(tree_.I_Am_Here_Directory)); });
    connect(nasaButton, &QPushButton::clicked, this,
            [this] { JumpTo(Q(tree_.MainImageDirectory)); });
    connect(anaglyphButton, &QPushButton::clicked, this,
            [this] { JumpTo(Q(tree_.AnaglyphSaveDirectory)); });
    connect(rgbButton, &QPushButton::clicked, this, [this] { JumpTo(Q(tree_.Directory_456_RGB)); });
    connect(colourButton, &QPushButton::clicked, this,
            [this] { JumpTo(Q(tree_.ColourSaveDirectory)); });
    connect(jumpButton, &QPushButton::clicked, this, &DirectoriesWindow::Jump);
    connect(browseButton, &QPushButton::clicked, this, &DirectoriesWindow::Browse);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

QStringList DirectoriesWindow::BrowseFilters() {
    // An archive volume's root holds no pictures, only its description files and data/:
    // choosing one of those files opens the volume by sol.
    return OpenPictureFilters() << "Archive volume root (*.TXT;*.txt;*.CAT;*.cat)"
                                << "All files (*)";
}

void DirectoriesWindow::ShowTree(const WorkingTree& tree) {
    tree_ = tree;
    current_->setText(Q(tree.CurrentWorkingDirectory));
    home_->setText(Q(tree.I_Am_Here_Directory));
    mainImages_->setText(Q(tree.MainImageDirectory));
    anaglyphs_->setText(Q(tree.AnaglyphSaveDirectory));
    rgb_->setText(Q(tree.Directory_456_RGB));
    colour_->setText(Q(tree.ColourSaveDirectory));
    for (QLineEdit* value : {current_, home_, mainImages_, anaglyphs_, rgb_, colour_}) {
        value->setToolTip(value->text());
        value->setCursorPosition(0);
    }
}

void DirectoriesWindow::MakeOrdinary() {
    if (!(windowFlags() & Qt::WindowStaysOnTopHint)) return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    if (visible) show();  // changing the flags hides a window
}

void DirectoriesWindow::Browse() {
    const FileChoice choice =
        platform_.prompts.OpenPicture("Browse for a new Directory of MER images", BrowseFilters(),
                                      1, Q(tree_.CurrentWorkingDirectory));
    if (!choice.accepted || choice.path.isEmpty()) return;
    const QString path = QFileInfo(choice.path).absoluteFilePath();
    Bitmap24 picture;
    try {
        if (LoadPictureFile(path.toStdString(), picture) == LoadOutcome::Loaded) {
            rememberedPicture_->SetBitmap(picture);
        }
    } catch (const ImageError& e) {
        // A damaged file is not accepted: the selection stays as it was.
        platform_.prompts.Error(QString::fromUtf8(e.what()));
        return;
    }
    remembered_ = path;
    rememberedValue_->setText(path);
    rememberedValue_->setToolTip(path);
    rememberedValue_->setCursorPosition(0);
    Jump();
}

void DirectoriesWindow::Jump() {
    const QFileInfo info(remembered_);
    if (remembered_.isEmpty())
        JumpTo(QString());
    else
        JumpTo(info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

void DirectoriesWindow::JumpTo(const QString& directory) {
    emit jumpRequested(directory);
    hide();
}

}  // namespace kobrix
