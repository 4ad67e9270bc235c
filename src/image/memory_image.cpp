#include "image/memory_image.h"
