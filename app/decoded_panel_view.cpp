#include "app/decoded_panel_view.h"

#include "widgets/controls.h"

#include <QGridLayout>
#include <QHBoxLayout>

namespace kobrix {
namespace {

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = PlainLabel(text, parent);
    SetTextColour(*label, QColor(0, 0, 0x80));
    // The short captions hold their column at their width in whatever font the window has;
    // only the two long ones wrap within it.
    label->setWordWrap(text.size() > 30);
    return label;
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QLabel* DecodedPanelView::AddValue(const char* controlName) {
    auto* label = PlainLabel(this);
    label->setObjectName(controlName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Long texts ("Seq. triggered by a communications window.") wrap rather than widen
    // the window past a small screen.
    label->setWordWrap(true);
    label->setMinimumWidth(40);
    return label;
}

DecodedPanelView::DecodedPanelView(QWidget* parent) : QWidget(parent) {
    setObjectName("DecodedPanel");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* value) {
        grid->addWidget(Caption(caption, this), row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(value, row, 1);
        ++row;
    };
    const auto pair = [this](const char* first, const char* second, const QString& between) {
        auto* box = new QWidget(this);
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        QLabel* left = AddValue(first);
        left->setWordWrap(false);
        left->setMinimumWidth(0);
        h->addWidget(left);
        if (!between.isEmpty()) h->addWidget(PlainLabel(between, box));
        h->addWidget(AddValue(second), 1);
        return box;
    };

    addRow("Mars Exploration Rover No.", pair("Label2", "Label76", QString()));
    addRow("SOL", AddValue("Label44"));
    addRow("Spacecraft Location.", AddValue("Label36"));
    addRow("Imaging Camera.", AddValue("Label9"));
    addRow("Spacecraft Clock.", AddValue("Label10"));

    auto* elapsed = new QWidget(this);
    auto* eh = new QHBoxLayout(elapsed);
    eh->setContentsMargins(0, 0, 0, 0);
    eh->setSpacing(3);
    for (const auto& [control, unit] :
         {std::pair{"Label63", "Sols"}, std::pair{"Label61", "Mhrs"}, std::pair{"Label59", "Mmins"},
          std::pair{"Label57", "Msecs"}}) {
        QLabel* value = AddValue(control);
        value->setWordWrap(false);  // short numbers: keep each beside its unit
        value->setMinimumWidth(0);
        eh->addWidget(value);
        eh->addWidget(PlainLabel(unit, elapsed));
    }
    eh->addStretch();
    addRow("Martian time transpired since landing", elapsed);

    // The totals are kept on the panel but not shown.
    for (const auto& [control, caption] :
         {std::pair{"Label49", "MLSD"}, std::pair{"Label51", "MLSH"}, std::pair{"Label53", "MLSM"},
          std::pair{"Label55", "MLSS"}}) {
        QLabel* value = AddValue(control);
        value->setToolTip(caption);
        value->hide();
    }

    auto* solar = new QWidget(this);
    auto* sh = new QHBoxLayout(solar);
    sh->setContentsMargins(0, 0, 0, 0);
    sh->setSpacing(6);
    sh->addWidget(AddValue("Label47"));
    sh->addWidget(PlainLabel("approx.Solar Time +/- 1hr", solar));
    sh->addStretch();
    addRow("Martian local standard time of image capture", solar);
    addRow("Earth Time. (UTC)         =", AddValue("Label39"));
    addRow("Users Local Time Zone", AddValue("Label41"));
    addRow("Earth Time (Local)        =", AddValue("Label5"));
    addRow("Image Product Type.", AddValue("Label11"));
    addRow("Site Number.", AddValue("Label12"));
    addRow("Drive Number Within Site.", AddValue("Label13"));
    addRow("Command Sequence.", AddValue("Label14"));
    addRow("Sequence Category.", AddValue("Label37"));
    addRow("Sequence Code", pair("Label34", "Label33", "="));
    addRow("Spectral Response (Filter)", AddValue("Label22"));
    addRow("Camera Eye", AddValue("Label15"));
    addRow("Product Producer", AddValue("Label23"));
    addRow("Product Version", AddValue("Label24"));
    QLabel* hint = AddValue("Label40");
    MakeBold(*hint);
    grid->addWidget(hint, row++, 0, 1, 2);
    addRow("Currently selected file name", AddValue("Label54"));
    addRow("Right Eye File Name", AddValue("Label56"));
    addRow("Left Eye File Name", AddValue("Label58"));
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

QLabel* DecodedPanelView::Value(const char* controlName) const {
    return findChild<QLabel*>(controlName);
}

void DecodedPanelView::Show(const DecodedPanel& panel) {
    for (const PanelField& field : PanelFields()) {
        // The position caption and the file-name box belong to the main window itself.
        if (QLabel* label = Value(field.control)) label->setText(Text(panel.*field.member));
    }
    const Rgb rgb = HintRgb(panel.stereoHintColour);
    if (QLabel* hint = Value("Label40")) {
        SetTextColour(*hint, QColor(rgb.red, rgb.green, rgb.blue));
    }
}

}  // namespace kobrix
