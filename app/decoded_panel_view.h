#pragma once

#include <QLabel>
#include <QWidget>

#include "decode/product_name.h"

namespace kobrix {

// The main window's decoded-fields panel: a caption and a value per row. Every value label
// carries its control name ("Label44" is the sol), so other windows and tests find it.
class DecodedPanelView : public QWidget {
    Q_OBJECT
  public:
    explicit DecodedPanelView(QWidget* parent = nullptr);

    void Show(const DecodedPanel& panel);
    QLabel* Value(const char* controlName) const;

  private:
    QLabel* AddValue(const char* controlName);
};

}  // namespace kobrix
