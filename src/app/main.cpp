#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    quillon::prepareApplication();
    // The context outlives the window, which refers to it to the end.
    quillon::AppContext context;
    quillon::SettingsStore settings;
    const auto window = quillon::startQuillon(context, settings);
    return app.exec();
}
