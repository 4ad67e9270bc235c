#include "common/twips.h"

#include <QWidget>

namespace quillon {

int pixelsAcross(const QWidget *widget, int twips)
{
    return qRound(double(twips) * widget->logicalDpiX() / kTwipsPerInch);
}

int pixelsDown(const QWidget *widget, int twips)
{
    return qRound(double(twips) * widget->logicalDpiY() / kTwipsPerInch);
}

} // namespace quillon
