// Colours given as 0xBBGGRR numbers, the notation of the forms' colour values
// (blue is 0xFF0000, red 255). Converted in one place: Qt reads the same number as red.
#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

inline QColor bgr_color(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline constexpr uint32_t kBgrBlack = 0x000000;
inline constexpr uint32_t kBgrRed = 0x0000FF;
inline constexpr uint32_t kBgrBlue = 0xFF0000;
inline constexpr uint32_t kBgrSkyBlue = 0xF0CAA6;
inline constexpr uint32_t kBgr3DLight = 0xE3E3E3;

// The font colour of a label or panel text.
void set_font_color(QWidget* widget, uint32_t bgr);
uint32_t font_color(const QWidget* widget);

// The background colour of a form or panel.
void set_background_color(QWidget* widget, uint32_t bgr);
