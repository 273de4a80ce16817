// The forms' font: the default sans font at the forms' point size (8).
#pragma once

#include <QApplication>

void apply_studio_font(QApplication& application);
