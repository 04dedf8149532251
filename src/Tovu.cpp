#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tovu");
    QLabel placeholder("Tovu");
    placeholder.resize(636, 500);
    placeholder.show();
    return application.exec();
}
