#pragma once

#include <QApplication>

#include <exception>
#include <new>

#include "core/memory_shortage.h"

// The application's title, from which the main window's caption is built.
inline constexpr const char* ApplicationTitle = "Tovu";

// The application object. An exception that escapes an event handler (a
// command among them) ends that handler only: its text is shown in an error
// box and the program goes on. Nothing is let through to the event loop.
class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs deliver; an exception it raises is shown and counts as an event
    // nobody handled.
    template <typename TDeliver>
    static bool Guarded(TDeliver&& deliver)
    {
        try {
            return deliver();
        } catch (const std::bad_alloc&) {
            ShowException(QString::fromStdString(OutOfMemoryText()));
        } catch (const std::exception& error) {
            ShowException(QString::fromUtf8(error.what()));
        } catch (...) {
            ShowException(QStringLiteral("Nieznany błąd"));
        }
        return false;
    }

    // The default error box: the message with a closing period, captioned
    // with the application's title.
    static void ShowException(const QString& message);
    static QString ExceptionText(const QString& message);
};
