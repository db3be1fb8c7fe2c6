#pragma once
// Synthetic P-CAD ASCII designs for benchmarks: a header, optional layout text that the readers skip, and a
// netlist of component blocks in P-CAD's own layout (code page 1251, CR LF by default). Deterministic for
// a given seed, so runs compare.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/literal.h"

namespace tallyform::bench {

struct DesignOptions {
  /// Component blocks in the netlist; about 170 bytes each.
  std::size_t components = 1000;
  /// Bytes of layout text (pattern definitions, pads, lines, texts) before the netlist.
  std::size_t padding_bytes = 0;
  /// One in this many resistors carries a value off its series (0: none).
  std::size_t off_series_every = 50;
  bool crlf = true;
  std::uint32_t seed = 1;
};

namespace detail {

// A small linear congruential generator: the same design on every platform.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next(std::uint32_t bound) {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) % bound;
  }

 private:
  std::uint32_t state_;
};

class Writer {
 public:
  explicit Writer(bool crlf) : eol_(crlf ? "\r\n" : "\n") {}
  void Line(std::string_view a, std::string_view b = {}, std::string_view c = {}, std::string_view d = {}) {
    out_.append(a).append(b).append(c).append(d).append(eol_);
  }
  std::string& out() { return out_; }

 private:
  std::string_view eol_;
  std::string out_;
};

}  // namespace detail

/// A whole design as its bytes.
inline std::string GenerateDesign(const DesignOptions& options) {
  using namespace tallyform::text::literals;
  detail::Lcg random(options.seed);
  detail::Writer w(options.crlf);
  w.out().reserve(options.components * 180 + options.padding_bytes + 4096);

  w.Line("ACCEL_ASCII \"D:\\Projects\\Generated\\board.pcb\"");
  w.Line("");
  w.Line("(asciiHeader ");
  w.Line("  (asciiVersion 3 0)");
  w.Line("  (timeStamp 2024 5 20 9 30 0)");
  w.Line("  (program \"P-CAD 2006 PCB\" \"19.02.9589\")");
  w.Line("  (fileAuthor \"", "Конструкторский отдел"_cp, "\")");
  w.Line("  (fileUnits mm)");
  w.Line(")");
  w.Line("");

  // Layout text: what fills most of a real board, and what the readers skip.
  w.Line("(library \"Library_1\"");
  std::size_t pattern = 0;
  const std::size_t padding_end = w.out().size() + options.padding_bytes;
  while (w.out().size() < padding_end) {
    const std::string number = std::to_string(pattern++);
    w.Line("  (patternDefExtended \"PAT_", number, "\"");
    w.Line("    (originalName \"PAT_", number, "\")");
    for (int pad = 1; pad <= 8 && w.out().size() < padding_end; ++pad) {
      const std::string x = std::to_string(random.Next(5000)) + "." + std::to_string(random.Next(100));
      w.Line("      (pad (padNum ", std::to_string(pad), ") (padStyleRef \"P:EX60Y60D35\") (pt ",
             x + " mm 0.0 mm))");
      w.Line("      (line (pt ", x, " mm 1.27 mm) (pt 0.0 mm 1.27 mm) (width 0.2 mm) )");
    }
    w.Line("      (attr \"RefDes\" \"\" (pt 0.0 mm 2.5 mm) (isVisible True) (textStyleRef \"(Default)\") )");
    w.Line("  )");
  }
  w.Line(")");
  w.Line("");

  static constexpr std::string_view kResistorValues[] = {"10k", "4k7", "1k",  "470",
                                                         "100", "22k", "1M5", "4R7"};
  static constexpr std::string_view kCapacitorValues[] = {"100",  "0,1",    "22p", "100n",
                                                          "4.7u", "0.1mkF", "1000"};
  w.Line("(netlist \"Netlist_1\"");
  w.Line("  (globalAttrs ");
  w.Line(
      "    (attr \"SilkscreenClearance\" \"12.0mil\" (textStyleRef \"(Default)\") (constraintUnits mil) )");
  w.Line("  )");
  std::size_t resistors = 0;
  std::size_t counters[10] = {};
  for (std::size_t i = 0; i < options.components; ++i) {
    const std::uint32_t kind = random.Next(10);
    // Numbered per kind letter, so that designators do not repeat.
    static constexpr int kCounter[10] = {0, 0, 0, 0, 1, 1, 1, 2, 3, 4};
    const std::string number = std::to_string(++counters[kCounter[kind]]);
    switch (kind) {
      case 0:
      case 1:
      case 2:
      case 3: {
        ++resistors;
        const bool off = options.off_series_every != 0 && resistors % options.off_series_every == 0;
        w.Line("  (compInst \"R", number, "\"");
        w.Line("    (compRef \"RES_1\")");
        w.Line("    (originalName \"", "С2-33Н-0,25-1 кОм-5%"_cp, "\")");
        w.Line("    (compValue \"", off ? "4k6" : kResistorValues[random.Next(8)], "\")");
        w.Line("    (patternName \"R0805\")");
        w.Line("    (attr \"", "ТУ\" \"ОЖО.467.093 ТУ"_cp, "\" )");
        break;
      }
      case 4:
      case 5:
      case 6:
        w.Line("  (compInst \"C", number, "\"");
        w.Line("    (compRef \"CAP_1\")");
        w.Line("    (originalName \"", "К10-17б-М47-5%"_cp, "\")");
        w.Line("    (compValue \"", kCapacitorValues[random.Next(7)], "\")");
        w.Line("    (patternName \"C0805\")");
        w.Line("    (attr \"", "ТУ\" \"ОЖО.460.107 ТУ"_cp, "\" )");
        break;
      case 7:
        w.Line("  (compInst \"DD", number, "\"");
        w.Line("    (compRef \"LOGIC_1\")");
        w.Line("    (originalName \"", "КР1533ЛА3"_cp, "\")");
        w.Line("    (patternName \"SO14\")");
        w.Line("    (attr \"", "ТУ\" \"бК0.347.364 ТУ"_cp, "\" )");
        break;
      case 8:
        w.Line("  (compInst \"VT", number, "\"");
        w.Line("    (compRef \"NPN_1\")");
        w.Line("    (originalName \"", "КТ3102ЕМ"_cp, "\")");
        w.Line("    (patternName \"TO-92\")");
        w.Line("    (attr \"", "Примечание\" \"Подбор по h21э"_cp, "\" )");
        break;
      default:
        w.Line("  (compInst \"XS", number, "\"");
        w.Line("    (compRef \"CONN_1\")");
        w.Line("    (originalName \"PLS-40\")");
        w.Line("    (patternName \"PLS-40\")");
        break;
    }
    w.Line("  )");
  }
  w.Line(")");
  w.Line("");
  w.Line("(pcbDesign \"PcbDesign_1\"");
  w.Line("  (pcbDesignHeader ");
  w.Line("    (workspaceSize 500.0 mm 500.0 mm)");
  w.Line("  )");
  w.Line(")");
  return std::move(w.out());
}

}  // namespace tallyform::bench
