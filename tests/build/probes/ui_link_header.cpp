// Must not compile in the model: the transfer controller lives with the windows.
#include "link/transfer_controller.h"
