#pragma once
// What poppler-utils (and fontconfig) tell about the PDF files the program writes and the faces it may
// draw them in. Tests that need the tools skip themselves when they are not installed.

#include <sys/wait.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tallyform::testing {

/// True when every one of the programs is on the PATH.
inline bool HaveTools(const std::vector<std::string>& programs) {
  std::string command = "true";
  for (const std::string& program : programs) command += " && command -v " + Quote(program);
  return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0;
}

/// True when fontconfig lists an installed face of the family (the programs' bundled face is not installed).
inline bool FontInstalled(const std::string& family) {
  return std::system(("fc-list " + Quote(family) + " family 2>/dev/null | grep -q .").c_str()) == 0;
}

/// The standard output of a shell command run in `home`, or nullopt when the command fails.
inline std::optional<std::string> ShellOutput(const TempFolder& home, const std::string& command) {
  const std::string out = (home / "shell-output.txt").string();
  const int raw = std::system(
      ("cd " + Quote(home.path().string()) + " && " + command + " >" + Quote(out) + " 2>/dev/null").c_str());
  if (!WIFEXITED(raw) || WEXITSTATUS(raw) != 0) return std::nullopt;
  return FileBytes(out);
}

/// The names of the fonts embedded in the PDF file (in `home`), as pdffonts lists them.
inline std::vector<std::string> EmbeddedFonts(const TempFolder& home, const std::string& pdf) {
  std::vector<std::string> names;
  const std::optional<std::string> listing = ShellOutput(home, "pdffonts " + Quote(pdf));
  if (!listing) return names;
  std::istringstream lines(*listing);
  std::string line;
  bool table = false;
  while (std::getline(lines, line)) {
    if (line.starts_with("---")) {
      table = true;
      continue;
    }
    if (!table) continue;
    // name, type (one or two words), encoding, emb, sub, uni, object number, generation
    std::istringstream words(line);
    std::vector<std::string> columns;
    for (std::string word; words >> word;) columns.push_back(word);
    if (columns.size() >= 7 && columns[columns.size() - 5] == "yes") names.push_back(columns.front());
  }
  return names;
}

/// The text of the PDF file (in `home`) as pdftotext extracts it, UTF-8; empty when it cannot.
inline std::string PdfText(const TempFolder& home, const std::string& pdf) {
  return ShellOutput(home, "pdftotext -enc UTF-8 " + Quote(pdf) + " -").value_or(std::string());
}

}  // namespace tallyform::testing
