#pragma once

#include <optional>

class QCoreApplication;

// What the program does before its windows open.

// Answers -h/--help and -v/--version on standard output without opening a
// window, so also where there is no display: the exit status then, nothing
// when the command line asks for the window. Any other argument is left to
// the window (the first one names the point set).
std::optional<int> AnswerInformationOptions(int argc, char* argv[]);

// Loads Qt's own Polish texts (qtbase_pl) whatever the user's locale, so
// that Qt's file dialogs, their overwrite question and the edit fields' menus
// speak Polish like the rest of the program. False when they are missing.
bool LoadQtTranslation(QCoreApplication& application);

// The window icon: the hicolor theme's "tovu", or the one built in; and the
// desktop entry the windows belong to (tovu.desktop).
void SetDesktopIdentity();
