#include "widgets/controls.h"

#include <exception>

#include "platform/prompts.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

namespace kobrix {
namespace {

constexpr const char* kDesignSizeProperty = "kobrixDesignSize";

}  // namespace

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* PlainLabel(QWidget* parent) {
    return PlainLabel(QString(), parent);
}

QLabel* NamedLabel(const char* objectName, const QString& text, QWidget* parent) {
    auto* label = PlainLabel(text, parent);
    if (*objectName) label->setObjectName(objectName);
    return label;
}

QPushButton* NamedButton(const char* objectName, const QString& text, QWidget* parent,
                         const QString& hint) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QPushButton* PlainButton(const char* objectName, const QString& text, QWidget* parent) {
    QPushButton* button = NamedButton(objectName, text, parent);
    button->setAutoDefault(false);
    return button;
}

QLabel* AddValueRow(QGridLayout& grid, const QString& caption, const char* valueName,
                    const QString& text, const QColor& captionColour) {
    QWidget* owner = grid.parentWidget();
    auto* captionLabel = PlainLabel(caption, owner);
    if (captionColour.isValid()) SetTextColour(*captionLabel, captionColour);
    auto* value = PlainLabel(text, owner);
    value->setObjectName(valueName);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    MakeBold(*value);
    const int row = grid.rowCount();
    grid.addWidget(captionLabel, row, 0);
    grid.addWidget(value, row, 1);
    return value;
}

QPushButton* AddHiddenAction(QWidget& window, const char* objectName, const QString& caption,
                             const std::function<void()>& run) {
    QPushButton* button = NamedButton(objectName, caption, &window);
    button->setVisible(false);
    QObject::connect(button, &QPushButton::clicked, &window, run);
    auto* action = new QAction(caption, &window);
    action->setObjectName(caption);
    QObject::connect(action, &QAction::triggered, &window, run);
    window.addAction(action);
    return button;
}

void MakeBold(QWidget& widget) {
    QFont font;  // only the weight is set; family and size stay inherited
    font.setBold(true);
    widget.setFont(font);
}

void MakeItalic(QWidget& widget) {
    QFont font;
    font.setItalic(true);
    widget.setFont(font);
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    if (!colour.isValid()) {
        widget.setPalette(QPalette());  // nothing of its own: all from the parent
        return;
    }
    QPalette palette;
    palette.setColor(QPalette::WindowText, colour);
    // The entries of a list or an edit box are its text. A check box's or radio button's
    // caption is window text; their Text role paints the mark on the white indicator, so it
    // stays as it is, or a white caption would hide the mark.
    if (qobject_cast<QAbstractItemView*>(&widget) != nullptr ||
        qobject_cast<QLineEdit*>(&widget) != nullptr ||
        qobject_cast<QPlainTextEdit*>(&widget) != nullptr ||
        qobject_cast<QTextEdit*>(&widget) != nullptr) {
        palette.setColor(QPalette::Text, colour);
    }
    widget.setPalette(palette);
}

void SetDesignSize(QWidget& window, const QSize& size) {
    window.resize(size);
    window.setProperty(kDesignSizeProperty, size);
}

bool HasDesignSize(const QWidget& window) {
    return window.property(kDesignSizeProperty).isValid();
}

void OnListChoice(QListWidget& list, const std::function<void(int row)>& choose) {
    // A change of the current entry, by the mouse or the keyboard, chooses it; a click on the
    // entry already current chooses it again. The row under a press is noted before the press
    // moves the current entry, so that the click that made a change does not choose twice.
    class PressWatch : public QObject {
      public:
        using QObject::QObject;
        int rowAtPress = -1;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::MouseButtonPress) {
                auto* view = static_cast<QListWidget*>(parent());
                rowAtPress = view->currentRow();
            }
            return QObject::eventFilter(watched, event);
        }
    };
    auto* watch = new PressWatch(&list);
    list.viewport()->installEventFilter(watch);
    QObject::connect(&list, &QListWidget::currentRowChanged, &list, [choose](int row) {
        if (row >= 0) choose(row);
    });
    QObject::connect(&list, &QListWidget::itemClicked, &list,
                     [&list, watch, choose](QListWidgetItem* item) {
                         const int row = list.row(item);
                         if (row == watch->rowAtPress) choose(row);
                     });
}

void PaintBackground(QWidget& window, const QColor& colour) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, colour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

void RunGuarded(Prompts& prompts, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        prompts.Error(QString::fromUtf8(e.what()));
    }
}

void GrowToFit(QWidget& window) {
    if (QLayout* layout = window.layout()) layout->activate();
    window.resize(window.size().expandedTo(window.sizeHint()));
}

}  // namespace kobrix
