#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/prompts.h"

namespace kobrix::testing {

// Records every prompt as "<kind>: <text>" in order and answers from queues the test fills.
// A prompt without a scripted answer fails the test at once and is answered with Cancel, so
// that a window test never hangs on a box nobody will close. Answers left over at the end
// fail the test too: a prompt the test expected never came.
class FakePrompts final : public Prompts {
  public:
    struct FileRequest {
        QString title;
        QStringList filters;
        int selectedFilter = 0;
        QString initial;
    };

    ~FakePrompts() override;

    // Kinds: information, warning, message, error, question, open, save, colour, font, print.
    std::vector<std::string> log;
    std::vector<FileRequest> fileRequests;  // every open and save dialog, in order

    std::deque<bool> answers;  // YesCancel: true for Yes
    std::deque<FileChoice> fileChoices;
    std::deque<QColor> colours;  // an invalid colour is Cancel
    std::deque<FontChoice> fonts;
    std::deque<bool> printAnswers;
    // When set, a confirmed print dialog sends the printer to this PDF file.
    QString printToPdf;

    // Runs at every prompt before it is answered, as other events can run while a real box
    // waits for the user.
    std::function<void(const std::string& entry)> onPrompt;

    // Entries of one kind, without the kind ("warning" gives the warning texts).
    std::vector<std::string> Texts(const std::string& kind) const;
    void Clear();

    void Information(const QString& text) override;
    void Warning(const QString& text) override;
    void Message(const QString& text) override;
    void Error(const QString& text) override;
    bool YesCancel(const QString& text) override;
    FileChoice OpenPicture(const QString& title, const QStringList& filters, int selectedFilter,
                           const QString& initial) override;
    FileChoice SavePicture(const QString& title, const QStringList& filters, int selectedFilter,
                           const QString& initial) override;
    QColor ChooseColour(const QColor& initial) override;
    FontChoice ChooseFont(const QFont& initial, const QColor& colour) override;
    bool ChoosePrinter(QPrinter& printer) override;

  private:
    void Record(const std::string& kind, const QString& text);
    FileChoice NextFileChoice(const std::string& kind, const QString& title,
                              const QStringList& filters, int selectedFilter,
                              const QString& initial);
};

}  // namespace kobrix::testing
