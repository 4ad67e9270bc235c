#include "i18n/messages.h"
