// The script checker's rules: every place where the installer would quietly skip, ignore or
// misread part of a script.
#include "tools/checker/scriptcheck.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/sys/profile.h"
#include "setup/engine/script_entries.h"
#include "setup/support/MBUtils.h"
#include "setup/support/globals.h"
#include "setup/support/path_tokens.h"
#include "setup/support/uIniFile.h"
#include "setup/support/uStrOp.h"

namespace scriptcheck {
namespace {

using setup::PosNoCase;

const char* const kPathTokens[] = {"APP", "PRG", "WIN", "SYS", "TMP", "BOO", "SET", "EDR", "SMN",
                                   "STA", "DSK", "SUP", "SEN", "C_SMN", "C_STA", "C_DSK", "C_SUP"};
const char* const kValueTypes[] = {"(Str)", "(Exp)", "(Int)", "(Dwd)", "(Bin)"};

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool EqualsNoCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

bool IsDecimalInteger(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  return true;
}

// Words in parentheses such as "(Abc)" or "(C_Dsk)", found on character boundaries.
std::vector<std::string> ParenWords(const std::string& text) {
  std::vector<std::string> words;
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<std::uint8_t>(text[i]);
    if (setup::IsLeadByte(b)) {
      i += 2;
      continue;
    }
    if (b == '(') {
      size_t j = i + 1;
      while (j < text.size() && j - i <= 6 &&
             (std::isalpha(static_cast<unsigned char>(text[j])) || text[j] == '_'))
        ++j;
      size_t len = j - i - 1;
      if (j < text.size() && text[j] == ')' && len >= 3 && len <= 5 &&
          std::isalpha(static_cast<unsigned char>(text[i + 1]))) {
        words.push_back(text.substr(i + 1, len));
        i = j + 1;
        continue;
      }
    }
    ++i;
  }
  return words;
}

struct NumberedKey {
  std::string word;
  std::string digits;
};

// "File12" -> {"File", "12"}; keys without a trailing number give empty digits.
NumberedKey SplitKey(const std::string& key) {
  size_t p = key.size();
  while (p > 0 && std::isdigit(static_cast<unsigned char>(key[p - 1]))) --p;
  return {key.substr(0, p), key.substr(p)};
}

class Checker {
 public:
  explicit Checker(const Input& input) : in_(input) {
    folder_ = input.scriptPath.substr(0, input.scriptPath.find_last_of('\\') + 1);
    FillFolderTable();
  }

  std::vector<Finding> Run() {
    CheckHeader();
    CheckReadme();
    CheckNumberedLists();
    CheckCopyFiles();
    CheckMakeFolders();
    CheckShortcuts();
    CheckRegistry();
    CheckDeleteRegistry();
    CheckRelate();
    CheckExecuteFile();
    return std::move(out_);
  }

 private:
  std::string Read(const std::string& section, const std::string& key, const std::string& def = "") {
    return setup::ReadProfileValue(section, key, def, in_.scriptPath);
  }
  bool Present(const std::string& section, const std::string& key) {
    return setup::Sys().profiles.contains(in_.scriptPath, section, key);
  }
  void Add(const std::string& section, const std::string& key, const std::string& code, std::string ja,
           std::string en) {
    out_.push_back({section, key, code, std::move(ja), std::move(en)});
  }

  // Example folders, so that expanded paths can be compared with each other.
  void FillFolderTable() {
    auto& f = setup::G().folders;
    f.AppFolder = kApp;
    f.ProgramFilesFolder = "C:\\Program Files\\";
    f.WindowsFolder = "C:\\WINDOWS\\";
    f.SystemFolder = "C:\\WINDOWS\\SYSTEM32\\";
    f.TempFolder = "C:\\WINDOWS\\TEMP\\";
    f.BootDrive = "C:\\";
    f.SetupDrive = "C:\\";
    f.SourceDrive = folder_.size() >= 2 ? folder_.substr(0, 2) + "\\" : "\\";
    f.StartMenuFolder = "C:\\WINDOWS\\Start Menu\\";
    f.ProgramsFolder = "C:\\WINDOWS\\Start Menu\\Programs\\";
    f.DesktopFolder = "C:\\WINDOWS\\Desktop\\";
    f.StartupFolder = "C:\\WINDOWS\\Start Menu\\Programs\\StartUp\\";
    f.SendToFolder = "C:\\WINDOWS\\SendTo\\";
    f.CommonStartMenuFolder = f.StartMenuFolder;
    f.CommonProgramsFolder = f.ProgramsFolder;
    f.CommonDesktopFolder = f.DesktopFolder;
    f.CommonStartupFolder = f.StartupFolder;
  }

