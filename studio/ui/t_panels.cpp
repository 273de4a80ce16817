#include "t_panels.h"

TLabel::TLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

TPanel::TPanel(QWidget* parent) : TLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAlignment(Qt::AlignCenter);
}

TStatusBar::TStatusBar(QWidget* parent) : TLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setIndent(4);
}

QAction* TPopupMenu::AddItem(const QString& name, const QString& caption) {
    QAction* action = addAction(caption);
    action->setObjectName(name);
    return action;
}
