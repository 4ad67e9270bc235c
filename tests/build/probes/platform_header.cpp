// Must not compile in the model: a header of the platform layer.
#include "serial_port.h"