  // The first number whose value is empty: where the installer stops reading the list.
  int ListEnd(const std::string& section, const std::string& word) {
    int n = 1;
    while (!Read(section, word + std::to_string(n)).empty()) ++n;
    return n;
  }

  void CheckUnknownTokens(const std::string& section, const std::string& key, const std::string& raw,
                          const std::set<std::string>& extra) {
    std::set<std::string> reported;
    for (const std::string& w : ParenWords(raw)) {
      std::string u = Upper(w);
      if (std::find(std::begin(kPathTokens), std::end(kPathTokens), u) != std::end(kPathTokens)) continue;
      if (extra.count(u) || !reported.insert(u).second) continue;
      Add(section, key, "unknown-token",
          "(" + w + ") はパス・トークンではありません．置き換えられずにそのまま残ります．",
          "(" + w + ") is not a path token; it stays in the text unchanged.");
    }
  }

  void CheckHeader() {
    if (Present("Extend", "SetupSpeed") && !IsDecimalInteger(Read("Extend", "SetupSpeed")))
      Add("Extend", "SetupSpeed", "setup-speed",
          "SetupSpeed が 10 進の整数ではないため，セットアップを開始できません．",
          "SetupSpeed is not a decimal integer: setup cannot start.");
    std::string enabled = Read("Extend", "Enabled");
    if (enabled != "False" && EqualsNoCase(enabled, "False"))
      Add("Extend", "Enabled", "enabled-case",
          "\"" + enabled + "\" では選択は固定されません．固定するには False と書いてください．",
          "\"" + enabled + "\" does not lock the choices; only \"False\" does.");
    std::string option = Read("Extend", "UnSetupOption");
    if (!option.empty() && option != "DeleteAll") {
      bool fourFlags = option.size() >= 7 && option[1] == ',' && option[3] == ',' && option[5] == ',';
      if (EqualsNoCase(option, "DeleteAll") || !fourFlags)
        Add("Extend", "UnSetupOption", "unsetup-option",
            "UnSetupOption は DeleteAll (この綴り)か 1,0,0,0 の形で書いてください．",
            "UnSetupOption must be exactly \"DeleteAll\" or four flags such as 1,0,0,0.");
    }
    CheckUnknownTokens("DefaultFolder", "Folder", Read("DefaultFolder", "Folder"), {});
  }

  void CheckReadme() {
    std::string file = Read("Readme", "File");
    if (!file.empty()) {
      std::string path = folder_ + setup::RemovePathDelimiter(file, "T");
      if (!FileExists(path))
        Add("Readme", "File", "missing-readme",
            file + " がありません．お読みくださいのページは表示されません．",
            file + " is missing: the read-me page is not shown.");
    }
    std::string bars = Read("Readme", "ScrollBars", "ssVertical");
    if (bars != "ssVertical" && bars != "ssHorizontal" && bars != "ssBoth")
      Add("Readme", "ScrollBars", "scrollbars",
          "ScrollBars の値 \"" + bars + "\" は使われず，縦スクロールバーになります．",
          "ScrollBars \"" + bars + "\" is not recognised; the vertical bar is used.");
  }

