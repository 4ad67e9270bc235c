#pragma once

#include "i18n/texts.h"

class QWidget;

namespace quillon {

// Sets every row of table on the controls below root (found by objectName),
// in table order. A row naming a control array without an element sets
// every element of it. List entries are replaced in place: lists are neither
// cleared nor lengthened, and selections stay where they are.
// Handles window titles, labels, buttons, check boxes, group boxes, menu and
// toolbar actions, combo box entries, table headers, tab captions and
// tool tips. Returns the number of rows whose control was not found.
int applyTextTable(QWidget *root, const TextTable &table, Language language);

} // namespace quillon
