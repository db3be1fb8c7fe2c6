// Opens any input as a document file. A damaged input must end in tallyform::Error; a document that opens
// must save to bytes that open again with every sheet it had. Any other exception, a crash, a hang or a
// runaway allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/document.h"
#include "model/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tallyform::document::Document;
  try {
    Document doc = Document::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const tallyform::document::HistoryRecord record{"f", "e", "01.01.2026 00:00:00", "c", "u"};
    try {
      const Document again = Document::FromBytes(doc.ToBytes(record));
      if (again.sheets().sheet_count() != doc.sheets().sheet_count()) std::abort();
    } catch (const tallyform::Error&) {
      std::abort();  // what we wrote must open
    }
  } catch (const tallyform::Error&) {
  }
  return 0;
}
