#pragma once

#include "features/optional_features.h"

#include <QChar>
#include <QString>

#include <optional>

// What each text field of the program accepts. One rule per field, applied
// alike to a typed key, a paste, a drop and an input method's commit: the
// widgets hand every change of a field's text to applyInput.
namespace quillon {

enum class InputRule {
    ChannelFrequency,   // the grid's frequency editor: digits and "."
    ChannelName,        // the grid's name editor: lower case raised, then codes 0x23..0x7A
    DtmfCode,           // DTMF codes: lower case raised, then 0-9, A-D, * and #
    FmFrequency,        // FM frequencies: digits and "."
    ChannelNumber,      // priority and present channel: digits, never above 128
    Digits,             // the power-on password
    DisplayText,        // the power-on text: lower case raised, then 0-9, A-Z, *, # and -
    VfoFrequency,       // VFO frequency and offset: digits and "."
};

// The character a typed character becomes in a field of the rule, or
// nullopt when the field drops it. Backspace, an editing key, always passes.
std::optional<QChar> acceptInputCharacter(InputRule rule, QChar typed);

// The rule of a text field of the optional-features window (its typing
// limit is the field's maxLength); nullopt for lists and check boxes.
std::optional<InputRule> featureInputRule(Feature id);

struct InputResult {
    QString text;
    int cursor = 0;
};

// The text a field keeps after an edit turned `before` into `after`, with
// the cursor where the edit left it. The inserted characters pass the rule
// one by one (control characters never do), then the insertion is cut so
// that the text holds at most `limit` characters (0: no limit). Removing
// characters is always allowed.
InputResult applyInput(InputRule rule, int limit, const QString &before, const QString &after, int cursor);

} // namespace quillon
