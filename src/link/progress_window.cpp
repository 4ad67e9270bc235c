#include "link/progress_window.h"
