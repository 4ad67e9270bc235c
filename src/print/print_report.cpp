#include "print/print_report.h"
