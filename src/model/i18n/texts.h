#pragma once

#include <QList>
#include <QString>

namespace quillon {

inline constexpr int kChinese = 0;
inline constexpr int kEnglish = 1;

// A text in both languages; sources are UTF-8.
struct Bilingual {
    const char *zh;
    const char *en;
    QString text(int language) const { return QString::fromUtf8(language == kChinese ? zh : en); }
};

// What a row of a window's language table sets.
enum class TextRole {
    WindowTitle,   // the window caption (control is empty)
    Caption,       // label, button, check box, frame, menu item caption
    ListEntry,     // entry `index` of a selection list
    Header,        // header of grid column `index`
    ToolTip,       // tool tip of toolbar button number `index` (1-based)
    Tab,           // caption of tab `index`
};

// One row of the language table. Control arrays are addressed by element:
// the widget's objectName is control + "_" + element (for example "Combo5_5",
// "Slider1_3"); element -1 means a plain control.
struct TextRow {
    QString control;
    int element = -1;
    TextRole role = TextRole::Caption;
    int index = 0;
    QString zh;
    QString en;

    QString objectName() const { return element < 0 ? control : control + u'_' + QString::number(element); }
    QString text(int language) const { return language == kChinese ? zh : en; }
};
using TextTable = QList<TextRow>;

// The language tables of every window, rows in the order they are applied.
TextTable mainWindowTexts();        // MDIForm1
TextTable channelWindowTexts();     // Form1
TextTable dtmfWindowTexts();        // Form2
TextTable featuresWindowTexts();    // Form3
TextTable calibrationWindowTexts(); // Form4
TextTable fmWindowTexts();          // Form5
TextTable aboutBoxTexts();          // FrmAbout

} // namespace quillon
