#include "help_viewer.h"

#include "i18n/texts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace quillon {

QString helpFilePath(Language language)
{
    const QString name = language == Language::Chinese ? QStringLiteral("Orvel.CHM") : QStringLiteral("OrvelE.CHM");
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

bool openHelpFile(Language language)
{
    const QString path = helpFilePath(language);
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString userGuideHtml(Language language)
{
    QFile file(language == Language::Chinese ? QStringLiteral(":/help/guide_zh.html") : QStringLiteral(":/help/guide_en.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace quillon
