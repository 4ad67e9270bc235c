#include "settings_store.h"

#include <QSettings>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quillon {

namespace {

constexpr const char *kValueName = "BinaryValue";

#ifdef Q_OS_WIN
// QSettings would store a QByteArray as text; the value must be the plain
// four bytes [language, 0, 0, 0] that other readers of the key expect.
QVariant readRegistryValue()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Lumbra", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    QVariant result;
    if (RegQueryValueExW(key, L"BinaryValue", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0
        && size < 4096) {
        QByteArray data(static_cast<qsizetype>(size), '\0');
        if (RegQueryValueExW(key, L"BinaryValue", nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size)
            == ERROR_SUCCESS) {
            data.resize(static_cast<qsizetype>(size));
            if (type == REG_BINARY)
                result = data;
            else if (type == REG_SZ)
                result = QString::fromWCharArray(reinterpret_cast<const wchar_t *>(data.constData()),
                                                 data.size() / qsizetype(sizeof(wchar_t)));
        }
    }
    RegCloseKey(key);
    return result;
}

void writeRegistryValue(const QByteArray &data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Lumbra", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"BinaryValue", 0, REG_BINARY, reinterpret_cast<const BYTE *>(data.constData()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}
#else
std::unique_ptr<QSettings> openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lumbra"));
}
#endif

} // namespace

QString SettingsStore::readSetting() const
{
#ifdef Q_OS_WIN
    return textOfStoredValue(readRegistryValue());
#else
    const auto settings = openSettings();
    if (settings->status() != QSettings::NoError)
        return {};
    return textOfStoredValue(settings->value(QLatin1String(kValueName)));
#endif
}

void SettingsStore::writeSetting(Language language)
{
    QByteArray data(4, '\0');
    data[0] = static_cast<char>(languageIndex(language));
#ifdef Q_OS_WIN
    writeRegistryValue(data);
#else
    const auto settings = openSettings();
    settings->setValue(QLatin1String(kValueName), data);
    settings->sync();
#endif
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
