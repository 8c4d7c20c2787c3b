// The uninstall run's decisions and safety rules, free of windows and of system calls.
#include "setup/engine/uninstall_rules.h"

#include <cstddef>

namespace setup::uninstall {
namespace {

bool IsLead(char c) { return G().leadBytes[static_cast<unsigned char>(c)] != 0; }

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Upper-cases single-byte letters only; a double-byte character is copied as it is, so a trail
// byte that happens to look like a letter is never changed.
std::string FoldText(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLead(s[i]) && i + 1 < s.size()) {
      out += s[i];
      out += s[++i];
    } else {
      out += FoldAscii(s[i]);
    }
  }
  return out;
}

// Case-insensitive search that only matches on character boundaries.
bool ContainsNoCase(const std::string& hay, const std::string& needle) {
  const std::string h = FoldText(hay);
  const std::string n = FoldText(needle);
  if (n.empty()) return false;
  for (std::size_t i = 0; i + n.size() <= h.size();) {
    if (h.compare(i, n.size(), n) == 0) return true;
    i += (IsLead(h[i]) && i + 1 < h.size()) ? 2 : 1;
  }
  return false;
}

// Position of the first single-byte character c at or after from; npos when none.
std::size_t FindChar(const std::string& s, char c, std::size_t from = 0) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLead(s[i]) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (i >= from && s[i] == c) return i;
  }
  return std::string::npos;
}

// The parts of a path between separators ("\" and "/", both of which the system accepts).
std::vector<std::string> SplitParts(const std::string& s) {
  std::vector<std::string> parts;
  std::string cur;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLead(s[i]) && i + 1 < s.size()) {
      cur += s[i];
      cur += s[++i];
      continue;
    }
    if (s[i] == '\\' || s[i] == '/') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += s[i];
    }
  }
  parts.push_back(cur);
  return parts;
}

std::string WithDelimiter(const std::string& folder) {
  if (folder.empty()) return folder;
  // A final 0x5C that is a trail byte is no delimiter.
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (IsLead(folder[i]) && i + 1 < folder.size()) {
      ++i;
      continue;
    }
    if (folder[i] == '\\') last = i;
  }
  return (last == folder.size() - 1) ? folder : folder + "\\";
}

std::string StripLeadingDelimiters(const std::string& path) {
  std::size_t i = 0;
  while (i < path.size() && path[i] == '\\') ++i;
  return path.substr(i);
}

}  // namespace

FileEntry SplitFileEntry(const std::string& value) {
  FileEntry e;
  const std::size_t comma = FindChar(value, ',');
  if (comma == std::string::npos) {
    e.path = value;
  } else {
    e.path = value.substr(0, comma);
    e.flagWindow = value.substr(comma, 5);
  }
  return e;
}

FileFlags ReadFlags(const std::string& flagWindow) {
  FileFlags f;
  f.shared = ContainsNoCase(flagWindow, "/S");
  f.confirm = ContainsNoCase(flagWindow, "/C");
  f.leave = ContainsNoCase(flagWindow, "/L");
  f.force = ContainsNoCase(flagWindow, "/F");
  return f;
}

bool NeedsLowering(std::int32_t sharedCount, const FileFlags& flags) { return sharedCount != 0 && flags.shared; }

FileAction DecideFile(std::int32_t sharedCount, std::int32_t loweredCount, const FileFlags& flags,
                      bool componentFile, bool inWindowsOrSystemFolder) {
  if (sharedCount != 0) {
    if (!flags.shared) return FileAction::Keep;  // the count belongs to other programs
    if (loweredCount != 0) return FileAction::Keep;
    return FileAction::AskShared;
  }
  if (flags.confirm) return FileAction::AskConfirm;
  if (flags.leave) return FileAction::Keep;
  if (flags.force) return FileAction::Delete;
  if (componentFile && inWindowsOrSystemFolder) return FileAction::AskComponent;
  return FileAction::Delete;
}

bool AnswerIsSticky(const std::string& slot) { return slot == "Delete" || slot == "Save"; }
bool AnswerDeletes(const std::string& slot) { return slot == "Yes" || slot == "Delete"; }

