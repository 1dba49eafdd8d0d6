#include "app/file_commands.h"

#include "widgets/controls.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <filesystem>

#include "app/main_window.h"
#include "archive/archive_file.h"
#include "browse/file_operations.h"
#include "imaging/image_error.h"

namespace kobrix {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool IsRightButtonEvent(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
        default:
            return false;
    }
}

}  // namespace

FileCommands::FileCommands(Platform& platform, MainWindow& main,
                           const FileCommandControls& controls, QObject* parent)
    : QObject(parent), platform_(platform), main_(main), controls_(controls) {
    // The right button only asks; it does not move the lists' selections.
    controls_.fileList.viewport()->installEventFilter(this);
    controls_.multiSelect.viewport()->installEventFilter(this);
    controls_.fileList.installEventFilter(this);  // its moves and resizes carry the overlay
    connect(&controls_.multiSelect, &QListWidget::clicked, this,
            [this] { main_.Drive([this] { MultiSelectClick(); }); });
}

const QStringList& FileCommands::SaveTypes() {
    static const QStringList kTypes = {QStringLiteral("All (*.jpg;*.jpeg;*.bmp)"),
                                       QStringLiteral("Bitmaps (*.bmp)"),
                                       QStringLiteral("JPEG Image File (*.jpg)")};
    return kTypes;
}

bool FileCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &controls_.fileList) {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) PlaceMultiSelect();
        return false;
    }
    if (!IsRightButtonEvent(event)) return false;
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == controls_.fileList.viewport()) {
            main_.Drive([this] { FileListRightClick(); });
        } else if (watched == controls_.multiSelect.viewport()) {
            main_.Drive([this] { MultiSelectRightClick(); });
        }
    }
    return true;
}

// ---- Delete

void FileCommands::Delete() {
    Prompts& prompts = platform_.prompts;
    // The file on display when the user asked: timers keep browsing while the box is open.
    // (The browser's path, not the caption's text, which may tell of an earlier deletion.)
    const std::string path = main_.GetBrowser().PathCaption();
    // An archive picture goes whole: a raw .IMG's label, or a PDS4 label's data, would be
    // left behind useless.
    const std::vector<std::string> files = !path.empty() && ClaimsArchiveFile(path)
                                               ? ArchiveFilesToDelete(path)
                                               : std::vector<std::string>{path};
    if (!prompts.YesCancel(QStringLiteral("Confirm File Deletion"))) {
        prompts.Message(QStringLiteral("Cancel pressed, file will be kept."));
        return;
    }
    prompts.Message(QStringLiteral("Yes pressed, file will be deleted."));
    const std::string failure = DeleteFileAt(path);
    if (!failure.empty()) {
        // Nothing was deleted, so nothing claims it was (and the label stays with its file).
        prompts.Error(Q(failure));
        return;
    }
    // The caption names each file that is gone, and only those.
    QString text = Q(path) + QStringLiteral(" FILE DELETED");
    std::vector<std::string> failures;
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::string companionFailure = DeleteFileAt(files[i]);
        if (companionFailure.empty())
            text +=
                QStringLiteral("  ") + Q(FileNameOf(files[i])) + QStringLiteral(" FILE DELETED");
        else
            failures.push_back(companionFailure);
    }
    // The re-read's pass empties the caption; what was deleted is said after it, so that it
    // stays to be read.
    main_.RereadFileList();
    QLabel& caption = controls_.pathCaption;
    caption.setText(text);
    SetTextColour(caption, failures.empty() ? QColor(0, 128, 0) : QColor(255, 0, 0));
    for (const std::string& companionFailure : failures) prompts.Error(Q(companionFailure));
}

// ---- Save as

void FileCommands::SaveAs() {
    // The picture as it is now; timers may display others while the dialog is open.
    SaveAs(Bitmap24(main_.GetBrowser().Picture()));
}

void FileCommands::SaveAs(const Bitmap24& picture) {
    Browser& browser = main_.GetBrowser();
    const std::string directory = browser.Files().Directory();
    const int index = browser.Files().Selected();
    const std::string proposal =
        ProposedSaveName(main_.Tree().TaggedPicDirectory, BaseNameOf(browser.PathCaption()));
    const FileChoice choice = platform_.prompts.SavePicture(QStringLiteral("Save as"), SaveTypes(),
                                                            kJpegSaveType, Q(proposal));
    if (choice.accepted) {
        const SaveTarget target = SaveTargetFor(choice.path.toStdString(), choice.filterIndex);
        // The dialog asked about the name as typed; the file written may be another one.
        const bool replaces = target.path != choice.path.toStdString() && PathExists(target.path);
        if (!replaces || platform_.prompts.YesCancel(
                             Q(target.path) + QStringLiteral(" already exists. Replace it?"))) {
            // A failed write throws: the error box, and the selection is left as it is.
            WriteSaveTarget(picture, target);
        }
    }
    Restore(directory, index);
}

