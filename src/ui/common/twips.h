#pragma once

class QWidget;

namespace quillon {

// The windows' geometry is designed in twips, 1440 to the inch (15 to a
// pixel at 96 dots per inch). These give the pixels of a length in twips on
// the widget's screen, across and down.
inline constexpr int kTwipsPerInch = 1440;
int pixelsAcross(const QWidget *widget, int twips);
int pixelsDown(const QWidget *widget, int twips);

} // namespace quillon
