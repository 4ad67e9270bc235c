// Compiles: a model header and Qt Core.
#include "image/codecs.h"

#include <QtCore/QString>

QString probeAllowed() { return quillon::hex2(0x0A); }
