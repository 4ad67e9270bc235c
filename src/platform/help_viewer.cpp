#include "help_viewer.h"

#include "i18n/texts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace quillon {

QString helpFilePath(int language)
{
    const QString name = language == kChinese ? QStringLiteral("Orvel.CHM") : QStringLiteral("OrvelE.CHM");
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

bool openHelpFile(int language)
{
    const QString path = helpFilePath(language);
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString userGuideHtml(int language)
{
    QFile file(language == kChinese ? QStringLiteral(":/help/guide_zh.html") : QStringLiteral(":/help/guide_en.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace quillon
