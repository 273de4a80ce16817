// Plain-text labels and panels: a path holding "<b>" must show as it stands,
// and "\n" breaks lines. The status bar shows one simple text across the bottom.
#pragma once

#include <QLabel>
#include <QMenu>

// A label showing plain text.
class TLabel : public QLabel {
public:
    explicit TLabel(QWidget* parent = nullptr);
    void SetCaption(const QString& caption) { setText(caption); }
    QString Caption() const { return text(); }
};

// A raised panel with a centred caption. Screen readers know it by its
// accessible name (the caption while it has none) and read the caption as its
// value and description, so that it is named also while it shows nothing.
class TPanel : public TLabel {
public:
    explicit TPanel(QWidget* parent = nullptr);
    void SetCaption(const QString& caption);
};

// The status bar with one simple panel.
class TStatusBar : public TLabel {
public:
    explicit TStatusBar(QWidget* parent = nullptr);
    void SetSimpleText(const QString& text) { setText(text); }
    QString SimpleText() const { return text(); }
};

// A right-click or button menu, shown without waiting for the choice.
class TPopupMenu : public QMenu {
public:
    explicit TPopupMenu(QWidget* parent = nullptr) : QMenu(parent) {}
    QAction* AddItem(const QString& name, const QString& caption);
    void Popup(const QPoint& screen_point) { popup(screen_point); }
};
