// Fuzzes the window driver's grammar: arguments separated by NUL bytes, and a menu path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/windriver/args.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  std::string current;
  for (char c : input) {
    if (c == '\0') {
      args.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  args.push_back(current);
  const auto result = windriver::parseArguments(args);
  // An accepted command always names a verb, a refused one always says why.
  if (result.ok == result.command.verb.empty()) std::abort();
  if (!result.ok && result.error.empty()) std::abort();

  const auto items = windriver::splitMenuPath(input);
  size_t total = 0;
  for (const auto& item : items) {
    if (item.empty()) std::abort();
    total += item.size();
  }
  if (total > input.size()) std::abort();
  if (windriver::stripMnemonic(input).size() > input.size()) std::abort();
  if (!windriver::captionMatches(input, input)) std::abort();
  return 0;
}
