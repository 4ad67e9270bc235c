#include "shell/startup.h"

#include "i18n/texts.h"
#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/toolbar_icons.h"

#include <QApplication>
#include <QFont>

namespace quillon {

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setWindowIcon(glyphIcon(Glyph::Logo));
    // SimSun where it is installed, a CJK font of the system otherwise.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans CJK"),
                      font.family()});
    QApplication::setFont(font);
}

std::unique_ptr<MainWindow> startQuillon(AppContext &context, SettingsStore &settings)
{
    // The calibration defaults are set by the store itself when the
    // workspace is made; any stored language but Chinese starts in English.
    context.document().setLanguage(settings.readLanguage());
    auto window = std::make_unique<MainWindow>(context, &settings);
    window->show();
    window->applyLanguage();
    return window;
}

} // namespace quillon
