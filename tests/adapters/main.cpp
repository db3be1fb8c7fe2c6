// The adapter tests need fonts and a platform plugin: one QGuiApplication for the whole run.

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "adapters/sheet_font.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A private runtime folder, so that Qt neither warns nor shares one with the developer's session.
  const QTemporaryDir runtime;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid()) {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  }
  ::testing::InitGoogleTest(&argc, argv);
  const QGuiApplication app(argc, argv);
  tallyform::adapters::RegisterBundledFonts();
  return RUN_ALL_TESTS();
}
