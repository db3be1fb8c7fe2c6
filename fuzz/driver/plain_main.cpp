// Runs a fuzz target without libFuzzer: each argument is an input file, or a folder whose files (in name
// order) are inputs. Builds where libFuzzer is missing (another compiler, Windows) so use it to replay a
// corpus or a crash through the target. Exits 0 when every input ran, 1 when an input could not be read;
// a fault in the target ends the program as it would under libFuzzer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool RunFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path argument(argv[i]);
    std::error_code error;
    if (std::filesystem::is_directory(argument, error)) {
      std::vector<std::filesystem::path> files;
      for (const auto& entry : std::filesystem::directory_iterator(argument, error)) {
        if (entry.is_regular_file(error)) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      inputs.insert(inputs.end(), files.begin(), files.end());
    } else {
      inputs.push_back(argument);
    }
  }
  int ran = 0;
  for (const std::filesystem::path& input : inputs) {
    if (!RunFile(input)) {
      std::fprintf(stderr, "cannot read %s\n", input.string().c_str());
      return 1;
    }
    ++ran;
  }
  std::printf("%d inputs ran\n", ran);
  return 0;
}
