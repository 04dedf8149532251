#pragma once

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>

#include "ui/distance_grid.h"
#include "ui/document.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/result_list.h"
#include "ui/search_runner.h"
#include "ui/window_parts.h"

// The tests' seams into what only the document and the distance table
// write: states no operation makes (a flag or a matrix of a test's own, a
// set changed without its announcement).
struct TDocumentTestAccess {
    static TPointSetState& State(TDocument& document) { return *document.FState; }
};
struct TDistanceGridTestAccess {
    static TDistanceMatrix& Distances(TDistanceGridModel& model) { return model.FDistances; }
};

// The window's set, to change behind the document's back.
inline TPointSetState& WritableState(TMainForm& form)
{
    return TDocumentTestAccess::State(form.Document());
}

// The distance table's matrix, as the searches and the table read it.
inline const TDistanceMatrix& Distances(const TMainForm& form)
{
    return Part<TDistanceGrid>(form, "StringGrid1")->Model().Distances();
}

inline TDistanceMatrix& WritableDistances(TMainForm& form)
{
    return TDistanceGridTestAccess::Distances(Part<TDistanceGrid>(form, "StringGrid1")->Model());
}

// The table shows matrix (of the window's set's size) in place of the set's.
inline void ShowMatrix(TMainForm& form, TDistanceMatrix matrix)
{
    auto* grid = Part<TDistanceGrid>(form, "StringGrid1");
    TDistanceGridTestAccess::Distances(grid->Model()) = std::move(matrix);
    grid->Fill(static_cast<int>(form.State().FPoints.size()), form.NumberFormat());
}

inline TResultList& Results(const TMainForm& form)
{
    return *Part<TResultList>(form, "lbResults");
}

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
    for (int i = 0; i < Results(form).count(); ++i)
        lines << Results(form).item(i)->text();
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
