#include "files/dat_file.h"