void FileCommands::Restore(const std::string& directory, int index) {
    main_.RestoreList(directory, index);
}

// ---- the multi-select list and the copy to the AVI source directory

void FileCommands::FileListRightClick() {
    if (!platform_.prompts.YesCancel(
            QStringLiteral("ENABLE MULTI SELECT COPY FILES TO AVI SOURCE DIRECTORY"))) {
        platform_.prompts.Message(QStringLiteral("Cancel pressed, Copy not enabled."));
        return;
    }
    QListWidget& list = controls_.multiSelect;
    list.clear();
    for (const std::string& name : main_.GetBrowser().Files().Names()) list.addItem(Q(name));
    const int selected = main_.GetBrowser().Files().Selected();
    if (QListWidgetItem* item = list.item(selected)) {
        item->setSelected(true);
        list.setCurrentRow(selected, QItemSelectionModel::NoUpdate);
    }
    list.setFont(controls_.fileList.font());
    SetTextColour(list, QColor(0, 0, 255));
    PlaceMultiSelect();
    list.show();
    list.raise();
}

void FileCommands::PlaceMultiSelect() {
    QListWidget& list = controls_.multiSelect;
    QWidget* parent = list.parentWidget();
    if (!parent) return;
    list.setGeometry(
        QRect(controls_.fileList.mapTo(parent, QPoint(0, 0)), controls_.fileList.size()));
}

void FileCommands::MultiSelectClick() {
    if (copying_) return;
    Browser& browser = main_.GetBrowser();
    const QListWidget& list = controls_.multiSelect;
    collected_.clear();
    // Entry i of both lists is the same file as long as the main list was not read again.
    for (int i = 0; i < list.count() && i < browser.Files().Count(); ++i) {
        if (!list.item(i)->isSelected()) continue;
        browser.Files().Select(i);
        browser.SelectionSequence();
        collected_.push_back(browser.Files().PathOf(i));
    }
    RecordHandover();
    browser.GetFileSize();
    browser.Animate();
}

void FileCommands::MultiSelectRightClick() {
    if (copying_) return;
    Prompts& prompts = platform_.prompts;
    if (!prompts.YesCancel(QStringLiteral("COPY SELECTED FILES TO AVI SOURCE DIRECTORY"))) {
        prompts.Message(QStringLiteral("Cancel pressed, Copy not done."));
    } else {
        // The waits let other events run: the list takes no clicks meanwhile, and the copy
        // works from its own list of paths.
        const std::string sourceDirectory = main_.Tree().AviSourceDirectory;
        const std::vector<std::string> paths = collected_;
        controls_.multiSelect.setEnabled(false);
        copying_ = true;
        for (const std::string& path : paths) {
            controls_.pathCaption.setText(Q(path));
            platform_.desktop.Wait(50);
            // An archive picture is copied whole: a raw .IMG does not open without its label.
            std::vector<std::string> files{path};
            if (ClaimsArchiveFile(path)) {
                try {
                    files = ArchiveProductFiles(path);
                } catch (const ImageError&) {
                    // Copied as it is; the AVI tool tells what it cannot read.
                }
            }
            bool copied = !sourceDirectory.empty();
            for (const std::string& file : files) {
                copied = copied && CopyWithoutOverwrite(file, sourceDirectory + FileNameOf(file));
            }
            if (copied)
                platform_.desktop.Beep();
            else
                prompts.Message(QStringLiteral("The file FAILED to copy \\AVIsource."));
        }
        copying_ = false;
        controls_.multiSelect.setEnabled(true);
    }
    RecordHandover();
    controls_.multiSelect.hide();
    emit aviToolRequested(Q(handover_.directory));
}

void FileCommands::RecordHandover() {
    const Browser& browser = main_.GetBrowser();
    handover_.directory = browser.Files().Directory();
    handover_.index = browser.Files().Selected();
}

}  // namespace kobrix
