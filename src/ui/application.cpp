#include "ui/application.h"

#include "ui/dialogs.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return Guarded([&] { return QApplication::notify(receiver, event); });
}

QString TApplication::ExceptionText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void TApplication::ShowException(const QString& message)
{
    Dialogs().ShowErrorBox(QApplication::activeWindow(), QString::fromUtf8(ApplicationTitle), ExceptionText(message));
}
