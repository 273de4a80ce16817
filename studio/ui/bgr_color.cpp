#include "bgr_color.h"

#include <QPalette>

void set_font_color(QWidget* widget, uint32_t bgr) {
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, bgr_color(bgr));
        palette.setColor(group, QPalette::Text, bgr_color(bgr));
    }
    widget->setPalette(palette);
}

uint32_t font_color(const QWidget* widget) {
    const QColor color = widget->palette().color(QPalette::Active, QPalette::WindowText);
    return static_cast<uint32_t>(color.red()) | static_cast<uint32_t>(color.green()) << 8 |
           static_cast<uint32_t>(color.blue()) << 16;
}

void set_background_color(QWidget* widget, uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, bgr_color(bgr));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
