#include "files/file_commands.h"
