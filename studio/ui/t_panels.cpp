#include "t_panels.h"

#include "t_accessible.h"

#include <QAccessible>

TLabel::TLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

TPanel::TPanel(QWidget* parent) : TLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAlignment(Qt::AlignCenter);
    use_component_interface(this);
}

void TPanel::SetCaption(const QString& caption) {
    TLabel::SetCaption(caption);
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
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
