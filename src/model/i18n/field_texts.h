#pragma once

#include "i18n/language.h"

#include <QList>
#include <QString>
#include <QStringList>

// The texts of the values the stores hold: the channel grid's option lists,
// the Off entry of the tone list and the captions and list items of the
// optional-features window. The stores and the language tables both take
// them from here, so a cell and its list can never disagree about a text.
namespace quillon {

// The Off entry (position 0) of every tone list.
const Bilingual &toneOffText();

// The option lists of the channel grid's columns 5..10 (power, busy-channel
// lock, scan add, bandwidth, transmit prohibit, scramble). A position in a
// list is the value stored in the channel's flag byte.
// Number of entries of the list of column (3 for power, 2 for the others,
// 0 for a column without a list).
int channelOptionCount(int column);
// Entry index of the list of column in the language; empty when the list
// has no such entry (the power value 3 shows an empty cell).
QString channelOptionText(int column, int index, Language language);
// What a new channel's cell of option column 5..10 reads: the list's entry 1,
// except that the English bandwidth reads "Wide" where the list says "wide".
QString newChannelOptionText(int column, Language language);

// The FM radio's step list: 50K, 100K, 200K.
QStringList fmStepTexts();

// The texts of one field of the optional-features window.
struct FeatureTexts {
    QString control;           // the field ("Combo1", "Text20", "Check13")
    QString label;             // its caption label ("Label1"); empty for check boxes
    Bilingual caption;         // of the label, or of the check box itself
    QList<Bilingual> items;    // list entries, index 0 first; a tone list has only its Off entry
};
// Every field of the window in the window's order.
const QList<FeatureTexts> &featureTexts();
// The texts of the field whose control is named so; nullptr for none.
const FeatureTexts *featureTextsOf(const QString &control);

enum class FeaturesArea { FunctionPage, VfoPage, VoxFrame };
// Captions of the two pages and of the VOX frame ("Function Set", "VFO", "VOX").
const Bilingual &featuresAreaTitle(FeaturesArea area);
const Bilingual &featuresWindowTitle();

} // namespace quillon
