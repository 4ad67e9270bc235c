#include "common/clock.h"

#include <QTime>

namespace quillon {

int secondsOfDay()
{
    return (QTime::currentTime().msecsSinceStartOfDay() + 500) / 1000 % (24 * 60 * 60);
}

} // namespace quillon
