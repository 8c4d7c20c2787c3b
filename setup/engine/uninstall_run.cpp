// The uninstall run in its fifteen steps, and the registry key deletion it uses.
#include "setup/engine/uninstall_run.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sys/profile.h"
#include "setup/engine/uninstall_rules.h"
#include "setup/support/file_primitives.h"
#include "setup/support/globals.h"
#include "setup/support/registry_access.h"
#include "setup/support/shared_files.h"
#include "setup/support/shell_delete.h"
#include "setup/support/uIniFile.h"
#include "setup/support/uStrOp.h"

namespace setup {
namespace {

constexpr std::uint32_t kMbOk = 0x0;
constexpr std::uint32_t kMbYesNo = 0x4;
constexpr std::uint32_t kMbIconStop = 0x10;
constexpr std::uint32_t kMbIconQuestion = 0x20;
constexpr std::uint32_t kMbIconExclamation = 0x30;
constexpr std::uint32_t kMbIconInformation = 0x40;
constexpr int kIdYes = 6;

constexpr int kMaxKeyDeletions = 99;

// A folder that is not there any more needs no removing: the run's goal is reached.
bool Gone(plat::ErrorCode code, const std::string& folder) {
  return (code == plat::err::kFileNotFound || code == plat::err::kPathNotFound) && !FolderExists(folder);
}

class Run {
 public:
  explicit Run(uninstall::RunWindows& w) : w_(w) {}

  uninstall::RunOutcome Go() {
    ReadOptions();                                                        // 1
    w_.enterRunWindows();                                                 // 2
    w_.showStatus("アンセットアップ(アンインストール)を行っています．．．");  // 3
    if (!TakeSetupFolder()) {                                             // 4
      out_.stopped = true;
      return out_;
    }
    record_ = G().startup.ScriptPath;
    known_ = uninstall::KnownFolders(G().folders, UserFolders());
    setupProtected_ = uninstall::IsProtectedSetupFolder(setupFolder_, known_);
    ForgetProgram();        // 5
    LeaveFoldersToBeRemoved();  // 6
    DeleteFiles();          // 7
    DeleteShortcuts();      // 8
    RemoveFolders();        // 9
    DeleteKeys();           // 10
    RestoreAssociations();  // 11
    DeleteUninstallEntry(); // 12
    RemoveSetupFolder();    // 13
    Summary();              // 14
    Complete();             // 15
    return out_;
  }

 private:
  std::string Read(const std::string& section, const std::string& key) {
    return ReadProfileValue(section, key, "", record_);
  }

  void Fail(const std::string& label, const std::string& path, const std::string& reason) {
    out_.failureLog += uninstall::FailureEntry(label, path, reason);
    ++out_.failureCount;
  }

  void ReadOptions() {
    w_.disableOptions();
    if (w_.optionChecked(0)) {
      if (w_.optionVisible(1) || w_.optionVisible(2) || w_.optionVisible(3)) {
        out_.extraPatterns += "*.INI|";
      } else {
        out_.extraPatterns.clear();
        out_.deleteAll = true;
      }
    }
    if (w_.optionChecked(1)) out_.extraPatterns += "*.GID|";
  }

  bool TakeSetupFolder() {
    const std::string text = w_.setupFolderText();
    // A relative or malformed folder is no folder: removing it would act on whatever the
    // current folder happens to be.
    if (text.empty() || !uninstall::IsAbsolutePath(AddPathDelimiter(text, "B"))) {
      ShowMessageBox(
          "アンセットアップ(アンインストール)フォルダが不明です．\r\nアンセットアップ(アンインストール)は続行できません．",
          "致命的エラー", kMbOk | kMbIconStop);
      return false;
    }
    setupFolder_ = AddPathDelimiter(text, "B");
    G().folders.AppFolder = setupFolder_;
    return true;
  }

  // The user's own folders, which the folder table does not name.
  std::vector<std::string> UserFolders() {
    std::vector<std::string> extra;
    for (int csidl : {plat::csidl::kPersonal, plat::csidl::kAppData, plat::csidl::kProfile}) {
      const std::string f = Sys().shell.specialFolder(csidl);
      if (!f.empty()) extra.push_back(AddPathDelimiter(f, "B"));
    }
    return extra;
  }

