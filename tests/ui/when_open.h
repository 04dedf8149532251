#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Runs answer on the first modal dialog of type TDialog that opens, inside
// that dialog's own event loop: the way a test answers the real dialogs.
template <typename TDialog>
void WhenOpen(std::function<void(TDialog&)> answer)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            answer(*dialog);
        }
    });
    timer->start(5);
}
