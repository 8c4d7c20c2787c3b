// Feeds every file of the given corpus folders once to a fuzz entry point (builds without libFuzzer).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  size_t fed = 0;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    std::filesystem::recursive_directory_iterator it(argv[i], ec), end;
    if (ec) {
      std::fprintf(stderr, "cannot read corpus %s: %s\n", argv[i], ec.message().c_str());
      return 1;
    }
    for (; it != end; it.increment(ec)) {
      if (ec) break;
      if (!it->is_regular_file()) continue;
      std::ifstream in(it->path(), std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // A fresh heap copy of the exact size lets the sanitizer see reads past the end.
      std::vector<uint8_t> exact(bytes);
      LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
      ++fed;
    }
  }
  if (fed == 0) {
    std::fprintf(stderr, "no corpus files found: the regression run would check nothing\n");
    return 1;
  }
  std::printf("%zu corpus inputs ran cleanly\n", fed);
  return 0;
}
