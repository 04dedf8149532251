#pragma once

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/search_tab.h"
#include "ui/window_parts.h"

// The two windows as the program creates them: the main window with its
// command line, then the hidden map window.
inline std::unique_ptr<TMainForm> MakeWindows(const QStringList& arguments = {})
{
    QStringList commandLine{QStringLiteral("tovu")};
    commandLine += arguments;
    auto form = std::make_unique<TMainForm>(commandLine);
    form->AttachMapForm(new TMapForm(*form));
    return form;
}

// The lines of the result list.
inline QStringList ResultLines(const TMainForm& form)
{
    QStringList lines;
    for (int i = 0; i < Part<TSearchTab>(form, "TabSheet3")->lbResults->count(); ++i)
        lines << Part<TSearchTab>(form, "TabSheet3")->lbResults->item(i)->text();
    return lines;
}

inline void WriteTextFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

inline QByteArray ReadTextFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline std::string StdName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
