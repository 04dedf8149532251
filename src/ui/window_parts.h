#pragma once

#include <QObject>
#include <QString>

#include "ui/commands.h"

// A part of a window found by its design name (its objectName), as a test
// or a tool finds it; null when the window has none of that name and kind.
template <class T>
T* Part(const QObject& window, const char* name)
{
    return window.findChild<T*>(QString::fromLatin1(name));
}

inline TCommand* Command(const QObject& window, const char* name)
{
    return Part<TCommand>(window, name);
}
