#include "image/codecs.h"
