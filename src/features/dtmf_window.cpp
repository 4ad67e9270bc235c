#include "features/dtmf_window.h"
