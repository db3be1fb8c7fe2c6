#pragma once
// The design link the programs use: P-CAD's own library where P-CAD runs (Windows), the design server over
// P-CAD ASCII files everywhere else.

#include <memory>

#include "ports/dbx.h"

namespace tallyform::pcad {

/// A new design link of this platform. On Windows P-CAD's library is looked for as the system looks for
/// libraries (P-CAD's folder on the path); without it every call answers that there is no connection.
std::unique_ptr<ports::Dbx> MakeDesignLink();

}  // namespace tallyform::pcad
