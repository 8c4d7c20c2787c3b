// Fuzz target: token expansion, replacement, the case-insensitive search and the delimiter
// operations on arbitrary bytes must terminate, stay in bounds and keep their invariants.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/sys/posix/posix_machine.h"
#include "setup/support/MBUtils.h"
#include "setup/support/globals.h"
#include "setup/support/path_tokens.h"
#include "setup/support/uStrOp.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Machine {
  Machine() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pagina-support-fuzz-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr);
    root = pattern;
    machine = std::make_unique<plat::PosixMachine>(plat::PosixMachine::fresh(root));
    services = std::make_unique<plat::Services>(machine->services());
    setup::ResetGlobals(*services, nullptr);
    setup::FolderTable& f = setup::G().folders;
    f.WindowsFolder = "C:\\WINDOWS\\";
    f.ProgramFilesFolder = "C:\\Program Files\\";
    f.SystemFolder = "C:\\WINDOWS\\SYSTEM\\";
    f.DesktopFolder = "C:\\WINDOWS\\デスクトップ\\";
    f.CommonStartupFolder = "(Sup)";
  }
  ~Machine() {
    services.reset();
    machine.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string root;
  std::unique_ptr<plat::PosixMachine> machine;
  std::unique_ptr<plat::Services> services;
};

// Splits the text at its first two "|" bytes (plain byte splits: the parts are arbitrary anyway).
void Split3(const std::string& s, std::string& a, std::string& b, std::string& c) {
  const std::size_t p = s.find('|');
  a = s.substr(0, p);
  const std::string rest = p == std::string::npos ? std::string() : s.substr(p + 1);
  const std::size_t q = rest.find('|');
  b = rest.substr(0, q);
  c = q == std::string::npos ? std::string() : rest.substr(q + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Machine machine;
  if (size == 0 || size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      setup::G().folders.AppFolder = text.substr(0, text.size() / 4);
      setup::ExpandPathTokens(text);
      break;
    }
    case 1: {
      std::string needle, haystack, unused;
      Split3(text, needle, haystack, unused);
      const int pos = setup::MBPos(needle, haystack);
      Check(pos >= 0 && static_cast<std::size_t>(pos) <= haystack.size());
      if (pos > 0) Check(haystack.compare(pos - 1, needle.size(), needle) == 0);
      const int noCase = setup::PosNoCase(needle, haystack);
      Check(noCase >= 0 && static_cast<std::size_t>(noCase) <= haystack.size());
      // Without letters in either text the two searches agree. A zero byte ends a text for the
      // system's string mapping, so texts holding one are left out too.
      bool mapped = false;
      for (char ch : text) mapped |= (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                                     static_cast<unsigned char>(ch) >= 0x80 || ch == '\0';
      if (!mapped) Check(noCase == pos);
      break;
    }
    case 2: {
      std::string base, token, value;
      Split3(text, base, token, value);
      const std::string result = setup::ReplaceToken(base, token, value);
      // Without an occurrence nothing changes.
      if (setup::PosNoCase(token, base) == 0) Check(result == base);
      break;
    }
    default: {
      // A text cut inside a double-byte character has no character boundary at its end, so
      // the delimiter laws below hold only for whole characters.
      std::size_t i = 0;
      while (i < text.size()) i += setup::IsLeadByte(static_cast<std::uint8_t>(text[i])) ? 2 : 1;
      if (i != text.size()) break;
      for (const char* mode : {"T", "B"}) {
        const std::string added = setup::AddPathDelimiter(text, mode);
        Check(added.size() == text.size() || added.size() == text.size() + 1);
        // Adding is idempotent, and removing after adding to a text without one restores it.
        Check(setup::AddPathDelimiter(added, mode) == added);
        if (added.size() == text.size() + 1) Check(setup::RemovePathDelimiter(added, mode) == text);
        const std::string removed = setup::RemovePathDelimiter(text, mode);
        Check(removed.size() == text.size() || removed.size() + 1 == text.size());
      }
      break;
    }
  }
  return 0;
}
