#include <exception>

#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/map_window.h"

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    try {
        // Its creation loads the file named first on the command line.
        TMainForm mainForm(QCoreApplication::arguments());
        // Hidden until "Pokaż drogę na mapie"; the main window owns it.
        mainForm.AttachMapForm(new TMapForm(mainForm));
        mainForm.show();
        return application.exec();
    } catch (const std::exception& error) {
        TApplication::ShowException(QString::fromUtf8(error.what()));
    }
    return 1;
}