  void ForgetProgram() {
    const std::string id = Read("ProgramID", "ID");
    if (id.empty() || G().folders.WindowsFolder.empty()) return;
    const std::string registry = RemovePathDelimiter(G().folders.WindowsFolder, "B") + "\\VOSET98.INI";
    // The section is this install's only while it still names this setup folder; a later
    // install of the same program elsewhere owns it now.
    const std::string folder = ReadProfileValue(id, "Folder", "", registry);
    if (!folder.empty() && !uninstall::SamePathNoCase(AddPathDelimiter(folder, "B"), setupFolder_)) return;
    Sys().profiles.flush();
    Sys().profiles.deleteSection(registry, id);
  }

  void LeaveFoldersToBeRemoved() {
    if (!G().folders.TempFolder.empty()) Sys().files.setCurrentDirectory(G().folders.TempFolder);
  }

  void DeleteFiles() {
    for (int n = 1;; ++n) {
      const uninstall::FileEntry entry = uninstall::SplitFileEntry(Read("DeleteFile", "File" + std::to_string(n)));
      if (entry.path.empty()) break;
      if (!uninstall::IsAbsolutePath(entry.path)) continue;  // not a path any install records
      const plat::ErrorCode code = DecideAndDelete(entry);
      if (code != 0) Fail("<File> ", entry.path, SystemErrorText(static_cast<std::int32_t>(code)));
    }
  }

  plat::ErrorCode DecideAndDelete(const uninstall::FileEntry& entry) {
    const std::string& path = entry.path;
    const uninstall::FileFlags flags = uninstall::ReadFlags(entry.flagWindow);
    const int count = GetSharedCount(path);
    int lowered = 0;
    if (uninstall::NeedsLowering(count, flags)) {
      plat::ErrorCode writeError = 0;
      lowered = ChangeSharedCount(path, false, &writeError);
      // A count that could not be lowered is reported; the file stays for its other users.
      if (writeError != 0 && lowered != 0) Fail("<File> ", path, SystemErrorText(static_cast<std::int32_t>(writeError)));
    }
    const auto& f = G().folders;
    const bool inSystem = (!f.WindowsFolder.empty() && PosNoCase(MapString(f.WindowsFolder, LCMAP_UPPERCASE),
                                                                 MapString(path, LCMAP_UPPERCASE)) > 0) ||
                          (!f.SystemFolder.empty() && PosNoCase(MapString(f.SystemFolder, LCMAP_UPPERCASE),
                                                                MapString(path, LCMAP_UPPERCASE)) > 0);
    switch (uninstall::DecideFile(count, lowered, flags, IsComponentFile(path), inSystem)) {
      case uninstall::FileAction::Keep:
        return 0;
      case uninstall::FileAction::Delete:
        return DeleteWithShell(path);
      case uninstall::FileAction::AskShared:
        if (!uninstall::AnswerIsSticky(w_.answerSlot())) {
          w_.setAnswerSlot("");
          w_.askFourWay(uninstall::SharedQuestion(path));
        }
        return uninstall::AnswerDeletes(w_.answerSlot()) ? DeleteWithShell(path) : 0;
      case uninstall::FileAction::AskConfirm:
        return Ask(uninstall::ConfirmQuestion(path)) ? DeleteWithShell(path) : 0;
      case uninstall::FileAction::AskComponent:
        return Ask(uninstall::ComponentQuestion(path)) ? DeleteWithShell(path) : 0;
    }
    return 0;
  }

  bool Ask(const std::string& question) {
    return ShowMessageBox(question, "ファイル削除の確認", kMbYesNo | kMbIconQuestion) == kIdYes;
  }

  void DeleteShortcuts() {
    for (int n = 1;; ++n) {
      const std::string link = Read("DeleteShortCut", "File" + std::to_string(n));
      if (link.empty()) break;
      if (!uninstall::IsAbsolutePath(link)) continue;
      const plat::ErrorCode code = DeleteWithShell(link);
      if (code != 0) Fail("<ShortCut> ", link, SystemErrorText(static_cast<std::int32_t>(code)));
      // A folder made only for the shortcuts goes when it is empty; the shell's own folders
      // stay, whatever letter case the record spells them in.
      const std::string folder = uninstall::FolderOfPath(link);
      if (folder.empty() || uninstall::IsRootFolder(folder) || uninstall::IsKnownFolder(folder, known_)) continue;
      RemoveFolder(folder, "");
    }
  }

