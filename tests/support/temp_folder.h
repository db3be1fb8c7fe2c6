#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the test ends. Its
// name holds Cyrillic letters and a space, as the folders of the program's users do ("D:\Проекты\Плата 2"),
// so that every test that reads or writes files also tries such names, on Windows as elsewhere.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace tallyform::testing {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (;;) {
      const std::string suffix = std::to_string(random()) + "-" + std::to_string(counter++);
      path_ = std::filesystem::temp_directory_path() /
              (u8"tallyform тест " + std::u8string(suffix.begin(), suffix.end()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  /// Writes the bytes to a file of the folder and gives its path.
  std::filesystem::path Write(std::string_view name, std::string_view bytes) const {
    std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

/// The whole contents of a file, or the empty text when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tallyform::testing
