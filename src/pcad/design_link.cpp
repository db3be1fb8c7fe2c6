#include "pcad/design_link.h"

#include "pcad/dbx_library.h"
#include "pcad/design_server.h"

namespace tallyform::pcad {

std::unique_ptr<ports::Dbx> MakeDesignLink() {
#ifdef _WIN32
  return std::make_unique<DbxLibrary>(LoadDbxLibrary(L"Dbx32.dll"));
#else
  return std::make_unique<DesignServer>();
#endif
}

}  // namespace tallyform::pcad
