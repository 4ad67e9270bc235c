#include "features/features_window.h"
