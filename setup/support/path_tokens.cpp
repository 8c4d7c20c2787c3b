// Path-token expansion over the folder table, and the shell's special folders.
#include "setup/support/path_tokens.h"

#include "setup/support/globals.h"
#include "setup/support/uStrOp.h"

namespace setup {

std::string ExpandPathTokens(const std::string& text) {
  const FolderTable& f = G().folders;
  // Table order matters: a folder inserted for an earlier token is searched for later ones.
  const std::pair<const char*, const std::string*> rows[] = {
      {"(App)", &f.AppFolder},
      {"(Prg)", &f.ProgramFilesFolder},
      {"(Win)", &f.WindowsFolder},
      {"(Sys)", &f.SystemFolder},
      {"(Tmp)", &f.TempFolder},
      {"(Boo)", &f.BootDrive},
      {"(Set)", &f.SetupDrive},
      {"(Edr)", &f.SourceDrive},
      {"(Smn)", &f.StartMenuFolder},
      {"(Sta)", &f.ProgramsFolder},
      {"(Dsk)", &f.DesktopFolder},
      {"(Sup)", &f.StartupFolder},
      {"(Sen)", &f.SendToFolder},
      {"(C_Smn)", &f.CommonStartMenuFolder},
      {"(C_Sta)", &f.CommonProgramsFolder},
      {"(C_Dsk)", &f.CommonDesktopFolder},
      {"(C_Sup)", &f.CommonStartupFolder},
  };
  std::string result = text;
  for (const auto& row : rows) {
    if (PosNoCase(row.first, result) > 0) result = ReplaceToken(result, row.first, *row.second);
  }
  return result;
}

std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value) {
  if (token.empty()) return text;
  std::string result = text;
  // Bytes before this offset are done; it always lies on a character boundary.
  std::size_t done = 0;
  const bool valueEndsWithDelimiter = RemovePathDelimiter(value, "B") != value;
  for (;;) {
    const std::string rest = result.substr(done);
    const int pos = PosNoCase(token, rest);
    if (pos == 0) return result;
    const std::string left = result.substr(0, done) + StrLeft(rest, pos - 1);
    std::string right = StrMidFrom(rest, pos + static_cast<int>(token.size()));
    if (valueEndsWithDelimiter && RemovePathDelimiter(right, "T") != right) right = RemovePathDelimiter(right, "T");
    result = left + value + right;
    done = left.size() + value.size();
  }
}

std::string GetSpecialFolder(std::int32_t csidl) { return Sys().shell.specialFolder(csidl); }

}  // namespace setup
