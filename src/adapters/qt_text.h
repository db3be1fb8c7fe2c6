#pragma once
// Code page 1251 text at the Qt edge.

#include <QString>
#include <string>
#include <string_view>

namespace tallyform::adapters {

/// The QString of a code page 1251 text.
QString ToQString(std::string_view cp1251);
/// The code page 1251 text of a QString; characters the code page lacks become "?".
std::string FromQString(const QString& s);

}  // namespace tallyform::adapters
