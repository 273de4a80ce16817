// Pointer-enter and pointer-leave handlers for any control, disabled ones too:
// Qt delivers both events to a disabled widget (it drops only its mouse-button,
// move and key events), and an event filter sees them before the widget does.
#pragma once

#include <QWidget>

#include <functional>

// Runs `on_enter` when the pointer enters `control` (or one of its children from outside it) and `on_leave` when
// it leaves it. The handlers live as long as the control.
void bind_mouse_enter_leave(QWidget* control, std::function<void()> on_enter, std::function<void()> on_leave);
