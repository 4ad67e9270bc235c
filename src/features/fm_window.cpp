#include "features/fm_window.h"
