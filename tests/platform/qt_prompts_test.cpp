#include "platform/qt_prompts.h"

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace kobrix {
namespace {

// Acts on the next modal box or dialog from inside its loop, as a user would. A dialog that is
// still open after a few seconds is rejected and fails the test instead of hanging it.
class ModalScript {
  public:
    explicit ModalScript(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible() || acted_) return;
            acted_ = true;
            act_(modal);
        });
        poll_.start(5);
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "dialog left open";
                dialog->reject();
            }
        });
        watchdog_.start(5000);
    }

    bool Acted() const { return acted_; }

  private:
    std::function<void(QWidget*)> act_;
    QTimer poll_;
    QTimer watchdog_;
    bool acted_ = false;
};

// Sorted: the order on screen follows the desktop's convention.
QStringList ButtonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) texts << button->text();
    texts.sort();
    return texts;
}

class QtPromptsTest : public ::testing::Test {
  protected:
    void SetUp() override { QCoreApplication::setApplicationName("KOBRIX 2007"); }
    QtPrompts prompts_;
};

TEST_F(QtPromptsTest, OkBoxesHaveTheirIconTitleAndExactText) {
    struct Case {
        std::function<void(QtPrompts&, const QString&)> show;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {[](QtPrompts& p, const QString& t) { p.Information(t); }, QMessageBox::Information},
        {[](QtPrompts& p, const QString& t) { p.Warning(t); }, QMessageBox::Warning},
        {[](QtPrompts& p, const QString& t) { p.Message(t); }, QMessageBox::NoIcon},
        {[](QtPrompts& p, const QString& t) { p.Error(t); }, QMessageBox::Critical},
    };
    // Markup in a file name must be shown as it is.
    const QString text = QStringLiteral("Image <b>saved</b> to clipboard!");
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.icon));
        ModalScript script([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->windowTitle(), "KOBRIX 2007");
            EXPECT_EQ(box->text(), text);
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            ASSERT_EQ(box->buttons().size(), 1);
            EXPECT_EQ(box->standardButton(box->buttons().first()), QMessageBox::Ok);
            box->buttons().first()->click();
        });
        c.show(prompts_, text);
        EXPECT_TRUE(script.Acted());
    }
}

TEST_F(QtPromptsTest, YesCancelIsAPlainBoxWithExactlyYesAndCancel) {
    const QString question = QStringLiteral("Confirm File Deletion");
    for (const QString& press : {QStringLiteral("Yes"), QStringLiteral("Cancel"), QString()}) {
        SCOPED_TRACE(press.toStdString());
        ModalScript script([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->text(), question);
            EXPECT_EQ(ButtonTexts(*box), QStringList({"Cancel", "Yes"}));
            EXPECT_EQ(box->defaultButton()->text(), "Yes");
            if (press.isEmpty()) {  // Escape
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(box, &escape);
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) button->click();
            }
        });
        EXPECT_EQ(prompts_.YesCancel(question), press == "Yes");
        EXPECT_TRUE(script.Acted());
    }
}

TEST_F(QtPromptsTest, SaveDialogProposesTheNameAndReportsTheChosenFilter) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList filters{"JPEG (*.jpg)", "Bitmaps (*.bmp)"};
    const QString proposed = dir.filePath("2P241328935EFFAUCTP2582L5M1-01.jpg");
    ModalScript script([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Save Anaglyph");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), filters);
        EXPECT_EQ(dialog->selectedNameFilter(), "Bitmaps (*.bmp)");
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        ASSERT_FALSE(dialog->selectedFiles().isEmpty());
        EXPECT_TRUE(dialog->selectedFiles().first().endsWith("M1-01.jpg"));
        dialog->selectFile(dir.filePath("out.bmp"));
        static_cast<QDialog*>(dialog)->accept();  // through QDialog, where it is public
    });
    const FileChoice choice = prompts_.SavePicture("Save Anaglyph", filters, 2, proposed);
    EXPECT_TRUE(script.Acted());
    EXPECT_TRUE(choice.accepted);
    EXPECT_TRUE(choice.path.endsWith("out.bmp"));
    EXPECT_EQ(choice.filterIndex, 2);
}

TEST_F(QtPromptsTest, OpenDialogSeparatesSeveralPatternsForQt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList filters{"All (*.jpg;*.jpeg;*.bmp)", "Bitmaps (*.bmp)"};
    ModalScript script([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList({"All (*.jpg *.jpeg *.bmp)", "Bitmaps (*.bmp)"}));
        EXPECT_EQ(dialog->selectedNameFilter(), "All (*.jpg *.jpeg *.bmp)");
        static_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_FALSE(prompts_.OpenPicture("Browse", filters, 1, dir.path()).accepted);
    EXPECT_TRUE(script.Acted());
}

}  // namespace
}  // namespace kobrix