std::string SharedQuestion(const std::string& path) {
  return path + "\r\r" + "この共有ファイルは，現在，他のどのプログラムからも使われていません．\r" +
         "しかし，今後，他のプログラムで使われる可能性があります．\r" + "このファイルを削除してもよろしいですか？";
}

std::string ConfirmQuestion(const std::string& path) {
  return path + "\r\r" + "このファイルを削除してもよろしいですか？\r" + "\r" + "<<　注意　>>\r" +
         "DLL/OCXなどは他のプログラムでも使用される可能性があります．\r" +
         "確実に使用されないことがわかっている場合のみ削除してください．";
}

std::string ComponentQuestion(const std::string& path) {
  return path + "\r\r" + "このDLL/OCXファイルは，共有登録されていませんが，\r" +
         "今後，他のプログラムで使われる可能性があります．\r" + "このファイルを削除してもよろしいですか？";
}

RegistryTarget SplitRegistryValue(const std::string& value) {
  if (value.size() >= 7 && value[0] == '(' && value[6] == ')') return {value.substr(0, 7), value.substr(7)};
  return {"(Cuser)", value};
}

plat::RegRoot RootOfToken(const std::string& token) {
  if (token == "(Class)") return plat::RegRoot::ClassesRoot;
  if (token == "(Local)") return plat::RegRoot::LocalMachine;
  if (token == "(Users)") return plat::RegRoot::Users;
  return plat::RegRoot::CurrentUser;
}

namespace {

// Keys that belong to the system: deleting one of them, or a key above one of them, would
// take things no install put there. Relative to HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
const char* const kVitalKeys[] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
    "SOFTWARE\\Classes",
    "SOFTWARE\\Policies",
    "SYSTEM\\CurrentControlSet",
    "Control Panel\\Desktop",
    "Control Panel\\International",
};

// Class keys that every program type relies on.
const char* const kVitalClassKeys[] = {
    "CLSID", "Interface", "TypeLib", "AppID", "*", "Directory", "Folder", "Drive", "AllFilesystemObjects",
    "exefile", "comfile", "batfile", "cmdfile", "lnkfile", "piffile", "dllfile", "scrfile", "txtfile",
};

// Extensions of programs and links: never given back to "no association".
const char* const kProgramExtensions[] = {"exe", "com", "bat", "cmd", "pif", "lnk", "scr", "dll", "sys"};

bool IsAncestorOrSameKey(const std::string& key, const std::string& of) {
  const std::string k = FoldText(key);
  const std::string o = FoldText(of);
  if (k.size() > o.size()) return false;
  if (o.compare(0, k.size(), k) != 0) return false;
  return k.size() == o.size() || o[k.size()] == '\\';
}

}  // namespace

bool IsDeletableKey(plat::RegRoot root, const std::string& path) {
  std::string key = StripLeadingDelimiters(path);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  if (key.empty()) return false;
  std::vector<std::string> parts = SplitParts(key);
  for (const auto& p : parts) {
    if (p.empty()) return false;  // "A\\B": not a key path an install writes
  }
  switch (root) {
    case plat::RegRoot::ClassesRoot:
      if (parts.size() == 1) {
        for (const char* vital : kVitalClassKeys) {
          if (SamePathNoCase(key, vital)) return false;
        }
        if (key[0] == '.') return IsRestorableExtension(key.substr(1));
      }
      return true;
    case plat::RegRoot::Users:
      return parts.size() >= 3;  // below a user's hive and its first level
    default:
      if (parts.size() < 2) return false;
      for (const char* vital : kVitalKeys) {
        if (IsAncestorOrSameKey(key, vital)) return false;
      }
      return true;
  }
}

bool IsUninstallEntryKey(const std::string& path) {
  static const std::string kPrefix = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  if (path.size() <= kPrefix.size()) return false;
  if (FoldText(path.substr(0, kPrefix.size())) != FoldText(kPrefix)) return false;
  const std::string name = path.substr(kPrefix.size());
  return FindChar(name, '\\') == std::string::npos && name != "." && name != "..";
}

RelateEntry SplitRelate(const std::string& value) {
  const std::size_t comma = FindChar(value, ',');
  if (comma == std::string::npos) return {value, ""};
  return {value.substr(0, comma), value.substr(comma + 1)};
}

