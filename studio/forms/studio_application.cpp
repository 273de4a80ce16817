#include "studio_application.h"

#include "studio_services.h"

#include <exception>

void ShowException(const QString& message) {
    services().message_boxes->show(nullptr, message, QApplication::applicationName(), MB_ICONERROR);
}

bool studio_application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QString());
    }
    return false;
}
