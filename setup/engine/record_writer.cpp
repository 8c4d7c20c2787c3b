// The uninstall record: slot numbering, the merging of earlier entries and the recording phase.
#include "setup/engine/record_writer.h"

#include <algorithm>
#include <cctype>

#include "platform/sys/profile.h"
#include "setup/engine/script_entries.h"
#include "setup/support/MBUtils.h"
#include "setup/support/file_primitives.h"
#include "setup/support/globals.h"
#include "setup/support/registry_access.h"
#include "setup/support/shell_delete.h"
#include "setup/support/uIniFile.h"
#include "setup/support/uStrOp.h"

namespace setup {

std::string RecordKeyOf(const std::string& value) { return BeforeComma(value); }

std::string RecordKeyNormal(const std::string& key) { return MapString(key, LCMAP_UPPERCASE); }

int FindRecordSlot(const std::string& entry, const std::string& section, const std::string& keyWord,
                   const std::string& recordPath) {
  const std::string key = RecordKeyNormal(RecordKeyOf(entry));
  for (int n = 1;; ++n) {
    std::string stored = RecordKeyOf(ReadProfileValue(section, keyWord + std::to_string(n), "", recordPath));
    if (stored.empty() || RecordKeyNormal(stored) == key) return n;
  }
}

RecordSectionIndex::RecordSectionIndex(std::vector<std::string> values) : values_(std::move(values)) { Advance(); }

void RecordSectionIndex::Advance() {
  while (firstFree_ - 1 < static_cast<int>(values_.size())) {
    std::string key = RecordKeyOf(values_[firstFree_ - 1]);
    if (key.empty()) break;
    first_.emplace(RecordKeyNormal(key), firstFree_);  // keeps the lowest number of a path
    ++firstFree_;
  }
}

int RecordSectionIndex::Slot(const std::string& entry) const {
  std::string key = RecordKeyOf(entry);
  if (key.empty()) return firstFree_;
  auto it = first_.find(RecordKeyNormal(key));
  return it != first_.end() ? it->second : firstFree_;
}

const std::string& RecordSectionIndex::ValueAt(int n) const {
  static const std::string kEmpty;
  return n >= 1 && n <= static_cast<int>(values_.size()) ? values_[n - 1] : kEmpty;
}

void RecordSectionIndex::Store(int n, const std::string& value) {
  if (n < 1) return;
  if (static_cast<int>(values_.size()) < n) values_.resize(n);
  values_[n - 1] = value;
  if (n == firstFree_) Advance();
}

std::vector<std::string> SplitRecordList(const std::string& list) {
  // One pass over the list (it holds every file of the install): "|" only on character
  // boundaries, so a trail byte 0x7C is never taken for a separator.
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (IsLeadByte(static_cast<std::uint8_t>(list[i])) && i + 1 < list.size()) {
      ++i;
      continue;
    }
    if (list[i] == '|') {
      out.push_back(list.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

std::string MergeSharedFlag(const std::string& entry, const std::string& stored) {
  if (PosNoCase("/S", stored) > 0 && PosNoCase("/S", entry) == 0) {
    return entry + (PosNoCase(",/", entry) > 0 ? "/S" : ",/S");
  }
  return entry;
}

namespace {

const char* const kInformation[4] = {
    "Vornik Setup 98 UnSetup(UnInstall) Initialize File",
    "！！！　警告　！！！",
    "このファイルをエディタなどで書き換えたり，削除しないでください．",
    "書き換えた場合，アンセットアップ動作の保証はできません．",
};

bool FileExists(const std::string& path) {
  std::uint32_t a = 0;
  return Sys().files.getAttributes(path, a) == 0 && (a & plat::attr::kDirectory) == 0;
}

// Where the record's entries go: straight into a new file built in memory, or one profile write
// at a time into a record that is still there (it could not be deleted).
class RecordOutput {
 public:
  explicit RecordOutput(const std::string& path) : path_(path), inMemory_(!FileExists(path)) {}

  bool InMemory() const { return inMemory_; }

  void Write(const std::string& section, const std::string& key, const std::string& value) {
    if (!inMemory_) {
      WriteProfileValue(section, key, value, path_);
      return;
    }
    auto s = std::find_if(sections_.begin(), sections_.end(), [&](const Section& x) { return x.name == section; });
    if (s == sections_.end()) {
      sections_.push_back({section, {}, {}});
      s = sections_.end() - 1;
    }
    auto k = s->byKey.find(key);
    if (k != s->byKey.end()) {
      s->lines[k->second].second = value;
    } else {
      s->byKey.emplace(key, s->lines.size());
      s->lines.emplace_back(key, value);
    }
  }

  // The values a numbered section already holds in the file (empty for a new file).
  std::vector<std::string> Existing(const std::string& section, const std::string& keyWord) {
    std::vector<std::string> values;
    if (inMemory_) return values;
    int highest = 0;
    const std::string word = RecordKeyNormal(keyWord);
    for (const std::string& name : Sys().profiles.keyNames(path_, section)) {
      if (name.size() <= keyWord.size()) continue;
      if (RecordKeyNormal(name.substr(0, keyWord.size())) != word) continue;
      std::string digits = name.substr(keyWord.size());
      if (digits[0] == '0' || digits.size() > 6 ||
          !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;
      highest = std::max(highest, std::stoi(digits));
    }
    for (int n = 1; n <= highest; ++n)
      values.push_back(ReadProfileValue(section, keyWord + std::to_string(n), "", path_));
    return values;
  }

  // Writes the file built in memory; 0 or the system error code.
  plat::ErrorCode Commit() {
    if (!inMemory_ || sections_.empty()) return 0;
    std::string text;
    for (const Section& s : sections_) {
      text += "[" + s.name + "]\r\n";
      for (const auto& line : s.lines) text += line.first + "=" + line.second + "\r\n";
    }
    plat::ErrorCode code = Sys().files.writeFile(path_, text);
    Sys().profiles.flush();
    return code;
  }

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> lines;
    std::unordered_map<std::string, std::size_t> byKey;
  };
  std::string path_;
  bool inMemory_;
  std::vector<Section> sections_;
};

void Announce(InstallWindows* windows, const std::string& text) {
  if (!windows) return;
  windows->SetMessage(text);
  windows->ProcessMessages();
}

void WriteList(RecordOutput& out, const std::string& list, const std::string& section, const std::string& keyWord,
               bool mergeShared) {
  RecordSectionIndex index(out.Existing(section, keyWord));
  for (const std::string& entry : SplitRecordList(list)) {
    int n = index.Slot(entry);
    std::string value = mergeShared ? MergeSharedFlag(entry, index.ValueAt(n)) : entry;
    out.Write(section, keyWord + std::to_string(n), value);
    index.Store(n, value);
  }
}

std::string RootName(plat::RegRoot root) {
  switch (root) {
    case plat::RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case plat::RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case plat::RegRoot::Users: return "HKEY_USERS";
    default: return "HKEY_CURRENT_USER";
  }
}

}  // namespace

void WriteRecordFile(InstallState& state, const std::string& recordPath, const std::string& unsetupOption,
                     const std::string& uninstallKeyPath, InstallWindows* windows) {
  RecordOutput out(recordPath);
  for (int i = 0; i < 4; ++i) out.Write("Information", "Message" + std::to_string(i + 1), kInformation[i]);
  out.Write("Title", "UnSetup", G().startup.UnSetupTitle);
  out.Write("SetupFolder", "Folder", state.setupFolder);

  Announce(windows, "アンセットアップ情報(削除フォルダ)を更新しています．しばらくお待ちください．．．");
  WriteList(out, state.deleteFolders, "DeleteFolder", "Folder", false);
  Announce(windows, "アンセットアップ情報(削除ファイル)を更新しています．しばらくお待ちください．．．");
  WriteList(out, state.deleteFiles, "DeleteFile", "File", true);
  Announce(windows, "アンセットアップ情報(削除ショートカット)を更新しています．しばらくお待ちください．．．");
  WriteList(out, state.deleteShortcuts, "DeleteShortCut", "File", false);
  Announce(windows, "アンセットアップ情報(削除レジストリ)を更新しています．しばらくお待ちください．．．");
  WriteList(out, state.deleteRegistry, "DeleteRegistry", "Key", false);
  Announce(windows, "アンセットアップ情報(復元関連付け)を更新しています．しばらくお待ちください．．．");
  for (int i = 0; i < 20; ++i) {
    if (!state.restoreRelate[i].empty()) out.Write("RestoreRelate", "Key" + std::to_string(i + 1), state.restoreRelate[i]);
  }
  if (!unsetupOption.empty()) out.Write("UnSetupOption", "CheckBox", unsetupOption);
  out.Write("UnSetupRegistryKey", "Key", uninstallKeyPath);
  out.Write("ProgramID", "ID", G().startup.ProgramID);
  plat::ErrorCode code = out.Commit();
  // The record is the only way to undo this install: a record that could not be written is
  // reported rather than lost silently.
  if (code != 0) state.AddFailure("<SetupFile> ", recordPath, SystemErrorText(code));
}

void RecordUninstallInformation(InstallState& state, InstallWindows& windows) {
  windows.SetMessage("アンセットアップ情報を更新しています．しばらくお待ちください．．．");
  windows.ProcessMessages();
  windows.SetAbortEnabled(false);

  const StartupValues& sv = G().startup;
  const std::string windowsFolder = G().folders.WindowsFolder;

  // The uninstaller copy, only when the installer's own file is newer.
  const std::string uninstaller = windowsFolder + "UNVOSET.EXE";
  const std::string source = sv.ProgramFolder + "SETUP.EXE";
  if (FileDosDateTime(source) > FileDosDateTime(uninstaller)) {
    plat::ErrorCode code = CopyFileReplace(source, uninstaller);
    if (code != 0) state.AddFailure("<SetupFile> ", uninstaller, SystemErrorText(static_cast<std::int32_t>(code)));
  }

  const std::string programProfile = RemovePathDelimiter(windowsFolder, "B") + "\\VOSET98.INI";
  Sys().profiles.flush();
  if (!sv.ProgramID.empty()) WriteProfileValue(sv.ProgramID, "Folder", state.setupFolder, programProfile);

  if (PosNoCase("Setup Only.", sv.UnSetupTitle) > 0) return;

  DeleteWithShell(state.recordPath);

  const std::string script = sv.ScriptPath;
  const std::string unsetupOption = ReadProfileValue("Extend", "UnSetupOption", "", script);
  const std::string command = uninstaller + " \"" + state.recordPath + "\"";
  const std::string entryName = ReadProfileValue("Title", "UnSetupKey", sv.UnSetupTitle, script);
  const std::string displayName = ReadProfileValue("Title", "UnSetupDisplay", entryName, script);
  const std::string keyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + entryName;

  WriteRecordFile(state, state.recordPath, unsetupOption, keyPath, &windows);

  // The Uninstall entry. A refusal (no right to write under HKEY_LOCAL_MACHINE, say) is logged;
  // the record above is already complete.
  RegistryAccess reg(plat::RegRoot::LocalMachine);
  plat::ErrorCode code = reg.CreateKey("\\" + keyPath);
  if (code == 0 && !reg.OpenKey("\\" + keyPath, true)) code = plat::err::kAccessDenied;
  if (code == 0) code = reg.WriteString("DisplayName", displayName);
  if (code == 0) code = reg.WriteString("UninstallString", command);
  reg.CloseKey();
  if (code != 0)
    state.AddFailure("<Registry> ", RootName(plat::RegRoot::LocalMachine) + "\\" + keyPath,
                     SystemErrorText(static_cast<std::int32_t>(code)));
}

}  // namespace setup
