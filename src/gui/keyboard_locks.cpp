#include "gui/keyboard_locks.h"

#include <QGuiApplication>

#if defined(TALLYFORM_HAVE_XKB)
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace tallyform::gui {

#if defined(TALLYFORM_HAVE_XKB) && QT_CONFIG(xcb)

namespace {

// One indicator by its name in the keyboard map; off when the map has no such indicator.
bool Indicator(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);
  if (atom == None) return false;
  Bool on = False;
  if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return false;
  return on == True;
}

}  // namespace

std::optional<LockStates> QueryLockStates() {
  const auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) return std::nullopt;
  return LockStates{Indicator(display, "Caps Lock"), Indicator(display, "Num Lock"),
                    Indicator(display, "Scroll Lock")};
}

#else

std::optional<LockStates> QueryLockStates() {
  return std::nullopt;
}

#endif

}  // namespace tallyform::gui
