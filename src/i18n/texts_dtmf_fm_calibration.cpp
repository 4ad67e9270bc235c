#include "i18n/texts.h"
