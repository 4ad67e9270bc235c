#pragma once

#include "document/input_rules.h"

#include <QLineEdit>

namespace quillon {

// A text field that holds to its input rule whatever way the text arrives:
// typed keys, a paste (keyboard, context menu, middle button), a drop or an
// input method's commit all go through applyInput with the field's typing
// limit. A text the program places into the field (a decoded value, the
// result of a check) is shown whole, however long.
class RuledLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // limit: the most characters the user can type (0: no limit).
    RuledLineEdit(InputRule rule, int limit, QWidget *parent = nullptr);

    InputRule rule() const { return m_rule; }
    int typingLimit() const { return m_limit; }

    // Shows a text placed by the program; afterwards the field counts as not
    // edited until the user changes it.
    void place(const QString &text);
    // The user changed the text since it was last placed.
    bool isEdited() const { return text() != m_placed; }
    // What was last placed.
    const QString &placedText() const { return m_placed; }

signals:
    // The user changed the text, after the rule: a typed key, a paste, a
    // drop or an input method's commit.
    void ruledTextEdited(const QString &text);

protected:
    bool event(QEvent *event) override;

private:
    void onTextChanged(const QString &text);
    void onTextEdited(const QString &text);
    void showLimit();

    InputRule m_rule;
    int m_limit;
    QString m_placed;
    QString m_current;    // the text after the latest change
    QString m_previous;   // and before it
    bool m_applying = false;
    bool m_lifted = false;
};

} // namespace quillon
