#include "i18n/qt_language.h"

#include <QAction>
#include <QApplication>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTranslator>

namespace quillon {

namespace {

// Qt's catalogues whose texts reach the user: the widgets, dialogs and
// printing, and the serial port's own reasons.
constexpr const char *kCatalogues[] = {"qtbase_zh_CN", "qtserialport_zh_CN"};
// Marks our translators among the application's children.
constexpr const char *kTranslatorName = "QuillonQtChinese";

// A frame takes the texts of its system menu when it is made and Qt never
// sets them again, so a switch sets them: Qt's own source texts, in the
// frame's own translation context.
constexpr const char *kFrameContext = "QMdiSubWindow";
constexpr const char *kFrameMenuTexts[] = {"&Restore", "&Move",        "&Size", "Mi&nimize",
                                           "Ma&ximize", "Stay on &Top", "&Close"};
// The property on a system-menu item that keeps which source text it shows.
constexpr const char *kSourceProperty = "quillonQtSourceText";

QList<QTranslator *> installedTranslators()
{
    return qApp->findChildren<QTranslator *>(QLatin1String(kTranslatorName), Qt::FindDirectChildrenOnly);
}

QList<QAction *> frameMenuItems()
{
    QList<QAction *> items;
    for (QWidget *widget : QApplication::allWidgets()) {
        auto *frame = qobject_cast<QMdiSubWindow *>(widget);
        if (QMenu *menu = frame ? frame->systemMenu() : nullptr)
            items << menu->actions();
    }
    return items;
}

// Notes on every item which source text it shows, while the translation it
// was made with is still the one installed.
void noteSourceTexts(const QList<QAction *> &items)
{
    for (QAction *item : items) {
        if (item->isSeparator() || item->property(kSourceProperty).isValid())
            continue;
        for (const char *source : kFrameMenuTexts) {
            if (item->text() == QLatin1String(source) || item->text() == QCoreApplication::translate(kFrameContext, source)) {
                item->setProperty(kSourceProperty, QByteArray(source));
                break;
            }
        }
    }
}

void retranslate(const QList<QAction *> &items)
{
    for (QAction *item : items) {
        const QByteArray source = item->property(kSourceProperty).toByteArray();
        if (!source.isEmpty())
            item->setText(QCoreApplication::translate(kFrameContext, source.constData()));
    }
}

} // namespace

bool qtSpeaksChinese()
{
    return qApp && !installedTranslators().isEmpty();
}

void applyQtLanguage(Language language)
{
    if (!qApp)
        return;
    const bool chinese = language == Language::Chinese;
    if (chinese == qtSpeaksChinese())
        return;
    const QList<QAction *> items = frameMenuItems();
    noteSourceTexts(items);
    if (chinese) {
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        for (const char *catalogue : kCatalogues) {
            auto *translator = new QTranslator(qApp);
            translator->setObjectName(QLatin1String(kTranslatorName));
            if (translator->load(QLatin1String(catalogue), folder))
                QCoreApplication::installTranslator(translator);
            else
                delete translator;
        }
    } else {
        for (QTranslator *translator : installedTranslators()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    retranslate(items);
}

} // namespace quillon
