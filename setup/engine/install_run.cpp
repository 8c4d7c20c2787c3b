// The install run: phases 1 to 12 in order, with their texts, pauses, checkpoints and stops.
#include "setup/engine/install_run.h"

#include <ctime>

#include "platform/sys/profile.h"
#include "setup/engine/record_writer.h"
#include "setup/engine/script_entries.h"
#include "setup/support/MBUtils.h"
#include "setup/support/file_primitives.h"
#include "setup/support/globals.h"
#include "setup/support/path_tokens.h"
#include "setup/support/registry_access.h"
#include "setup/support/shared_files.h"
#include "setup/support/shell_delete.h"
#include "setup/support/uIniFile.h"
#include "setup/support/uStrOp.h"

namespace setup {

std::uint32_t DosDateTimeOf(std::uint64_t fileTime) {
  // 100 ns units between 1601-01-01 and 1970-01-01.
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
  if (fileTime < kUnixEpoch) return 0;
  std::time_t secs = static_cast<std::time_t>((fileTime - kUnixEpoch) / 10000000ull);
  std::tm tm{};
#if defined(_WIN32)
  if (gmtime_s(&tm, &secs) != 0) return 0;
#else
  if (!gmtime_r(&secs, &tm)) return 0;
#endif
  int year = tm.tm_year + 1900;
  if (year < 1980) return 0;
  if (year > 2107) return 0xFFFFFFFFu;
  std::uint32_t date = static_cast<std::uint32_t>(((year - 1980) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday);
  std::uint32_t time = static_cast<std::uint32_t>((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2));
  return (date << 16) | time;
}

std::int64_t FileDosDateTime(const std::string& path) {
  plat::FileStamp st;
  if (Sys().files.stamp(path, st) != 0) return -1;
  return DosDateTimeOf(st.lastWrite);
}

namespace {

struct RunEnded {};  // the run returns: aborted, or stopped on the user's decision

const char* const kCannotContinue = "セットアップを続行できませんでした．";

bool FileExists(const std::string& path) {
  std::uint32_t a = 0;
  return Sys().files.getAttributes(path, a) == 0 && (a & plat::attr::kDirectory) == 0;
}

std::string ReadScript(const std::string& section, const std::string& key, const std::string& def = "") {
  return ReadProfileValue(section, key, def, G().startup.ScriptPath);
}

std::string RootName(plat::RegRoot root) {
  switch (root) {
    case plat::RegRoot::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case plat::RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case plat::RegRoot::Users: return "HKEY_USERS";
    default: return "HKEY_CURRENT_USER";
  }
}

std::string ErrorText(plat::ErrorCode code) { return SystemErrorText(static_cast<std::int32_t>(code)); }

// Size of a file by directory search, by the run's rule: false when the search fails;
// otherwise count receives the size (a size that reads negative as 32 bits counts 0 and
// clears sizeKnown, an empty file counts 1).
bool SearchSize(const std::string& path, std::int64_t& count, bool& sizeKnown) {
  std::vector<plat::DirEntry> found;
  if (Sys().files.findFiles(path, found) != 0 || found.empty()) return false;
  std::uint64_t size = found.front().size;
  if (size > 0x7FFFFFFFull) {
    count = 0;
    sizeKnown = false;
  } else {
    count = size == 0 ? 1 : static_cast<std::int64_t>(size);
  }
  return true;
}

class Run {
 public:
  explicit Run(InstallWindows& w) : w_(w) {}

  void Execute() {
    Start();
    ReadAssociations();
    MeasureRequiredSize();
    if (s_.sizeProgress) CheckFreeSpace();
    SettleSetupFolder();
    MakeFolders();
    CopyFiles();
    MakeShortcuts();
    WriteRegistryValues();
    WriteProfileEntries();
    TakeOverDeleteRegistry();
    MakeAssociations();
    RecordUninstallInformation(s_, w_);
    Complete();
  }

 private:
  void Show(const std::string& text) {
    w_.SetMessage(text);
    w_.ProcessMessages();
  }
  void Checkpoint() {
    if (!w_.MainEnabled()) throw RunEnded{};
  }
  void Pause() { w_.Sleep(G().startup.SetupSpeed < 1 ? 1 : G().startup.SetupSpeed); }
  [[noreturn]] void Stop() {
    ShowMessageBox(kCannotContinue, "セットアップ中止", mb::kOk | mb::kIconStop);
    StopQuietly();
  }
  [[noreturn]] void StopQuietly() {
    w_.EnableBackground();
    w_.SetMainModalResult(1);
    throw RunEnded{};
  }

  void Start() {
    s_.overwrite = w_.OverwriteChecked();
    for (int i = 0; i < 4; ++i) s_.shortcutBoxes[i] = w_.ShortcutChecked(i);
    G().startup.RestartRequested = false;
    s_.sizeProgress = true;
    w_.HideMain();
    w_.Sleep(500);
    w_.ShowStatus();
    w_.PrepareMainForRun();
    Show("セットアップを開始します．．．");
    w_.Sleep(1000);
  }

  // Phase 1.
  void ReadAssociations() {
    Show("セットアップの情報を作成しています．．．");
    for (int n = 1; n <= 20; ++n) {
      std::string name = ReadScript("Relate", "Name" + std::to_string(n));
      if (name.empty()) continue;
      std::string file = ReadScript("Relate", "File" + std::to_string(n));
      if (file.empty()) continue;
      s_.associations.emplace_back(name, file);
    }
    Pause();
  }

  // Phase 2.
  void MeasureRequiredSize() {
    Show("セットアップに必要な容量を調べています．．．");
    Checkpoint();
    Pause();
    for (int n = 1;; ++n) {
      std::string entry = ReadScript("CopyFile", "File" + std::to_string(n));
      if (entry.empty()) break;
      ++s_.entryCount;
      std::string source = G().startup.ProgramFolder + SizeSourceName(entry);
      if (!FileExists(source)) {
        s_.sizeProgress = false;
        continue;
      }
      std::int64_t count = 0;
      if (!SearchSize(source, count, s_.sizeProgress)) {
        s_.sizeProgress = false;
        continue;
      }
      s_.requiredSize += count;
    }
  }

  // Phase 3.
  void CheckFreeSpace() {
    Show("ディスクの空き容量をチェックしています．．．");
    std::string folder = w_.FolderText();
    std::string drive;
    if (folder.size() >= 2 && folder[1] == ':') {
      drive = folder.substr(0, 2);
    } else if (folder.compare(0, 2, "\\\\") == 0) {
      // Server and share: up to the "\" after the share name.
      std::size_t server = folder.find('\\', 2);
      std::size_t share = server == std::string::npos ? server : folder.find('\\', server + 1);
      drive = share == std::string::npos ? folder : folder.substr(0, share);
    }
    std::string root = drive + "\\";
    std::uint64_t freeBytes = 0;
    bool known = Sys().files.freeSpaceExtended(root, freeBytes) == 0 ||
                 Sys().files.freeSpaceClusters(root, freeBytes) == 0;
    // requiredSize is a sum of non-negative counts, so the unsigned comparison is exact.
    if (known && freeBytes > static_cast<std::uint64_t>(s_.requiredSize)) {
      Pause();
      return;
    }
    std::string question =
        known ? std::string("ディスクの空き容量が不足しているため，エラーになる可能性があります．\rこのままセットアップを続行しますか？")
              : "ディスクの空き容量取得関数が失敗しました．\rセットアップに必要なディスク容量は " +
                    std::to_string(s_.requiredSize) + " Byteです．" + "\r" +
                    "空き容量があるようであれば，セットアップを続行してください．" + "\r" + "\r" +
                    "セットアップを続行しますか？";
    if (ShowMessageBox(question, "空き容量不足", mb::kYesNo | mb::kIconQuestion) != mb::kIdYes) Stop();
    Pause();
  }

  // Phase 4.
  void SettleSetupFolder() {
    Show("セットアップフォルダをチェックしています．．．");
    Checkpoint();
    s_.setupFolder = AddPathDelimiter(w_.FolderText(), "B");
    G().folders.AppFolder = s_.setupFolder;
    if (!FolderExists(s_.setupFolder)) {
      bool yes = ShowMessageBox(s_.setupFolder + "\r" + "\r" + "このフォルダは存在しません．作成してもよろしいですか？",
                                "フォルダ作成", mb::kYesNo | mb::kIconQuestion) == mb::kIdYes;
      if (yes && !CreateFolderPath(s_.setupFolder)) {
        ShowMessageBox("セットアップフォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．", "致命的エラー",
                       mb::kOk | mb::kIconStop);
        yes = false;
      }
      if (!yes) Stop();
    }
    G().folders.SetupDrive = s_.setupFolder.substr(0, 2) + "\\";
    s_.recordPath = s_.setupFolder + "UNSETUP.INI";
    const std::string previous = G().startup.WorkFolder + "UNSETUPB.INI";
    if (FileExists(s_.recordPath)) CopyFileReplace(s_.recordPath, previous);

    for (int n = 1; n <= 20; ++n) {
      std::string value = ReadProfileValue("RestoreRelate", "Key" + std::to_string(n), "", s_.recordPath);
      if (value.empty()) continue;
      const std::string normal = RecordKeyNormal(value);
      for (std::string& slot : s_.restoreRelate) {
        if (!slot.empty() && RecordKeyNormal(slot) == normal) break;
        if (slot.empty()) {
          slot = value;
          break;
        }
      }
    }
    if (FileExists(previous)) {
      Seed(previous, "DeleteFolder", "Folder", s_.deleteFolders);
      Seed(previous, "DeleteFile", "File", s_.deleteFiles);
      Seed(previous, "DeleteShortCut", "File", s_.deleteShortcuts);
      Seed(previous, "DeleteRegistry", "Key", s_.deleteRegistry);
    }
    w_.SetAbortEnabled(true);
  }

  static void Seed(const std::string& file, const std::string& section, const std::string& keyWord,
                   std::string& list) {
    for (int n = 1;; ++n) {
      std::string value = ReadProfileValue(section, keyWord + std::to_string(n), "", file);
      if (value.empty()) break;
      list += value + "|";
    }
  }

  // Phase 5.
  void MakeFolders() {
    for (int n = 1;; ++n) {
      std::string raw = ReadScript("MakeFolder", "Folder" + std::to_string(n));
      if (raw.empty()) break;
      std::string folder = ExpandPathTokens(AddPathDelimiter(raw, "B"));
      Show("フォルダを作成しています．．．\rCreating -> " + folder);
      Checkpoint();
      plat::ErrorCode code = Sys().files.createDirectory(folder);
      if (code == 0 || code == plat::err::kAlreadyExists) {
        s_.deleteFolders += folder + "|";
      } else {
        s_.AddFailure("<Folder> ", folder, ErrorText(code));
      }
      Pause();
    }
  }

  // Phase 6.
  std::string ExpandCompressedFile(const std::string& source, std::string target) {
    if (PathLastComponent(target) == "AUTO.EXT") {
      std::string stored;
      std::string name = Sys().files.lzExpandedName(source, stored) == 0 && !stored.empty()
                             ? PathLastComponent(stored)
                             : PathLastComponent(source);
      target = PathFolderPart(target) + "\\" + MapString(name, LCMAP_UPPERCASE);
    }
    const std::string expansion = G().folders.TempFolder + "EXPAND.VST";
    if (FileExists(expansion)) DeleteWithShell(expansion);
    Sys().files.lzExpand(source, expansion);  // a failed expansion shows up as a failed copy
    return expansion + "," + target;
  }

  void CopyFiles() {
    w_.ShowProgressFrame(true);
    const std::string& programFolder = G().startup.ProgramFolder;
    for (int n = 1;; ++n) {
      std::string raw = ReadScript("CopyFile", "File" + std::to_string(n));
      if (raw.empty()) break;
      CopyEntry e = ParseCopyEntry(ExpandPathTokens(raw));
      std::string source = programFolder + e.sourceName;
      std::string target = e.target;

      if (e.diskChange) {
        ++s_.diskNumber;
        for (;;) {
          int answer = ShowMessageBox(std::to_string(s_.diskNumber) + "枚目のディスクに交換してください．",
                                      "ディスク交換", mb::kOkCancel | mb::kIconInformation);
          if (answer == mb::kIdCancel) {
            ShowMessageBox(kCannotContinue, "致命的エラー", mb::kOk | mb::kIconStop);
            StopQuietly();
          }
          if (FileExists(source)) break;
        }
      }

      if (!FileExists(source)) {
        Show("ファイルが存在しないためコピーをスキップしています．．．\rSkipping -> " + target);
        Checkpoint();
        s_.AddFailure("<File> ", source, "コピー元のファイルが見つかりません．\r\n");
        ++s_.processed;
      } else {
        CopyOne(source, target, e.flags);
      }

      int percent = 0;
      if (s_.sizeProgress) {
        percent = s_.requiredSize > 0
                      ? static_cast<int>(static_cast<double>(s_.copiedSize) / static_cast<double>(s_.requiredSize) * 100.0)
                      : 100;
      } else {
        percent = s_.entryCount > 0 ? n * 100 / s_.entryCount : 100;
      }
      int position = w_.SetProgressPosition(percent);
      w_.SetProgressLabel(std::to_string(position) + "%(" + std::to_string(s_.processed) + "/" +
                          std::to_string(s_.entryCount) + ")");
      w_.ProcessMessages();
      Checkpoint();
      Pause();
    }
    w_.ShowProgressFrame(false);
    s_.deleteFiles += s_.recordPath + "|";
  }

  void CopyOne(std::string source, std::string target, const std::string& flags) {
    const std::string originalSource = source;
    bool expanded = false;
    if (EndsWithChar(source, '_')) {
      expanded = true;
      std::string result = ExpandCompressedFile(source, target);
      source = BeforeComma(result);
      target = AfterComma(result);
    }
    Show("ファイルをコピーしています．．．\rCopying -> " + target);
    if (!w_.MainEnabled()) {
      if (expanded) DeleteWithShell(source);
      throw RunEnded{};
    }

    bool skip = false;
    if (FileExists(target)) {
      if (!s_.overwrite) {
        skip = ShowMessageBox(target + "\r" + "\r" + "このファイルは既に存在します．" + "\r" + "上書きしてもよろしいですか？",
                              "上書き確認", mb::kYesNo | mb::kIconQuestion) == mb::kIdNo;
      } else {
        skip = FileDosDateTime(target) >= FileDosDateTime(source);
      }
    }
    if (PosNoCase("/S", flags) > 0) {
      plat::ErrorCode countError = 0;
      ChangeSharedCount(target, true, &countError);
      if (countError != 0) s_.AddFailure("<SharedFile> ", target, ErrorText(countError));
    }
    if (PosNoCase("/W", flags) > 0) skip = false;
    plat::ErrorCode result = skip ? 0 : CopyFileReplace(source, target);
    ++s_.processed;
    if (PosNoCase("/R", flags) > 0 && FileExists(target)) RegisterComponent(target, true);
    if (result != 0) {
      s_.AddFailure("<File> ", target, ErrorText(result));
    } else {
      s_.deleteFiles += target + flags + "|";
    }
    if (expanded) {
      DeleteWithShell(source);
      source = originalSource;
    }
    if (s_.sizeProgress) {
      std::int64_t count = 0;
      if (!SearchSize(source, count, s_.sizeProgress)) {
        s_.sizeProgress = false;
        ShowMessageBox("ファイルサイズの取得に失敗したため，進行状況の表示方法を変更します．", "内部エラー",
                       mb::kOk | mb::kIconExclamation);
      } else {
        s_.copiedSize += count;
      }
    }
  }

  // Phase 7.
  void MakeShortcuts() {
    static const ShortcutKind kBoxes[4] = {ShortcutKind::Desktop, ShortcutKind::StartMenu, ShortcutKind::StartUp,
                                           ShortcutKind::SendTo};
    for (int n = 1;; ++n) {
      std::string make = ReadScript("ShortCut", "Make" + std::to_string(n));
      std::string name = ReadScript("ShortCut", "Name" + std::to_string(n), "Default");
      ShortcutKind kind = ShortcutKindOf(name);
      if (make.empty()) break;
      bool wanted = true;
      for (int b = 0; b < 4; ++b)
        if (kind == kBoxes[b]) wanted = s_.shortcutBoxes[b];
      if (!wanted) continue;

      std::string target = ExpandPathTokens(make);
      std::string arguments;
      if (MBPos(",", target) > 0) {
        arguments = AfterComma(target);
        target = BeforeComma(target);
      }
      std::string link = name == "Default" ? PathLastComponent(target) : name;
      if (MBPos("(", link) == 0 && MBPos(")", link) == 0) link = "(Sta)" + link;
      link = ExpandPathTokens(link);
      std::string working;
      if (MBPos(",", link) > 0) {
        working = AfterComma(link);
        link = BeforeComma(link);
      }
      Show("ショートカットを作成しています．．．\rCreateTarget -> " + target + "\r" + "Creating -> " +
           RemovePathDelimiter(link, "T"));
      Checkpoint();
      std::string created = MakeShortcut(target, link, working, arguments);
      Pause();
      if (!created.empty()) s_.deleteShortcuts += created + "|";
    }
  }

  std::string MakeShortcut(const std::string& target, const std::string& link, std::string working,
                           const std::string& arguments) {
    std::string linkFile = PosNoCase(".lnk", link) > 0 ? link : link + ".lnk";
    if (working.empty() || !FolderExists(working)) working = PathFolderPart(target);
    working = AddPathDelimiter(working, "B");
    std::string linkFolder = PathFolderPart(linkFile);
    if (!linkFolder.empty() && !FolderExists(linkFolder)) CreateFolderPath(linkFolder);
    if (PosNoCase(".LNK", target) > 0) {
      CopyFileReplace(target, linkFile);
      return linkFile;
    }
    plat::ShellLinkData data;
    data.target = target;
    data.workingDirectory = working;
    data.arguments = arguments;
    plat::ErrorCode code = Sys().shell.createShellLink(linkFile, data);
    if (code != 0) {
      // Nothing was made, so nothing is recorded; the run goes on with the next shortcut.
      s_.AddFailure("<ShortCut> ", linkFile, ErrorText(code));
      return std::string();
    }
    if (!FileExists(linkFile) && linkFile.size() >= 4) return linkFile.substr(0, linkFile.size() - 4) + ".pif";
    return linkFile;
  }

  // Phase 8.
  void WriteRegistryValues() {
    for (int n = 1;; ++n) {
      std::string key = ReadScript("Registry", "Key" + std::to_string(n));
      std::string name = ReadScript("Registry", "Name" + std::to_string(n));
      std::string value = ReadScript("Registry", "Value" + std::to_string(n));
      if (value.empty()) break;
      Show("レジストリを設定しています．．．");
      Checkpoint();
      RegistryKeySpec where = ParseRegistryKey(key);
      const std::string shownKey = RootName(where.root) + (where.path.empty() ? "" : "\\" + where.path);
      RegistryAccess reg(where.root);
      plat::ErrorCode code = reg.CreateKey("\\" + where.path);
      if (code == 0 && !reg.OpenKey("\\" + where.path, true)) code = plat::err::kAccessDenied;
      if (code != 0) {
        s_.AddFailure("<Registry> ", shownKey, ErrorText(code));
        continue;
      }
      RegistryValueSpec parsed = ParseRegistryValue(value);
      switch (parsed.kind) {
        case RegistryValueKind::String: code = reg.WriteString(name, parsed.data); break;
        case RegistryValueKind::ExpandString: code = reg.WriteExpandString(name, parsed.data); break;
        case RegistryValueKind::Dword:
          code = reg.WriteInteger(name, static_cast<std::int32_t>(ParseDwordData(parsed.data)));
          break;
        case RegistryValueKind::Binary: {
          std::string bytes;
          if (!ParseBinaryData(parsed.data, bytes)) {
            reg.CloseKey();
            s_.AddFailure("<Registry> ", shownKey + " : " + name, "バイナリ値の書式が正しくありません．\r\n");
            continue;
          }
          code = Sys().registry.writeValue(where.root, where.path, name, plat::RegValue{plat::regtype::kBinary, bytes});
          break;
        }
      }
      reg.CloseKey();
      if (code != 0) s_.AddFailure("<Registry> ", shownKey + " : " + name, ErrorText(code));
    }
  }

  // Phase 9.
  void WriteProfileEntries() {
    for (int n = 1;; ++n) {
      std::string data = ReadScript("IniFile", "Data" + std::to_string(n));
      if (data.empty()) break;
      Show("Iniファイルを設定しています．．．");
      Checkpoint();
      IniEntry entry;
      if (ParseIniEntry(ExpandPathTokens(data), entry)) WriteProfileValue(entry.section, entry.key, entry.value, entry.file);
    }
  }

  void TakeOverDeleteRegistry() {
    for (int n = 1;; ++n) {
      std::string key = ReadScript("DeleteRegistry", "Key" + std::to_string(n));
      if (key.empty()) break;
      s_.deleteRegistry += key + "|";
    }
  }

  // Phase 10.
  void MakeAssociations() {
    for (const auto& pair : s_.associations) {
      Show("関連付けを設定しています．．．");
      Checkpoint();
      AssociationSpec a = ParseAssociation(pair.first, ExpandPathTokens(pair.second));
      if (ShowMessageBox("拡張子 *." + a.extension + " を" + "\r" + a.iconPath + "\r" + "に関連付けします．よろしいですか？",
                         "関連付けの確認", mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        continue;
      const std::string icon = a.iconPath + "," + a.iconIndex;
      const std::string extKey = "." + a.extension;
      {
        RegistryAccess reg(plat::RegRoot::ClassesRoot);
        reg.OpenKey("\\" + extKey, true);
        // The earlier file type is kept once per extension (an exact match, so "xt" does not
        // hide behind an earlier "txt"); a 21st extension has no slot and is not recorded.
        const std::string normal = RecordKeyNormal(a.extension);
        bool known = false;
        for (const std::string& slot : s_.restoreRelate)
          if (!slot.empty() && RecordKeyNormal(BeforeComma(slot)) == normal) known = true;
        if (!known) {
          for (std::string& slot : s_.restoreRelate) {
            if (!slot.empty()) continue;
            std::string earlier;
            if (reg.HasCurrentKey() && reg.ValueExists("") && reg.ReadString("", earlier) != 0) earlier.clear();
            slot = a.extension + "," + earlier;
            break;
          }
        }
        reg.CloseKey();
      }
      const std::string type = a.extension + "_auto_file";
      const std::pair<std::string, std::string> layout[4] = {
          {extKey, type},
          {type, a.description},
          {type + "\\DefaultIcon", icon},
          {type + "\\shell\\" + a.verb + "\\command", a.command},
      };
      RegistryAccess reg(plat::RegRoot::ClassesRoot);
      for (const auto& kv : layout) {
        plat::ErrorCode code = reg.OpenKey("\\" + kv.first, true) ? reg.WriteString("", kv.second)
                                                                   : plat::err::kAccessDenied;
        reg.CloseKey();
        if (code != 0) s_.AddFailure("<Registry> ", "HKEY_CLASSES_ROOT\\" + kv.first, ErrorText(code));
      }
    }
  }

  // Phase 12.
  void Complete() {
    if (s_.failureCount != 0) {
      Show("セットアップで一部の処理が失敗しました．");
      if (ShowMessageBox("フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？", "警告",
                         mb::kYesNo | mb::kIconExclamation) == mb::kIdYes) {
        w_.ShowFailureDetails(s_.failureLog);
        for (;;) {
          w_.ProcessMessages();
          if (!w_.EventButtonEnabled()) break;
          w_.Sleep(200);
        }
        w_.HideMain();
        w_.Sleep(500);
        w_.ShowStatus();
      }
    }
    const std::string execute = ReadScript("ExecuteFile", "File");
    if (execute != "WINDOWS_REBOOT") {
      std::string message = "セットアップが完了しました．";
      Show(message);
      if (PosNoCase("Setup Only.", G().startup.UnSetupTitle) == 0)
        message += std::string("\r") + "\r" + "プログラムのアンセットアップ(アンインストール)は，" + "\r" +
                   "「アプリケーションの追加と削除」から行ってください．";
      ShowMessageBox(message, "完了", mb::kOk | mb::kIconInformation);
    }
    if (!execute.empty()) {
      if (execute == "WINDOWS_REBOOT") {
        G().startup.RestartRequested = true;
      } else {
        std::string file = ExpandPathTokens(execute);
        std::string parameters;
        if (MBPos(",", file) > 0) {
          parameters = AfterComma(file);
          file = BeforeComma(file);
        }
        if (Sys().shell.execute("open", file, parameters, "") != 0)
          ShowMessageBox(
              "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\rプログラム提供者へご報告ください．",
              "警告", mb::kOk | mb::kIconExclamation);
      }
    }
    w_.EnableBackground();
    w_.CloseStatus();
    w_.SetMainModalResult(1);
  }

  InstallWindows& w_;
  InstallState s_;
};

}  // namespace

void InstallRun(InstallWindows& windows) {
  Run run(windows);
  try {
    run.Execute();
  } catch (const RunEnded&) {
    // Aborted or stopped: everything made so far stays, nothing is recorded.
  }
}

}  // namespace setup
