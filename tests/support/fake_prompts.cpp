#include "tests/support/fake_prompts.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace kobrix::testing {
namespace {

// Takes the next scripted answer, or fails the test and gives `cancel`.
template <typename T>
T Next(std::deque<T>& queue, const std::string& entry, T cancel) {
    if (queue.empty()) {
        ADD_FAILURE() << "Unscripted prompt: " << entry;
        return cancel;
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

FakePrompts::~FakePrompts() {
    const std::size_t left =
        answers.size() + fileChoices.size() + colours.size() + fonts.size() + printAnswers.size();
    if (left > 0) ADD_FAILURE() << left << " scripted answer(s) never asked for";
}

std::vector<std::string> FakePrompts::Texts(const std::string& kind) const {
    const std::string prefix = kind + ": ";
    std::vector<std::string> texts;
    for (const std::string& entry : log) {
        if (entry.rfind(prefix, 0) == 0) texts.push_back(entry.substr(prefix.size()));
    }
    return texts;
}

void FakePrompts::Clear() {
    log.clear();
    fileRequests.clear();
}

void FakePrompts::Record(const std::string& kind, const QString& text) {
    log.push_back(text.isEmpty() ? kind : kind + ": " + text.toStdString());
    if (onPrompt) onPrompt(log.back());
}

void FakePrompts::Information(const QString& text) {
    Record("information", text);
}
void FakePrompts::Warning(const QString& text) {
    Record("warning", text);
}
void FakePrompts::Message(const QString& text) {
    Record("message", text);
}
void FakePrompts::Error(const QString& text) {
    Record("error", text);
}

bool FakePrompts::YesCancel(const QString& text) {
    Record("question", text);
    return Next(answers, log.back(), false);
}

FileChoice FakePrompts::NextFileChoice(const std::string& kind, const QString& title,
                                       const QStringList& filters, int selectedFilter,
                                       const QString& initial) {
    fileRequests.push_back({title, filters, selectedFilter, initial});
    Record(kind, title);
    return Next(fileChoices, log.back(), FileChoice{});
}

FileChoice FakePrompts::OpenPicture(const QString& title, const QStringList& filters,
                                    int selectedFilter, const QString& initial) {
    return NextFileChoice("open", title, filters, selectedFilter, initial);
}

FileChoice FakePrompts::SavePicture(const QString& title, const QStringList& filters,
                                    int selectedFilter, const QString& initial) {
    return NextFileChoice("save", title, filters, selectedFilter, initial);
}

QColor FakePrompts::ChooseColour(const QColor& initial) {
    Record("colour", initial.name());
    return Next(colours, log.back(), QColor());
}

FontChoice FakePrompts::ChooseFont(const QFont& initial, const QColor& colour) {
    Record("font", initial.family());
    FontChoice cancel{false, initial, colour};
    return Next(fonts, log.back(), cancel);
}

bool FakePrompts::ChoosePrinter(QPrinter& printer) {
    Record("print", QString());
    const bool confirmed = Next(printAnswers, log.back(), false);
    if (confirmed && !printToPdf.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printToPdf);
    }
    return confirmed;
}

}  // namespace kobrix::testing
