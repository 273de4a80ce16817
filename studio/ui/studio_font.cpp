#include "studio_font.h"

#include <QFont>

void apply_studio_font(QApplication& application) {
    QFont font("Sans Serif");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    application.setFont(font);
}
