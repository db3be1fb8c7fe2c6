#pragma once
// What differs between Windows and the other systems in naming files and finding the program's folder. The
// rest of the program names files only through std::filesystem::path and passes their names around as UTF-8
// text; the two meet here. On Windows a path holds wide characters, and a narrow name given to
// std::filesystem::path or fopen is read in the ANSI code page, which cannot name a folder such as
// "D:\Проекты\Усилитель" on every machine; elsewhere a path holds the bytes of its name, UTF-8 by custom.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tallyform::model {

/// The path whose name is the UTF-8 text `utf8`. On Windows the text becomes the wide-character name; bytes
/// that are not UTF-8 are taken one by one as code page 1251 letters, which is how the program's own files
/// have always held names. Elsewhere the bytes stay as they are.
std::filesystem::path PathFromUtf8(std::string_view utf8);

/// The name of `path` as UTF-8 text, so that PathFromUtf8(Utf8FromPath(p)) == p. Elsewhere than on Windows
/// the bytes of the name are given as they are, whatever they are.
std::string Utf8FromPath(const std::filesystem::path& path);

/// The name of `path` as code page 1251 text, as messages and the document's "Файл" hold it: UTF-8 is
/// converted (a letter that code page 1251 lacks becomes '?'); other bytes are taken as they are.
std::string PathText(const std::filesystem::path& path);

/// std::fopen by path: `_wfopen` on Windows, so that any name opens. nullptr when the file cannot be opened.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

/// The environment variable `name` as a path; nullopt when it is unset or empty. On Windows the value is read
/// in wide characters.
std::optional<std::filesystem::path> EnvironmentPath(const char* name);

/// The folder the running program's executable is in; empty when it cannot be told.
std::filesystem::path ExecutableFolder();

/// The program's folder when $TALLYFORM_HOME is not set: on Windows the folder of the executable; elsewhere
/// $XDG_DATA_HOME/tallyform when that is an absolute path, otherwise ~/.local/share/tallyform, otherwise
/// ".tallyform" in the current folder.
std::filesystem::path DefaultProgramFolder();

}  // namespace tallyform::model
