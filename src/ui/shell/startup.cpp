#include "shell/startup.h"

#include "settings_store.h"
#include "common/app_context.h"
#include "shell/main_window.h"
#include "shell/toolbar_icons.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace quillon {

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setWindowIcon(glyphIcon(Glyph::Logo));
}

void applyApplicationFont(Language language)
{
    // The face the system resolves its default to, taken before the first
    // change: a family list that names only missing faces would fall back
    // on the first name's look-alike instead (a serif for SimSun).
    static const QString systemFamily = QFontInfo(QApplication::font()).family();
    static const bool haveSimSun = QFontDatabase::hasFamily(QStringLiteral("SimSun"));
    QStringList families;
    if (haveSimSun)
        families << QStringLiteral("SimSun");
    else if (language == Language::Chinese)
        families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Source Han Sans SC")
                 << QStringLiteral("WenQuanYi Zen Hei") << QStringLiteral("Microsoft YaHei");
    families << systemFamily;
    QFont font = QApplication::font();
    if (font.families() == families)
        return;
    font.setFamilies(families);
    QApplication::setFont(font);
}

std::unique_ptr<MainWindow> startQuillon(AppContext &context, SettingsStore &settings)
{
    // The calibration defaults are set by the store itself when the
    // workspace is made; any stored language but Chinese starts in English.
    context.document().setLanguage(settings.readLanguage());
    applyApplicationFont(context.language());
    auto window = std::make_unique<MainWindow>(context, &settings);
    window->show();
    window->applyLanguage();
    return window;
}

} // namespace quillon
