#include "image/band.h"
