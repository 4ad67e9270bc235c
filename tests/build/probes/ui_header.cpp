// Must not compile in the model: a header of the windows.
#include "common/app_context.h"
