#include "model/file_writing.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>

#include "model/errors.h"
#include "model/platform.h"
#include "text/literal.h"

namespace tallyform::model {
namespace {

using namespace tallyform::text::literals;

// A name beside the target that no other save uses at the same time. The target's name is cut so that the
// temporary name stays within the file system's limit whenever the target's own name does.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name = Utf8FromPath(target.filename());
  if (name.size() > 200) {
    std::size_t cut = 200;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a letter
    name.resize(cut);
  }
  std::random_device random;
  std::string suffix = ".tmp";
  for (int i = 0; i < 2; ++i) {
    std::uint32_t r = random();
    for (int k = 0; k < 8; ++k, r >>= 4) suffix.push_back(kHex[r & 0xf]);
  }
  return target.parent_path() / PathFromUtf8("." + name + suffix);
}

// A link is followed, so that saving through it replaces the file it names rather than the link itself.
std::filesystem::path ResolveLink(const std::filesystem::path& target) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(target, ec)) return target;
  std::filesystem::path resolved = std::filesystem::canonical(target, ec);
  return ec ? target : resolved;
}

}  // namespace

std::string CannotSaveMessage(const std::filesystem::path& path) {
  return std::string("Не удалось сохранить файл "_cp) + PathText(path) + ".";
}

std::string CannotOpenMessage(const std::filesystem::path& path) {
  return std::string("Не удалось открыть файл "_cp) + PathText(path) + ".";
}

void WriteFileReplacing(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path target = ResolveLink(path);
  const std::filesystem::path temporary = TemporaryPathFor(target);
  std::error_code ec;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();
    }
    if (!out) {
      std::filesystem::remove(temporary, ec);
      throw UnreadableFile(CannotSaveMessage(path));
    }
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw UnreadableFile(CannotSaveMessage(path));
  }
}

}  // namespace tallyform::model
