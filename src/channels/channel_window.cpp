#include "channels/channel_window.h"
