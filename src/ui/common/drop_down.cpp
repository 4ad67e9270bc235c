#include "common/drop_down.h"

#include <QComboBox>

namespace quillon {

void dropDownUnderBox(QComboBox *list)
{
    list->setMaxVisibleItems(kDropDownRows);
    // The style sheet only turns the menu-like drop-down off; the box is
    // drawn by the style as before.
    list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
}

void limitLongDropDown(QComboBox *list)
{
    if (list->count() > kDropDownRows)
        dropDownUnderBox(list);
}

} // namespace quillon