  // Keys that the installer never reads: numbers after the end of a list, leading zeros,
  // [TopMessage] beyond 5 and [Relate] beyond 20.
  void CheckNumberedLists() {
    struct List {
      const char* section;
      const char* ender;  // the key whose first empty value ends the list
      std::vector<std::string> words;
      int fixedLast;  // lists read up to a fixed number instead (0: read until the end)
    };
    const List lists[] = {
        {"CopyFile", "File", {"File"}, 0},
        {"MakeFolder", "Folder", {"Folder"}, 0},
        {"ShortCut", "Make", {"Make", "Name"}, 0},
        {"Registry", "Value", {"Key", "Name", "Value"}, 0},
        {"IniFile", "Data", {"Data"}, 0},
        {"DeleteRegistry", "Key", {"Key"}, 0},
        {"TopMessage", "", {"Message"}, 5},
        {"Relate", "", {"Name", "File"}, 20},
    };
    for (const List& list : lists) {
      int end = list.fixedLast ? list.fixedLast + 1 : ListEnd(list.section, list.ender);
      for (const std::string& key : setup::Sys().profiles.keyNames(in_.scriptPath, list.section)) {
        NumberedKey k = SplitKey(key);
        bool known = std::any_of(list.words.begin(), list.words.end(),
                                 [&](const std::string& w) { return EqualsNoCase(w, k.word); });
        if (!known || k.digits.empty() || Read(list.section, key).empty()) continue;
        if (k.digits[0] == '0') {
          Add(list.section, key, "leading-zero", key + " は番号が 0 で始まるため読まれません．",
              key + " is never read: numbers are written without leading zeros.");
          continue;
        }
        long n = k.digits.size() > 6 ? 1000000 : std::stol(k.digits);
        if (n < end) continue;
        if (list.fixedLast)
          Add(list.section, key, "beyond-last",
              key + " は読まれません(" + std::to_string(list.fixedLast) + " までです)．",
              key + " is never read: the section stops at " + std::to_string(list.fixedLast) + ".");
        else
          Add(list.section, key, "gap",
              key + " は読まれません．" + std::string(list.ender) + std::to_string(end) +
                  " が空か無いため，そこで一覧が終わります．",
              key + " is never read: the list ends at " + list.ender + std::to_string(end) +
                  ", which is empty or missing.");
      }
    }
  }

  bool FileExists(const std::string& path) {
    std::vector<plat::DirEntry> entries;
    if (setup::Sys().files.findFiles(path, entries) != 0) return false;
    return std::any_of(entries.begin(), entries.end(),
                       [](const plat::DirEntry& e) { return !(e.attributes & plat::attr::kDirectory); });
  }

  void CheckCopyFiles() {
    int end = ListEnd("CopyFile", "File");
    size_t disk = 1;
    std::set<size_t> disksNotGiven;
    for (int n = 1; n < end; ++n) {
      std::string key = "File" + std::to_string(n);
      std::string raw = Read("CopyFile", key);
      CheckUnknownTokens("CopyFile", key, raw, {"DCH"});
      std::string expanded = setup::ExpandPathTokens(raw);
      int marker = PosNoCase("(Dch)", expanded);
      if (marker == 1 && expanded.compare(0, 5, "(Dch)") != 0)
        Add("CopyFile", key, "dch-case",
            expanded.substr(0, 5) + " は (Dch) と書かないとディスク交換の目印になりません．パスの一部になります．",
            expanded.substr(0, 5) + " must be written \"(Dch)\" to mark a disk change; as it is, it becomes part of the path.");
      else if (marker > 1)
        Add("CopyFile", key, "dch-position", "(Dch) は値の先頭に書いてください．",
            "(Dch) must stand at the very start of the entry.");
      setup::CopyEntry entry = setup::ParseCopyEntry(expanded);
      if (entry.diskChange) ++disk;
      CheckFlags(key, entry.flags);
      installed_.push_back(Upper(entry.target));
      if (entry.sourceName.empty()) continue;
      std::string diskFolder;
      if (disk == 1) {
        diskFolder = folder_;
      } else if (disk - 2 < in_.disks.size()) {
        diskFolder = in_.disks[disk - 2];
      } else {
        disksNotGiven.insert(disk);
        continue;
      }
      if (!FileExists(diskFolder + entry.sourceName))
        Add("CopyFile", key, "missing-source",
            std::to_string(disk) + "枚目のディスクに " + entry.sourceName + " がありません．",
            entry.sourceName + " is missing from disk " + std::to_string(disk) + ".");
    }
  }

