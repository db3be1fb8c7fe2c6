#include "gui/desktop.h"

int main(int argc, char** argv) {
  return tallyform::gui::RunDesktop(argc, argv);
}
