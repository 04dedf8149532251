#include "ui/application.h"

#include <exception>
#include <new>

#include "ui/dialogs.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        ShowException(QStringLiteral("Za mało pamięci"));
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QStringLiteral("Nieznany błąd"));
    }
    return false;
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