  void RemoveFolders() {
    int last = 0;
    while (!Read("DeleteFolder", "Folder" + std::to_string(last + 1)).empty()) ++last;
    for (int n = last; n >= 1; --n) {
      const std::string folder = AddPathDelimiter(Read("DeleteFolder", "Folder" + std::to_string(n)), "B");
      if (!uninstall::IsAbsolutePath(folder) || uninstall::IsRootFolder(folder) ||
          uninstall::IsKnownFolder(folder, known_)) {
        continue;
      }
      const bool inside = uninstall::PathIsInside(folder, setupFolder_);
      plat::ErrorCode code = RemoveFolder(folder, inside && !setupProtected_ ? out_.extraPatterns : "");
      // The setup folder's whole tree goes in step 13 in delete-all mode.
      if (out_.deleteAll && inside && !setupProtected_) code = 0;
      if (code != 0 && Gone(code, folder)) code = 0;
      if (code != 0) Fail("<Folder> ", folder, SystemErrorText(static_cast<std::int32_t>(code)));
    }
  }

  void DeleteKeys() {
    for (int n = 1;; ++n) {
      const std::string value = Read("DeleteRegistry", "Key" + std::to_string(n));
      if (value.empty()) break;
      const uninstall::RegistryTarget target = uninstall::SplitRegistryValue(value);
      DeleteRegistryKey(target.token, target.path);
    }
  }

  void RestoreAssociations() {
    for (int n = 1;; ++n) {
      const std::string value = Read("RestoreRelate", "Key" + std::to_string(n));
      if (value.empty()) break;
      const uninstall::RelateEntry relate = uninstall::SplitRelate(value);
      if (!uninstall::IsRestorableExtension(relate.extension)) continue;
      std::string previous = relate.previousType;
      const std::string extensionKey = "." + relate.extension;
      {
        RegistryAccess reg(plat::RegRoot::ClassesRoot);
        if (!previous.empty() && reg.KeyExists(extensionKey)) {
          if (reg.OpenKey(extensionKey, false)) reg.WriteString("", previous);
          reg.CloseKey();
        } else {
          previous.clear();
        }
      }
      if (previous.empty()) DeleteRegistryKey("(Class)", extensionKey);
      if (!uninstall::SamePathNoCase(previous, relate.extension + "_auto_file")) {
        DeleteRegistryKey("(Class)", relate.extension + "_auto_file");
      }
    }
  }

  void DeleteUninstallEntry() {
    const std::string key = Read("UnSetupRegistryKey", "Key");
    if (uninstall::IsUninstallEntryKey(key)) DeleteRegistryKey("(Local)", key);
  }

  void RemoveSetupFolder() {
    if (setupProtected_) return;
    plat::ErrorCode code = RemoveFolder(setupFolder_, out_.deleteAll ? "*.*|" : out_.extraPatterns);
    if (code != 0 && Gone(code, setupFolder_)) code = 0;
    if (code == 0) return;
    Fail("<SetupFolder> ", setupFolder_,
         uninstall::SetupFolderReason(code, out_.deleteAll, SystemErrorText(static_cast<std::int32_t>(code))));
  }

  void Summary() {
    if (out_.failureCount == 0) return;
    w_.showStatus("一部の処理に失敗しました．");
    const int answer = ShowMessageBox(
        "アンセットアップ(アンインストール)の過程で，一部の処理が失敗しました．\r詳細を表示しますか？", "警告",
        kMbYesNo | kMbIconExclamation);
    if (answer == kIdYes) w_.showFailureDetails(out_.failureLog);
  }

  void Complete() {
    w_.showStatus("アンセットアップを完了しました．");
    ShowMessageBox("アンセットアップを完了しました．", "完了", kMbOk | kMbIconInformation);
    w_.finishRun();
  }

  uninstall::RunWindows& w_;
  uninstall::RunOutcome out_;
  std::string record_;
  std::string setupFolder_;
  std::vector<std::string> known_;
  bool setupProtected_ = false;
};

}  // namespace

void DeleteRegistryKey(const std::string& token, const std::string& path) {
  if (path.empty()) return;
  const plat::RegRoot root = uninstall::RootOfToken(token);
  if (!uninstall::IsDeletableKey(root, path)) return;
  RegistryAccess reg(root);
  for (int i = 0; i < kMaxKeyDeletions; ++i) {
    if (!reg.KeyExists(path)) break;
    reg.DeleteKey(path);
  }
}

namespace uninstall {

RunOutcome RunUninstall(RunWindows& windows) { return Run(windows).Go(); }

}  // namespace uninstall

}  // namespace setup
