#include "features/calibration_window.h"
