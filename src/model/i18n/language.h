#pragma once

#include <QString>

namespace quillon {

// The language every visible text is shown in. The numbers are the stored
// language index: 0 Chinese, 1 English.
enum class Language { Chinese = 0, English = 1 };

constexpr int languageIndex(Language language) { return static_cast<int>(language); }

// A text in both languages (the same text twice where it does not change).
// Sources are UTF-8.
struct Bilingual {
    QString zh;
    QString en;

    Bilingual() = default;
    Bilingual(const char *chinese, const char *english)
        : zh(QString::fromUtf8(chinese)), en(QString::fromUtf8(english)) {}
    Bilingual(QString chinese, QString english) : zh(std::move(chinese)), en(std::move(english)) {}
    // A text that reads the same in both languages.
    static Bilingual same(const QString &text) { return {text, text}; }

    const QString &text(Language language) const { return language == Language::Chinese ? zh : en; }
    bool operator==(const Bilingual &other) const = default;
};

} // namespace quillon
