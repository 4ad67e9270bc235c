#include "settings_store.h"

#include <QSettings>

#include <memory>

#ifdef Q_OS_WIN
#include <string>
#include <windows.h>
#endif

namespace quillon {

namespace {

constexpr const char *kValueName = "BinaryValue";
constexpr const char *kRecentFilesName = "RecentFiles";

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

void writeRegistryValue(const wchar_t *name, DWORD type, const void *data, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Lumbra", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(key);
}

// RecentFiles: one path per NUL-terminated string, an empty string at the end.
QStringList readRegistryList()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Lumbra", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    QStringList result;
    if (RegQueryValueExW(key, L"RecentFiles", nullptr, &type, nullptr, &size) == ERROR_SUCCESS
        && type == REG_MULTI_SZ && size > 0 && size < 65536) {
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        if (RegQueryValueExW(key, L"RecentFiles", nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size)
            == ERROR_SUCCESS)
            result = QString::fromStdWString(data.substr(0, size / sizeof(wchar_t)))
                         .split(QChar(u'\0'), Qt::SkipEmptyParts);
    }
    RegCloseKey(key);
    return result;
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
    writeRegistryValue(L"BinaryValue", REG_BINARY, data.constData(), static_cast<DWORD>(data.size()));
#else
    const auto settings = openSettings();
    settings->setValue(QLatin1String(kValueName), data);
    settings->sync();
#endif
}

QStringList SettingsStore::readRecentFiles() const
{
#ifdef Q_OS_WIN
    return readRegistryList();
#else
    const auto settings = openSettings();
    if (settings->status() != QSettings::NoError)
        return {};
    return settings->value(QLatin1String(kRecentFilesName)).toStringList();
#endif
}

void SettingsStore::writeRecentFiles(const QStringList &paths)
{
#ifdef Q_OS_WIN
    std::wstring data;
    for (const QString &path : paths) {
        data += path.toStdWString();
        data.push_back(L'\0');
    }
    data.push_back(L'\0');
    writeRegistryValue(L"RecentFiles", REG_MULTI_SZ, data.c_str(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
#else
    const auto settings = openSettings();
    settings->setValue(QLatin1String(kRecentFilesName), paths);
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
