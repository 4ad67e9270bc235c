#include "platform/settings_store.h"

#include <QSettings>

#include <memory>

namespace quillon {

namespace {

constexpr const char *kValueName = "BinaryValue";

std::unique_ptr<QSettings> openSettings()
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Lumbra"), QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lumbra"));
#endif
}

} // namespace

QString SettingsStore::readSetting() const
{
    const auto settings = openSettings();
    if (settings->status() != QSettings::NoError)
        return {};
    return textOfStoredValue(settings->value(QLatin1String(kValueName)));
}

void SettingsStore::writeSetting(int language)
{
    const auto settings = openSettings();
    QByteArray data(4, '\0');
    data[0] = static_cast<char>(language & 0xFF);
    settings->setValue(QLatin1String(kValueName), data);
    settings->sync();
}

QString SettingsStore::textOfStoredValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray data = value.toByteArray();
        if (data.isEmpty())
            return {};
        int number = static_cast<unsigned char>(data.at(0));
        if (data.size() > 1)
            number |= static_cast<unsigned char>(data.at(1)) << 8;
        return QString::number(number);
    }
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
#ifdef Q_OS_WIN
        // The registry back end hands a binary value over as UTF-16 text:
        // its first character holds the first two bytes.
        if (!text.isEmpty() && !text.at(0).isPrint())
            return QString::number(text.at(0).unicode());
#endif
        const qsizetype nul = text.indexOf(QChar(u'\0'));
        return nul < 0 ? text : text.left(nul);
    }
    return {};
}

int SettingsStore::languageFromStoredText(const QString &text)
{
    if (text.isEmpty())
        return 1;
    bool ok = false;
    const int digit = text.right(1).toInt(&ok, 16);
    return ok ? digit : 1;
}

} // namespace quillon
