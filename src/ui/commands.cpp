#include "ui/commands.h"

#include <QAbstractButton>

TCommand::TCommand(const QString& name, QObject* parent) : QAction(parent)
{
    setObjectName(name);
    // Menus, tool buttons and shortcuts trigger the action only while it
    // looks enabled; the rule still has the last word.
    connect(this, &QAction::triggered, this, [this] { Execute(); });
}

void TCommand::Update()
{
    if (FRule)
        setEnabled(FRule());
}

bool TCommand::Execute()
{
    Update();
    if (!isEnabled())
        return false;
    if (FHandler)
        FHandler();
    return true;
}

void TCommandList::UpdateAll()
{
    for (TCommand* command : FCommands)
        command->Update();
}

void BindButton(QAbstractButton* button, TCommand* command)
{
    button->setEnabled(command->isEnabled());
    button->setStatusTip(command->statusTip());
    if (!command->statusTip().isEmpty())
        button->setToolTip(command->statusTip());
    QObject::connect(command, &QAction::enabledChanged, button, &QWidget::setEnabled);
    QObject::connect(button, &QAbstractButton::clicked, command, [command] { command->Execute(); });
}
