// The application object: an exception that reaches the event loop is shown
// in a message box, and the program goes on.
#pragma once

#include <QApplication>

class studio_application : public QApplication {
public:
    studio_application(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an exception's message as the class library's application object did.
void ShowException(const QString& message);
