#include "widgets/fit_window.h"

#include <QApplication>
#include <QLayout>
#include <QWidget>

#include "platform/desktop.h"

namespace kobrix {
namespace {

constexpr int kNoMaximum = QWIDGETSIZE_MAX;

QSize ScaleSize(const QSize& size, const FitRatio& ratio) {
    return {ratio.Scale(size.width()), ratio.Scale(size.height())};
}

// Size limits set by hand scale with the control, so that a fixed-size picture area grows
// with it. A layout keeps its widget's limits itself.
class ScaledLimits {
  public:
    ScaledLimits(QWidget& widget, const FitRatio& ratio) : widget_(widget) {
        active_ =
            widget.layout() == nullptr && (widget.minimumSize() != QSize(0, 0) ||
                                           widget.maximumSize() != QSize(kNoMaximum, kNoMaximum));
        if (!active_) return;
        minimum_ = ScaleSize(widget.minimumSize(), ratio);
        maximum_ = widget.maximumSize();
        if (maximum_.width() < kNoMaximum) maximum_.setWidth(ratio.Scale(maximum_.width()));
        if (maximum_.height() < kNoMaximum) maximum_.setHeight(ratio.Scale(maximum_.height()));
        // Out of the way while the geometry changes.
        widget.setMinimumSize(0, 0);
        widget.setMaximumSize(kNoMaximum, kNoMaximum);
    }

    // Puts the scaled limits on, widened where needed to admit the size just set.
    void Apply() {
        if (!active_) return;
        const QSize size = widget_.size();
        widget_.setMinimumSize(minimum_.boundedTo(size));
        widget_.setMaximumSize(maximum_.expandedTo(size));
    }

  private:
    QWidget& widget_;
    bool active_ = false;
    QSize minimum_;
    QSize maximum_;
};

bool Holds(const QLayout& layout, const QWidget& widget) {
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (item->widget() == &widget) return true;
        if (const QLayout* inner = item->layout(); inner != nullptr && Holds(*inner, widget)) {
            return true;
        }
    }
    return false;
}

// Placed by a layout of its parent, at any depth: the layout sizes it.
bool InLayout(const QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    return parent != nullptr && parent->layout() != nullptr && Holds(*parent->layout(), widget);
}

// Scales edges rather than sizes, so that controls that touch keep touching.
QRect ScaleRect(const QRect& rect, const FitRatio& ratio) {
    const int left = ratio.Scale(rect.x());
    const int top = ratio.Scale(rect.y());
    const int right = ratio.Scale(rect.x() + rect.width());
    const int bottom = ratio.Scale(rect.y() + rect.height());
    return {left, top, right - left, bottom - top};
}

void ScaleControls(QWidget& parent, const FitRatio& ratio) {
    for (QObject* object : parent.children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow()) continue;
        if (!InLayout(*child)) {
            ScaledLimits limits(*child, ratio);
            child->setGeometry(ScaleRect(child->geometry(), ratio));
            limits.Apply();
        }
        ScaleControls(*child, ratio);
    }
}

void ResizeWindow(QWidget& window, const QSize& size, const FitRatio& limitScale) {
    ScaledLimits limits(window, limitScale);
    window.resize(size);
    limits.Apply();
}

void MultiplyFonts(QWidget& window, int factor) {
    const QObjectList& children = window.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* child = qobject_cast<QWidget*>(*it);
        if (child == nullptr || child->isWindow()) continue;
        QFont font = child->font();
        if (factor == 0) {
            const QFont standard = QApplication::font(child);
            if (standard.pointSizeF() > 0) {
                font.setPointSizeF(standard.pointSizeF());
            } else {
                font.setPixelSize(standard.pixelSize());
            }
        } else if (font.pointSizeF() > 0) {
            font.setPointSizeF(font.pointSizeF() * factor);
        } else {
            font.setPixelSize(font.pixelSize() * factor);
        }
        child->setFont(font);
    }
}

void Clamp(QWidget& window, FitSize screen) {
    const QSize size = window.size();
    const FitSize clamped = ClampToScreen({size.width(), size.height()}, screen);
    if (clamped.width == size.width() && clamped.height == size.height()) return;
    const QSize target(clamped.width, clamped.height);
    window.setMinimumSize(window.minimumSize().boundedTo(target));
    window.resize(target);
}

}  // namespace

FitPlan FitWindowToScreen(QWidget& window, Desktop& desktop, FitSteps steps,
                          const QList<QWidget*>& existingWindows) {
    const QSize screenSize = desktop.ScreenSize();
    const FitSize screen{screenSize.width(), screenSize.height()};
    const FitPlan plan =
        PlanFit({window.width(), window.height()}, screen, desktop.PixelsPerInch(), steps);
    if (steps == FitSteps::None) return plan;

    if (!plan.ppiScale.IsOne()) {
        ResizeWindow(window, {plan.afterPpi.width, plan.afterPpi.height}, plan.ppiScale);
        ScaleControls(window, plan.ppiScale);
        window.update();
    }
    if (plan.screenScaling) {
        ResizeWindow(window, {plan.afterScreen.width, plan.afterScreen.height}, plan.controlScale);
        ScaleControls(window, plan.controlScale);
    }
    if (plan.scaleFonts) MultiplyFonts(window, plan.fontFactor);

    Clamp(window, screen);
    for (QWidget* other : existingWindows) {
        if (other != nullptr && other != &window) Clamp(*other, screen);
    }
    return plan;
}

}  // namespace kobrix
