#include "link/transfer_controller.h"
