#include "gui/error_boundary.h"

#include <QString>
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "adapters/qt_text.h"
#include "model/errors.h"
#include "ports/prompts.h"
#include "text/literal.h"

namespace tallyform::gui {
namespace {

using namespace tallyform::text::literals;

void Tell(const std::function<void(const std::string&)>& tell, const std::string& message) noexcept {
  try {
    tell(message);
  } catch (const std::exception& e) {
    // Nothing is left to show it with; the terminal may still hear of it.
    std::fprintf(stderr, "tallyform: %s (%s)\n", e.what(), message.c_str());
  }
}

}  // namespace

bool Guard(const std::function<void(const std::string&)>& tell, const std::function<void()>& work) noexcept {
  try {
    work();
    return true;
  } catch (const Error& e) {
    Tell(tell, e.message());
  } catch (const std::bad_alloc&) {
    Tell(tell, std::string("Недостаточно памяти."_cp));
  } catch (const std::exception& e) {
    Tell(tell, adapters::FromQString(QString::fromLocal8Bit(e.what())));
  }
  return false;
}

bool Guard(ports::Prompts& prompts, const std::function<void()>& work) noexcept {
  return Guard([&prompts](const std::string& message) { prompts.ErrorMessage(message); }, work);
}

}  // namespace tallyform::gui
