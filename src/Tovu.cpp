#include <exception>
#include <optional>

#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/start_up.h"

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = AnswerInformationOptions(argc, argv))
        return *status;
    TApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    LoadQtTranslation(application);
    SetDesktopIdentity();
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
