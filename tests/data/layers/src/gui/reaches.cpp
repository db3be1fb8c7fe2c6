// The desktop program including the value check itself.
#include "valuecheck/value_check.h"
