#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QAbstractButton;

// A command: a QAction with an execute handler and an optional enabling
// rule. The toolkit's own enabled state is only a picture of the rule: it
// can be stale between idle moments, so every way of running the command
// (menu, tool button, shortcut, code) goes through Execute, which asks the
// rule again and does nothing when it says no.
class TCommand : public QAction {
    Q_OBJECT

public:
    using THandler = std::function<void()>;
    using TRule = std::function<bool()>;

    TCommand(const QString& name, QObject* parent);

    void SetHandler(THandler handler) { FHandler = std::move(handler); }
    // No rule: always enabled.
    void SetRule(TRule rule) { FRule = std::move(rule); }

    // Re-evaluates the rule into the enabled state.
    void Update();
    // The one way in: re-runs the rule, then the handler if the command is
    // enabled. Returns whether the handler ran.
    bool Execute();

private:
    THandler FHandler;
    TRule FRule;
};

// The commands of one window, updated together at idle moments.
class TCommandList : public QObject {
    Q_OBJECT

public:
    explicit TCommandList(QObject* parent) : QObject(parent) {}

    void Add(TCommand* command) { FCommands.append(command); }
    void UpdateAll();

private:
    QList<TCommand*> FCommands;
};

// A push button that runs a command and shows its enabled state; the
// caption is the button's own (the stop button reads "Przerwij").
void BindButton(QAbstractButton* button, TCommand* command);
