#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    if (quillon::answersWithoutWindow(argc, argv)) {
        QCoreApplication app(argc, argv);
        quillon::startOptionsFromCommandLine(QCoreApplication::arguments());   // prints and ends
    }
    QApplication app(argc, argv);
    quillon::prepareApplication();
    const quillon::StartOptions options = quillon::startOptionsFromCommandLine(QApplication::arguments());
    // The context outlives the window, which refers to it to the end.
    quillon::AppContext context;
    quillon::SettingsStore settings;
    const auto window = quillon::startQuillon(context, settings, options);
    return app.exec();
}
