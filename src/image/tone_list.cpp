#include "image/tone_list.h"
