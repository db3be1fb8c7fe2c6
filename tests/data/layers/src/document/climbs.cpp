// A document file that reaches the desktop program through the parent folder.
#include "../gui/services.h"
