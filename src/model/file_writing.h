#pragma once
// Writing a whole file so that it is either the new file or the old one: every file the program writes
// (documents, the kinds file, the settings) goes through here.

#include <filesystem>
#include <string>
#include <string_view>

namespace tallyform::model {

/// Writes `bytes` into a temporary file beside `path` and renames it over `path`, so that a failure at any
/// point leaves the previous file (or no file) as it was. A link at `path` is followed: the file it names is
/// replaced, not the link. A file that cannot be written is tallyform::UnreadableFile with
/// CannotSaveMessage(path); the temporary file is removed then.
void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes);

/// "Не удалось сохранить файл PATH." in code page 1251.
std::string CannotSaveMessage(const std::filesystem::path& path);
/// "Не удалось открыть файл PATH." in code page 1251.
std::string CannotOpenMessage(const std::filesystem::path& path);

}  // namespace tallyform::model
