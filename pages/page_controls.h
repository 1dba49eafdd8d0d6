#pragma once

#include <QBoxLayout>
#include <QPushButton>
#include <QString>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "widgets/controls.h"

namespace kobrix {

// The pages keep their texts as string views into static tables.
inline QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Close": hides the page, which keeps its state for the next opening.
inline QPushButton* HideButton(QWidget& page) {
    QPushButton* close = PlainButton("Close", "Close", &page);
    QObject::connect(close, &QPushButton::clicked, &page, &QWidget::hide);
    return close;
}

// One button a choice, in order, each named and captioned by its text, each telling `chosen`.
template <typename Id>
void AddChoiceButtons(QWidget& page, QBoxLayout& layout,
                      std::initializer_list<std::pair<const char*, Id>> choices,
                      const std::function<void(Id)>& chosen) {
    for (const auto& choice : choices) {
        QPushButton* button = PlainButton(choice.first, choice.first, &page);
        const Id id = choice.second;
        QObject::connect(button, &QPushButton::clicked, &page, [chosen, id] { chosen(id); });
        layout.addWidget(button);
    }
}

}  // namespace kobrix
