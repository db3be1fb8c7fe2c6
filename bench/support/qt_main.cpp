// main() of the benchmarks that measure or draw text: they need the font database of a QGuiApplication,
// on the offscreen platform, so no display is needed.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "adapters/sheet_font.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  const QGuiApplication app(argc, argv);
  tallyform::adapters::RegisterBundledFonts();  // before the clock runs
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
