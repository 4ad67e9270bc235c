#include "link/transfer_protocol.h"
