#pragma once

#include "i18n/language.h"

#include <QList>
#include <QString>

namespace quillon {

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
    Bilingual text;

    QString objectName() const { return element < 0 ? control : control + u'_' + QString::number(element); }
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
// FrmWriting while reading (writing false) or writing: caption and Label1.
TextTable progressWindowTexts(bool writing);

} // namespace quillon
