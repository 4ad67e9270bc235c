#include "platform/serial_port.h"
