#pragma once
// Code page 1251 text and file names at the Qt edge.

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace tallyform::adapters {

/// The QString of a code page 1251 text.
QString ToQString(std::string_view cp1251);
/// The code page 1251 text of a QString; characters the code page lacks become "?".
std::string FromQString(const QString& s);

/// The QString of a file name (wide characters on Windows, the file system's encoding elsewhere).
QString PathToQString(const std::filesystem::path& path);
/// The file named by a QString, the inverse of PathToQString.
std::filesystem::path QStringToPath(const QString& path);

}  // namespace tallyform::adapters
