#include "app/label_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "imaging/image_error.h"
#include "volume/whole_label.h"
#include "widgets/controls.h"

namespace kobrix {

LabelWindow::LabelWindow(Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), platform_(platform) {
    setObjectName("LabelWindow");
    setWindowTitle("Archive Label");
    file_ = new QLabel(this);
    file_->setTextFormat(Qt::PlainText);
    file_->setObjectName("LabelFile");
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("LabelText");
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    find_ = new QLineEdit(this);
    find_->setObjectName("LabelFind");
    find_->setPlaceholderText("Find in the label");
    find_->setClearButtonEnabled(true);
    auto* previous = new QPushButton("Previous", this);
    previous->setObjectName("LabelPrevious");
    auto* next = new QPushButton("Next", this);
    next->setObjectName("LabelNext");
    matches_ = new QLabel(this);
    matches_->setTextFormat(Qt::PlainText);
    matches_->setObjectName("LabelMatches");
    matches_->setMinimumWidth(90);
    connect(find_, &QLineEdit::textChanged, this, [this] { Mark(); });
    connect(find_, &QLineEdit::returnPressed, this, &LabelWindow::FindNext);
    connect(next, &QPushButton::clicked, this, &LabelWindow::FindNext);
    connect(previous, &QPushButton::clicked, this, &LabelWindow::FindPrevious);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(PlainLabel("Find:", this));
    findRow->addWidget(find_, 1);
    findRow->addWidget(previous);
    findRow->addWidget(next);
    findRow->addWidget(matches_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file_);
    layout->addWidget(text_, 1);
    layout->addLayout(findRow);
    resize(620, 560);
}

void LabelWindow::ShowFile(const QString& path) {
    path_ = path;
    if (path.isEmpty()) {
        file_->setText("No file is chosen.");
        text_->setPlainText(QString());
    } else {
        try {
            const WholeLabel label = ReadWholeLabel(path.toStdString());
            file_->setText(QString::fromStdString(label.path) + "  (" +
                           QString::fromStdString(std::string(ArchiveFormatName(label.format))) +
                           ")");
            // Labels are ASCII; anything else shows as Latin-1 rather than vanishing.
            text_->setPlainText(QString::fromLatin1(IndentedLabel(label)));
        } catch (const ImageError& e) {
            file_->setText(path);
            text_->setPlainText("This file has no archive label to show.\n\n" +
                                QString::fromStdString(e.what()));
        }
    }
    Mark();
}

void LabelWindow::Open(const QString& path) {
    ShowFile(path);
    show();
    raise();
    activateWindow();
}

void LabelWindow::SetFindText(const QString& text) {
    find_->setText(text);
    Mark();
}

void LabelWindow::Mark() {
    starts_.clear();
    const QString needle = find_->text();
    length_ = static_cast<int>(needle.size());
    if (!needle.isEmpty()) {
        const QString text = text_->toPlainText();
        for (qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(needle, at + needle.size(), Qt::CaseInsensitive)) {
            starts_.push_back(static_cast<int>(at));
        }
    }
    current_ = starts_.empty() ? -1 : 0;
    ShowMarks();
}

void LabelWindow::FindNext() {
    if (starts_.empty()) return;
    current_ = (current_ + 1) % static_cast<int>(starts_.size());
    ShowMarks();
}

void LabelWindow::FindPrevious() {
    if (starts_.empty()) return;
    const int count = static_cast<int>(starts_.size());
    current_ = (current_ + count - 1) % count;
    ShowMarks();
}

void LabelWindow::ShowMarks() {
    QList<QTextEdit::ExtraSelection> marks;
    for (std::size_t i = 0; i < starts_.size(); ++i) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(text_->document());
        mark.cursor.setPosition(starts_[i]);
        mark.cursor.setPosition(starts_[i] + length_, QTextCursor::KeepAnchor);
        const bool current = static_cast<int>(i) == current_;
        mark.format.setBackground(current ? QColor(255, 150, 50) : QColor(255, 240, 120));
        mark.format.setForeground(Qt::black);
        marks << mark;
    }
    text_->setExtraSelections(marks);
    if (current_ >= 0) {
        QTextCursor cursor(text_->document());
        cursor.setPosition(starts_[static_cast<std::size_t>(current_)]);
        text_->setTextCursor(cursor);
        text_->ensureCursorVisible();
    }
    if (find_->text().isEmpty()) {
        matches_->clear();
    } else if (starts_.empty()) {
        matches_->setText("no match");
    } else {
        matches_->setText(QString("%1 of %2").arg(current_ + 1).arg(starts_.size()));
    }
}

QStringList LabelWindow::MarkedTexts() const {
    QStringList texts;
    for (const QTextEdit::ExtraSelection& mark : text_->extraSelections()) {
        texts << mark.cursor.selectedText();
    }
    return texts;
}

QString LabelWindow::Text() const {
    return text_->toPlainText();
}

}  // namespace kobrix