bool IsRestorableExtension(const std::string& extension) {
  if (extension.empty() || FindChar(extension, '\\') != std::string::npos) return false;
  if (FindChar(extension, '/') != std::string::npos) return false;
  for (const char* ext : kProgramExtensions) {
    if (SamePathNoCase(extension, ext)) return false;
  }
  return true;
}

bool IsAbsolutePath(const std::string& path) {
  std::string rest;
  if (path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
      path[1] == ':' && path[2] == '\\') {
    rest = path.substr(3);
  } else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    rest = path.substr(2);
    std::vector<std::string> parts = SplitParts(rest);
    // Server and share must both be named.
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return false;
  } else {
    return false;
  }
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (IsLead(rest[i]) && i + 1 < rest.size()) {
      ++i;
      continue;
    }
    const char c = rest[i];
    if (c == '*' || c == '?' || c == ':' || c == '"' || c == '<' || c == '>' || c == '|') return false;
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  for (const auto& part : SplitParts(rest)) {
    if (part == "." || part == "..") return false;
  }
  return true;
}

bool SamePathNoCase(const std::string& a, const std::string& b) { return FoldText(a) == FoldText(b); }

bool PathIsInside(const std::string& path, const std::string& folder) {
  if (folder.empty()) return false;
  const std::string f = FoldText(WithDelimiter(folder));
  const std::string p = FoldText(WithDelimiter(path));
  return p.size() >= f.size() && p.compare(0, f.size(), f) == 0;
}

bool IsRootFolder(const std::string& folder) {
  if (folder.size() == 3) return true;  // "C:\" and every other three-character folder
  const std::string f = WithDelimiter(folder);
  if (f.size() == 3 && f[1] == ':') return true;
  if (f.size() > 2 && f[0] == '\\' && f[1] == '\\') {
    std::vector<std::string> parts = SplitParts(f.substr(2));
    // "\\server\share\" splits into server, share and the empty part after the last "\".
    return parts.size() <= 3;
  }
  return false;
}

std::vector<std::string> KnownFolders(const FolderTable& t, const std::vector<std::string>& extra) {
  std::vector<std::string> out;
  auto add = [&out](const std::string& f) {
    if (!f.empty() && f != "(App)") out.push_back(WithDelimiter(f));
  };
  for (const std::string* f :
       {&t.ProgramFilesFolder, &t.WindowsFolder, &t.SystemFolder, &t.TempFolder, &t.StartMenuFolder,
        &t.ProgramsFolder, &t.DesktopFolder, &t.StartupFolder, &t.SendToFolder, &t.CommonStartMenuFolder,
        &t.CommonProgramsFolder, &t.CommonDesktopFolder, &t.CommonStartupFolder}) {
    add(*f);
  }
  for (const auto& f : extra) add(f);
  return out;
}

bool IsKnownFolder(const std::string& folder, const std::vector<std::string>& known) {
  for (const auto& k : known) {
    if (SamePathNoCase(WithDelimiter(folder), k)) return true;
  }
  return false;
}

bool IsProtectedSetupFolder(const std::string& setupFolder, const std::vector<std::string>& known) {
  if (setupFolder.empty() || IsRootFolder(setupFolder)) return true;
  for (const auto& k : known) {
    if (PathIsInside(k, setupFolder)) return true;  // equal to, or holding, a known folder
  }
  return false;
}

std::string FolderOfPath(const std::string& path) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLead(path[i]) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\') last = i;
  }
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string FailureEntry(const std::string& label, const std::string& path, const std::string& reason) {
  return label + path + "\r\n" + reason + "\r\n";
}

std::string SetupFolderReason(plat::ErrorCode code, bool deleteAll, const std::string& systemText) {
  if (code == plat::err::kDirNotEmpty || code == plat::err::kAccessDenied) {
    return std::string(deleteAll ? "全ファイル・フォルダの削除を試みましたが，エラーが発生したため，"
                                 : "フォルダにファイルが残っているため，") +
           "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．";
  }
  return systemText;
}

}  // namespace setup::uninstall