  // The uninstaller sees only the comma and the four characters after it.
  void CheckFlags(const std::string& key, const std::string& flags) {
    if (flags.size() <= 5) return;
    std::string unseen = flags.substr(5);
    for (const char* flag : {"/S", "/C", "/L", "/F"}) {
      if (PosNoCase(flag, unseen) > 0 && PosNoCase(flag, flags.substr(0, 5)) == 0)
        Add("CopyFile", key, "flag-unseen",
            std::string(flag) + " はアンインストール時に読まれません(先頭の 2 つのフラグだけが有効です)．",
            std::string(flag) + " is not seen by the uninstaller, which reads only the first two flags.");
    }
  }

  void CheckMakeFolders() {
    int end = ListEnd("MakeFolder", "Folder");
    std::set<std::string> made = {Upper(kApp)};
    for (int n = 1; n < end; ++n) {
      std::string key = "Folder" + std::to_string(n);
      std::string raw = Read("MakeFolder", key);
      CheckUnknownTokens("MakeFolder", key, raw, {});
      std::string folder = setup::ExpandPathTokens(setup::AddPathDelimiter(raw, "B"));
      std::string parent = setup::PathFolderPart(setup::RemovePathDelimiter(folder, "B")) + "\\";
      bool insideApp = Upper(folder).rfind(Upper(kApp), 0) == 0;
      if (insideApp && !made.count(Upper(parent)))
        Add("MakeFolder", key, "parent-missing",
            parent + " はこの一覧で先に作られていないため，作成に失敗します．",
            "Its parent " + parent + " is not created earlier in the list, so creating it fails.");
      made.insert(Upper(folder));
    }
  }

  void CheckShortcuts() {
    int end = ListEnd("ShortCut", "Make");
    for (int n = 1; n < end; ++n) {
      std::string key = "Name" + std::to_string(n);
      std::string name = Read("ShortCut", key, "Default");
      CheckUnknownTokens("ShortCut", "Make" + std::to_string(n), Read("ShortCut", "Make" + std::to_string(n)), {});
      CheckUnknownTokens("ShortCut", key, name, {});
      if (setup::ShortcutKindOf(name) == setup::ShortcutKind::Always)
        Add("ShortCut", key, "shortcut-always",
            "このショートカットはどのチェックボックスにも関係なく，常に作成されます．",
            "No check box controls this shortcut: it is always made.");
    }
  }

  void CheckRegistryRoot(const std::string& section, const std::string& key, const std::string& value) {
    if (value.size() < 7 || value[0] != '(' || value[6] != ')') return;
    std::string token = value.substr(0, 7);
    for (const char* known : {"(Class)", "(Local)", "(Users)", "(Cuser)"})
      if (token == known) return;
    Add(section, key, "unknown-root",
        token + " はルートとして認識されず，HKEY_CURRENT_USER になります．",
        token + " is not a known root; the key goes under HKEY_CURRENT_USER.");
  }

