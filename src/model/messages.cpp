#include "model/messages.h"

namespace tallyform::model {

std::string DocumentMismatchQuestion() {
  return std::string(kDocumentMismatch) + "\r\n" + std::string(kShowReportQuestion);
}

std::string FileMismatchQuestion() {
  return std::string(kFileMismatch) + "\r\n" + std::string(kShowReportQuestion);
}

std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i, 2) == "\r\n") {
      ++i;
      continue;
    }
    line += text[i];
  }
  return line;
}

}  // namespace tallyform::model
