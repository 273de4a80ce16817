#include "t_gauge.h"

#include "bgr_color.h"
#include "t_accessible.h"

#include <QAccessible>
#include <QPainter>

#include <algorithm>

TCGauge::TCGauge(QWidget* parent) : QWidget(parent) { use_component_interface(this); }

void TCGauge::SetMinValue(int64_t value) {
    if (value >= max_) return;
    min_ = value;
    progress_ = std::clamp(progress_, min_, max_);
    changed();
}

void TCGauge::SetMaxValue(int64_t value) {
    if (value == 0 || value <= min_) return;
    max_ = value;
    progress_ = std::clamp(progress_, min_, max_);
    changed();
}

void TCGauge::SetProgress(int64_t value) {
    progress_ = std::clamp(value, min_, max_);
    changed();
}

int TCGauge::PercentDone() const { return static_cast<int>((progress_ - min_) * 100 / (max_ - min_)); }

void TCGauge::changed() {
    update();
    QAccessibleValueChangeEvent event(this, QVariant::fromValue<qlonglong>(progress_));
    QAccessible::updateAccessibility(&event);
}

void TCGauge::SetForeColor(uint32_t bgr) {
    fore_bgr_ = bgr;
    update();
}

void TCGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect whole = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(whole, Qt::white);
    const double share = static_cast<double>(progress_ - min_) / static_cast<double>(max_ - min_);
    const int width = static_cast<int>(share * whole.width());
    painter.fillRect(QRect(whole.left(), whole.top(), width, whole.height()), bgr_color(fore_bgr_));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(whole);
}
