#include "platform/qt_prompts.h"

#include <algorithm>

#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

namespace kobrix {
namespace {

void ShowOkBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Type lists name several patterns with ';' between them ("All (*.jpg;*.bmp)"); Qt's dialog
// separates them by blanks.
QString DialogFilter(const QString& filter) {
    const qsizetype open = filter.lastIndexOf('(');
    if (open < 0 || !filter.endsWith(')')) return filter;
    QString patterns = filter.mid(open);
    patterns.replace(';', ' ');
    return filter.left(open) + patterns;
}

FileChoice RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title,
                         const QStringList& filters, int selectedFilter, const QString& initial) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    QStringList shown;
    for (const QString& filter : filters) shown << DialogFilter(filter);
    if (!shown.isEmpty()) {
        dialog.setNameFilters(shown);
        const int index = std::clamp(selectedFilter, 1, static_cast<int>(shown.size()));
        dialog.selectNameFilter(shown[index - 1]);
    }
    if (!initial.isEmpty()) {
        const QFileInfo info(initial);
        if (info.isDir()) {
            dialog.setDirectory(info.absoluteFilePath());
        } else {
            // A proposed name, possibly with its directory.
            if (info.absoluteDir().exists()) dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
    }

    FileChoice choice;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return choice;
    choice.accepted = true;
    choice.path = dialog.selectedFiles().constFirst();
    const qsizetype index = shown.indexOf(dialog.selectedNameFilter());
    choice.filterIndex = index < 0 ? 1 : static_cast<int>(index) + 1;
    return choice;
}

}  // namespace

void QtPrompts::Information(const QString& text) {
    ShowOkBox(parent_, QMessageBox::Information, text);
}

void QtPrompts::Warning(const QString& text) {
    ShowOkBox(parent_, QMessageBox::Warning, text);
}

void QtPrompts::Message(const QString& text) {
    ShowOkBox(parent_, QMessageBox::NoIcon, text);
}

void QtPrompts::Error(const QString& text) {
    ShowOkBox(parent_, QMessageBox::Critical, text);
}

bool QtPrompts::YesCancel(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                    QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    // Own buttons, so the captions read exactly "Yes" and "Cancel" without mnemonics.
    QPushButton* yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == yes;
}

FileChoice QtPrompts::OpenPicture(const QString& title, const QStringList& filters,
                                  int selectedFilter, const QString& initial) {
    return RunFileDialog(parent_, QFileDialog::AcceptOpen, title, filters, selectedFilter, initial);
}

FileChoice QtPrompts::SavePicture(const QString& title, const QStringList& filters,
                                  int selectedFilter, const QString& initial) {
    return RunFileDialog(parent_, QFileDialog::AcceptSave, title, filters, selectedFilter, initial);
}

QColor QtPrompts::ChooseColour(const QColor& initial) {
    return QColorDialog::getColor(initial, parent_);
}

FontChoice QtPrompts::ChooseFont(const QFont& initial, const QColor& colour) {
    FontChoice choice;
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent_);
    choice.accepted = ok;
    choice.font = ok ? font : initial;
    choice.colour = colour;
    return choice;
}

bool QtPrompts::ChoosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kobrix
