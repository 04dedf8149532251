#pragma once

#include <QApplication>

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

    // The default error box: the message with a closing period, captioned
    // with the application's title.
    static void ShowException(const QString& message);
    static QString ExceptionText(const QString& message);
};
