#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <optional>

#include "ui/dialogs.h"

// Dialogs that answer from a script and record what they were asked.
// Installed for its lifetime.
class TScriptedDialogs : public TDialogs {
public:
    TScriptedDialogs() { SetDialogs(this); }
    ~TScriptedDialogs() override { SetDialogs(nullptr); }

    struct TBox {
        QString Kind;
        QString Caption;
        QString Text;
    };

    void ShowErrorBox(QWidget*, const QString& caption, const QString& text) override
    {
        Boxes.push_back({QStringLiteral("error"), caption, text});
    }
    void ShowInformation(QWidget*, const QString& caption, const QString& text) override
    {
        Boxes.push_back({QStringLiteral("information"), caption, text});
    }
    TAnswer AskYesNoCancel(QWidget*, const QString& caption, const QString& text) override
    {
        Boxes.push_back({QStringLiteral("question"), caption, text});
        if (Answers.empty())
            return TAnswer::Cancel;
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    // Answers from the same script: Yes is Tak, anything else (or none) Nie.
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override
    {
        return AskYesNoCancel(parent, caption, text) == TAnswer::Yes;
    }
    std::optional<QString> OpenFileName(QWidget*) override { return Next(OpenNames, QStringLiteral("open")); }
    // The proposed name is the box's text.
    std::optional<QString> SaveFileName(QWidget*, const QString& proposedName) override
    {
        return Next(SaveNames, QStringLiteral("save"), proposedName);
    }
    std::optional<QString> RouteFileName(QWidget*) override { return Next(RouteNames, QStringLiteral("route")); }
    bool OpenLink(const QUrl& link) override
    {
        Boxes.push_back({QStringLiteral("link"), QString(), link.toString()});
        return LinksOpen;
    }
    std::optional<TExportChoice> ExportFileName(QWidget*) override
    {
        Boxes.push_back({QStringLiteral("export"), QString(), QString()});
        if (ExportChoices.empty())
            return std::nullopt;
        const TExportChoice choice = ExportChoices.front();
        ExportChoices.pop_front();
        return choice;
    }
    // The proposed size, unless Sizes says otherwise (empty: cancelled).
    std::optional<QSize> PictureSize(QWidget*, const QSize& proposed) override
    {
        Boxes.push_back(
            {QStringLiteral("size"), QString(), QStringLiteral("%1x%2").arg(proposed.width()).arg(proposed.height())});
        if (Sizes.empty())
            return proposed;
        const std::optional<QSize> size = Sizes.front();
        Sizes.pop_front();
        return size;
    }
    std::optional<TRunsChoice> RunsFileName(QWidget*, bool chart) override
    {
        Boxes.push_back({QStringLiteral("runs"), chart ? QStringLiteral("chart") : QStringLiteral("table"), QString()});
        if (RunsChoices.empty())
            return std::nullopt;
        const TRunsChoice choice = RunsChoices.front();
        RunsChoices.pop_front();
        return choice;
    }
    std::optional<QString> InputQuery(QWidget*, const QString& caption, const QString& prompt,
                                      const QString& defaultText) override
    {
        Boxes.push_back({QStringLiteral("input"), caption, prompt + QStringLiteral("|") + defaultText});
        if (Inputs.empty())
            return std::nullopt;
        const std::optional<QString> text = Inputs.front();
        Inputs.pop_front();
        return text;
    }

    int Count(const QString& kind) const
    {
        int count = 0;
        for (const TBox& box : Boxes)
            count += box.Kind == kind ? 1 : 0;
        return count;
    }

    std::deque<TAnswer> Answers;
    // An empty optional cancels the dialog.
    std::deque<std::optional<QString>> OpenNames;
    std::deque<std::optional<QString>> SaveNames;
    std::deque<std::optional<QString>> RouteNames;
    std::deque<std::optional<QString>> Inputs;
    std::deque<TExportChoice> ExportChoices;
    std::deque<std::optional<QSize>> Sizes;
    std::deque<TRunsChoice> RunsChoices;
    std::deque<TBox> Boxes;
    // Whether the desktop starts something for a link.
    bool LinksOpen = false;

private:
    std::optional<QString> Next(std::deque<std::optional<QString>>& names, const QString& kind,
                                const QString& text = {})
    {
        Boxes.push_back({kind, QString(), text});
        if (names.empty())
            return std::nullopt;
        const std::optional<QString> name = names.front();
        names.pop_front();
        return name;
    }
};
