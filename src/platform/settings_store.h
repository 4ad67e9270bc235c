#pragma once

#include "i18n/language.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace quillon {

// What outlives the program: the user's language and the recent files.
// Windows: HKEY_CURRENT_USER\Lumbra, value BinaryValue, REG_BINARY of four
// bytes [language, 0, 0, 0], and beside it RecentFiles, REG_MULTI_SZ.
// Elsewhere the same values under the same names in the user's
// configuration folder ($XDG_CONFIG_HOME/Lumbra.conf).
class SettingsStore {
public:
    // The stored value as text: a binary value gives its first two bytes as
    // a little-endian number in decimal, a string value is cut at its first
    // NUL. Empty when the value is missing, of another type or unreadable.
    QString readSetting() const;
    // Stores language as the four-byte binary value. Failures are silent:
    // the worst outcome is the next start in the default language.
    void writeSetting(Language language);

    // The recent files as stored, newest first; empty when nothing is stored.
    QStringList readRecentFiles() const;
    // Failures are silent, as for the language.
    void writeRecentFiles(const QStringList &paths);

    // The language to start in (see languageFromStoredText): any stored
    // number other than Chinese's 0 starts in English.
    Language readLanguage() const
    {
        return languageFromStoredText(readSetting()) == languageIndex(Language::Chinese) ? Language::Chinese
                                                                                         : Language::English;
    }

    // Decides the start language from the stored text: empty means English
    // (1); otherwise the value of the text's last hexadecimal digit ("0"
    // Chinese, "1" English; values above 1 are turned into English later).
    // A last character that is no hexadecimal digit counts as unreadable.
    static int languageFromStoredText(const QString &text);
    // The text readSetting makes of a value as the settings back end returns it.
    static QString textOfStoredValue(const QVariant &value);
};

} // namespace quillon
