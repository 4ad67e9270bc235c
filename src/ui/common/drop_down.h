#pragma once

class QComboBox;

namespace quillon {

// About this many entries of a long list are seen at once; the rest scroll.
inline constexpr int kDropDownRows = 20;

// Makes the list drop down under its box as a scrolling list of at most
// kDropDownRows entries. Styles that drop a list down as a menu over the box
// ignore the row count and grow it to the screen's height, which for the
// 265 tones is a wall of entries reaching off the screen.
void dropDownUnderBox(QComboBox *list);

// dropDownUnderBox for a list with more entries than kDropDownRows; a short
// list keeps the style's own drop-down.
void limitLongDropDown(QComboBox *list);

} // namespace quillon
