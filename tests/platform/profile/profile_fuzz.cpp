// Fuzz entry for the profile engine: any bytes as a profile file. Every listed key must read back
// unchanged after an unrelated write, and a written value must read back as the system would give it.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "platform/sys/profile.h"
#include "tests/platform/profile/memory_files.h"

namespace {

const char kFile[] = "C:\\FUZZ.INI";

void check(bool ok) {
  if (!ok) std::abort();
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

bool isBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

bool isLead(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
}

// What a read gives back for a written value: blanks trimmed (a lead byte keeps the byte after it),
// one pair of quotes removed.
std::string asRead(std::string v) {
  size_t b = 0;
  while (b < v.size() && isBlank(v[b])) ++b;
  size_t e = b;
  for (size_t i = b; i < v.size();) {
    if (isLead(v[i])) {
      i = i + 2 < v.size() ? i + 2 : v.size();
      e = i;
    } else if (!isBlank(v[i++])) {
      e = i;
    }
  }
  v = v.substr(b, e - b);
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  plat::testing::MemoryFiles fs;
  fs.put(kFile, text);
  plat::ProfileStore store(fs);

  std::map<std::pair<std::string, std::string>, std::string> before;
  for (const std::string& s : store.sectionNames(kFile)) {
    if (lower(s) == "fuzzsection") continue;  // the section written below
    for (const std::string& k : store.keyNames(kFile, s)) before[{s, k}] = store.read(kFile, s, k, "\x01");
  }

  // A value from the input, one line long.
  std::string value;
  for (char c : text.substr(0, 64))
    if (c != '\r' && c != '\n' && c != '\0') value.push_back(c);
  check(store.write(kFile, "FuzzSection", "FuzzKey", value));
  check(store.read(kFile, "fuzzsection", "FUZZKEY", "\x01") == asRead(value));
  for (const auto& [name, v] : before) check(store.read(kFile, name.first, name.second, "\x01") == v);

  // Writing the same value again leaves the file as it is.
  std::string written = fs.get(kFile);
  check(store.write(kFile, "FuzzSection", "FuzzKey", value));
  check(fs.get(kFile) == written);

  check(store.deleteKey(kFile, "FuzzSection", "FuzzKey"));
  check(store.read(kFile, "FuzzSection", "FuzzKey", "\x01") == "\x01");
  for (const auto& [name, v] : before) check(store.read(kFile, name.first, name.second, "\x01") == v);
  return 0;
}
