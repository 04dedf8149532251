// One main for every window test: the offscreen platform unless the caller
// chose another, the Polish regional settings the program's texts assume,
// and an application object for the widgets.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    // TOVU_TEST_QPA lets the same build run the window tests in a real X
    // server (scripts/test xcb), although CTest sets the offscreen platform.
    if (!qEnvironmentVariableIsEmpty("TOVU_TEST_QPA"))
        qputenv("QT_QPA_PLATFORM", qgetenv("TOVU_TEST_QPA"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
