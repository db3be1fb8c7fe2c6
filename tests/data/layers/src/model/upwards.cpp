// Qt in the core.
#include <QString>
#include "presentation/sheet_view.h"
