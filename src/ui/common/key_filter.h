#pragma once

#include <QChar>
#include <QObject>

#include <functional>
#include <optional>

namespace quillon {

// Filters the characters typed into the text boxes it is installed on: each
// printable key goes through the rule, which may drop it or replace it (a
// lower-case letter by its capital). Editing keys (Backspace, arrows,
// shortcuts) pass untouched.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    using Rule = std::function<std::optional<QChar>(QChar)>;

    KeyFilter(Rule rule, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Rule m_rule;
};

} // namespace quillon
