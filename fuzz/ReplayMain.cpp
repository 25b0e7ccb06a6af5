// SPDX-License-Identifier: GPL-3.0-or-later
// The plain replay program of a fuzz target: feeds every file of the given
// folders (or the given files) to LLVMFuzzerTestOneInput, in name order. It
// fails when it finds nothing to replay, so a lost corpus cannot pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);
extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) __attribute__((weak));

int main(int Argc, char** Argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&Argc, &Argv);
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int k = 1; k < Argc; ++k) {
    const fs::path path(Argv[k]);
    if (fs::is_directory(path)) {
      for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path))
        if (entry.is_regular_file()) files.push_back(entry.path());
    } else if (fs::is_regular_file(path)) {
      files.push_back(path);
    } else {
      std::fprintf(stderr, "replay: no such file or folder: %s\n", Argv[k]);
      return 2;
    }
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "replay: nothing to replay\n");
    return 2;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A copy of exactly Size bytes, so ASan sees any read past the end.
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    static std::uint8_t none = 0;
    LLVMFuzzerTestOneInput(input.empty() ? &none : input.data(), input.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
