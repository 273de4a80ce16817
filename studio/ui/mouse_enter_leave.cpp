#include "mouse_enter_leave.h"

#include <QEvent>

namespace {

class enter_leave_filter : public QObject {
public:
    enter_leave_filter(QWidget* control, std::function<void()> on_enter, std::function<void()> on_leave)
        : QObject(control), on_enter_(std::move(on_enter)), on_leave_(std::move(on_leave)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Enter && on_enter_) on_enter_();
        if (event->type() == QEvent::Leave && on_leave_) on_leave_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> on_enter_;
    std::function<void()> on_leave_;
};

}  // namespace

void bind_mouse_enter_leave(QWidget* control, std::function<void()> on_enter, std::function<void()> on_leave) {
    control->installEventFilter(new enter_leave_filter(control, std::move(on_enter), std::move(on_leave)));
}
