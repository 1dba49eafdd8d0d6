#pragma once

#include <QLabel>

namespace kobrix {

// A plain-text label for paths and file names: it wraps anywhere, not only at blanks, so a long
// path without spaces takes more lines instead of widening its window or being cut off.
class PathLabel : public QLabel {
    Q_OBJECT

  public:
    explicit PathLabel(const QString& text = QString(), QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    static constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;
};

}  // namespace kobrix