  void CheckRegistry() {
    int end = ListEnd("Registry", "Value");
    for (int n = 1; n < end; ++n) {
      std::string num = std::to_string(n);
      CheckRegistryRoot("Registry", "Key" + num, Read("Registry", "Key" + num));
      std::string raw = Read("Registry", "Value" + num);
      CheckUnknownTokens("Registry", "Value" + num, raw, {"PDD", "STR", "EXP", "INT", "DWD", "BIN"});
      std::string value = setup::ExpandPathTokens(setup::ReplaceToken(raw, "(Pdd)", ""));
      if (value.size() < 5 || value[0] != '(' || value[4] != ')') continue;
      std::string type = value.substr(0, 5), data = value.substr(5);
      bool known = std::find_if(std::begin(kValueTypes), std::end(kValueTypes),
                                [&](const char* t) { return type == t; }) != std::end(kValueTypes);
      if (!known) {
        Add("Registry", "Value" + num, "unknown-type",
            type + " は型として認識されず，値全体が文字列として書き込まれます．",
            type + " is not a value type; the whole value is written as a string.");
      } else if ((type == "(Int)" || type == "(Dwd)") && !IsDecimalInteger(data)) {
        Add("Registry", "Value" + num, "not-a-number", "\"" + data + "\" は数値ではないため 0 が書き込まれます．",
            "\"" + data + "\" is no number: 0 is written.");
      } else if (type == "(Bin)") {
        std::string bytes;
        if (!setup::ParseBinaryData(data, bytes))
          Add("Registry", "Value" + num, "bad-binary", "(Bin) のデータは 16 進 2 桁ずつで書いてください．",
              "(Bin) data must be hexadecimal byte pairs.");
      }
    }
  }

  void CheckDeleteRegistry() {
    int end = ListEnd("DeleteRegistry", "Key");
    for (int n = 1; n < end; ++n)
      CheckRegistryRoot("DeleteRegistry", "Key" + std::to_string(n), Read("DeleteRegistry", "Key" + std::to_string(n)));
  }

  void CheckRelate() {
    for (int n = 1; n <= 20; ++n) {
      std::string num = std::to_string(n);
      std::string name = Read("Relate", "Name" + num), file = Read("Relate", "File" + num);
      if (name.empty() && file.empty()) continue;
      if (name.empty() || file.empty()) {
        Add("Relate", (name.empty() ? "File" : "Name") + num, "relate-half",
            "Name" + num + " と File" + num + " の片方しかないため，この関連付けは行われません．",
            "Only one of Name" + num + " and File" + num + " is set: the association is not made.");
        continue;
      }
      CheckUnknownTokens("Relate", "File" + num, file, {});
      int commas = 0;
      for (std::string rest = file; PosNoCase(",", rest) > 0; ++commas) rest = setup::AfterComma(rest);
      if (commas < 2)
        Add("Relate", "File" + num, "relate-fields",
            "File" + num + " は「動詞,プログラム,アイコン番号」の形で書いてください．",
            "File" + num + " needs at least verb,program,icon index.");
    }
  }

  void CheckExecuteFile() {
    std::string raw = Read("ExecuteFile", "File");
    if (raw.empty() || raw == "WINDOWS_REBOOT") return;
    if (EqualsNoCase(raw, "WINDOWS_REBOOT")) {
      Add("ExecuteFile", "File", "reboot-case",
          "再起動するには WINDOWS_REBOOT (大文字)と書いてください．このままではファイルとして開こうとして失敗します．",
          "Write WINDOWS_REBOOT in capitals to ask for a restart; as it is, it is opened as a file and fails.");
      return;
    }
    CheckUnknownTokens("ExecuteFile", "File", raw, {});
    std::string file = Upper(setup::BeforeComma(setup::ExpandPathTokens(raw)));
    if (file.size() >= 2 && file[0] == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    if (file.rfind(Upper(kApp), 0) != 0) return;  // outside the setup folder: not ours to know
    bool installed = std::find(installed_.begin(), installed_.end(), file) != installed_.end();
    if (!installed)
      Add("ExecuteFile", "File", "execute-missing",
          "このスクリプトは " + setup::BeforeComma(raw) + " をインストールしないため，起動に失敗します．",
          "This script does not install " + setup::BeforeComma(raw) + ", so starting it fails.");
  }

  static constexpr const char* kApp = "C:\\Program Files\\Setup\\";
  const Input& in_;
  std::string folder_;
  std::vector<std::string> installed_;
  std::vector<Finding> out_;
};

}  // namespace

std::vector<Finding> CheckScript(const Input& input) { return Checker(input).Run(); }

}  // namespace scriptcheck
