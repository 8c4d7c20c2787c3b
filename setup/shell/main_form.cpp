// The main window: start-up on its first activation, the pages, the action and end buttons,
// the close question and the removal of the work folders when it closes.
#include <string>
#include <vector>

#include "setup/shell/forms.h"
#include "setup/shell/paths.h"
#include "setup/support/file_primitives.h"
#include "setup/support/globals.h"
#include "setup/support/path_tokens.h"
#include "setup/support/shell_delete.h"
#include "setup/support/uIniFile.h"
#include "setup/support/uStrOp.h"

namespace setup {

namespace {

const char kCaptionStartSetup[] = "セットアップ開始(&S)";
const char kCaptionStartUnsetup[] = "アンセットアップ開始(&S)";
const char kCaptionContinue[] = "続行(&C)";
const char kCaptionSetupContinue[] = "セットアップ続行(&C)";
const char kCaptionEndOnly[] = "終了(&E)";

bool FileExists(const std::string& path) {
  std::uint32_t attributes = 0;
  return Sys().files.getAttributes(path, attributes) == 0 && !(attributes & plat::attr::kDirectory);
}

std::string FolderWithDelimiter(const std::string& folder) { return AddPathDelimiter(folder, "B"); }

// The registry reference of [DefaultFolder] ReferRegistry: root token, key path, "," value name.
// Empty when the key or the value is missing, or the value is not a text.
std::string ReadRegistryReference(const std::string& reference) {
  std::string left = reference, valueName;
  int comma = PosNoCase(",", reference);
  if (comma > 0) {
    left = StrLeft(reference, comma - 1);
    valueName = StrMidFrom(reference, comma + 1);
  }
  std::string token = "(Cuser)", keyPath = left;
  if (left.size() >= 7 && left[0] == '(' && left[6] == ')') {
    token = left.substr(0, 7);
    keyPath = StrMidFrom(left, 8);
  }
  plat::RegRoot root = plat::RegRoot::CurrentUser;
  if (token == "(Class)") root = plat::RegRoot::ClassesRoot;
  else if (token == "(Local)") root = plat::RegRoot::LocalMachine;
  else if (token == "(Users)") root = plat::RegRoot::Users;
  keyPath = RemovePathDelimiter(RemovePathDelimiter(keyPath, "T"), "B");
  if (!Sys().registry.keyExists(root, keyPath)) return "";
  plat::RegValue value;
  // A value of another type is no folder; reading it as text would fail, so it is passed over.
  if (Sys().registry.readValue(root, keyPath, valueName, value) != 0 || !value.isString()) return "";
  std::string text = value.data;
  if (auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

std::string ProgramFilesFolder(const std::string& windowsFolder) {
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  std::string value;
  if (Sys().registry.createKey(plat::RegRoot::LocalMachine, key) == 0) {
    plat::RegValue v;
    if (Sys().registry.readValue(plat::RegRoot::LocalMachine, key, "ProgramFilesDir", v) == 0 && v.isString())
      value = v.data.substr(0, v.data.find('\0'));
  }
  std::string folder = FolderWithDelimiter(value);
  if (folder == "\\" || !FolderExists(folder)) folder = StrLeft(windowsFolder, 2) + "\\Program Files\\";
  return folder;
}

std::vector<std::string> ReadmeLines(const std::string& data) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < data.size(); ++i) {
    char c = data[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

void TfrmMain::ShowReadmePage(bool readme) {
  fraReadme.setVisible(readme);
  grpMessage.setVisible(!readme);
  grpSetupFolder.setVisible(!readme);
  grpOption.setVisible(!readme);
}

void TfrmMain::ShowStartupError() {
  lblMessage.setCaption(StartupErrors + "\r" + "セットアップ・アンセットアップ(アンインストール)は続行できません．");
  btnEvent.setCaption(kCaptionStartSetup);
  btnEvent.setEnabled(false);
  btnEnd.setCaption(kCaptionEndOnly);
  btnEnd.setEnabled(true);
  ShowReadmePage(false);
}

void TfrmMain::FormActivate() {
  if (!btnEvent.caption().empty()) return;
  Globals& g = G();
  FolderTable& ft = g.folders;
  StartupValues& sv = g.startup;
  plat::SystemInfo& sys = Sys().system;
  StartupErrors.clear();
  const std::string argument = FirstArgument;

  disableSystemClose();
  sv.PlatformId = sys.platformId();
  sv.ProgramFolder = FolderWithDelimiter(FolderPart(sys.programPath()));

  std::string temp = sys.tempDirectory();
  ft.TempFolder = temp.empty() ? sv.ProgramFolder : FolderWithDelimiter(temp);
  std::string windows = sys.windowsDirectory();
  if (windows.empty()) StartupErrors += "【致命的エラー  →  Windowsフォルダ取得失敗】\r";
  ft.WindowsFolder = FolderWithDelimiter(windows);
  std::string system = sys.systemDirectory();
  if (system.empty()) StartupErrors += "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r";
  ft.SystemFolder = FolderWithDelimiter(system);
  ft.AppFolder = "(App)";
  ft.ProgramFilesFolder = ProgramFilesFolder(ft.WindowsFolder);
  ft.BootDrive = StrLeft(ft.WindowsFolder, 2) + "\\";
  ft.SourceDrive = StrLeft(sv.ProgramFolder, 2) + "\\";

  ft.StartMenuFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kStartMenu));
  ft.ProgramsFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kPrograms));
  ft.DesktopFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kDesktopDirectory));
  ft.StartupFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kStartup));
  ft.SendToFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kSendTo));
  if (sv.PlatformId == 2) {
    ft.CommonStartMenuFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kCommonStartMenu));
    ft.CommonProgramsFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kCommonPrograms));
    ft.CommonDesktopFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kCommonDesktopDirectory));
    ft.CommonStartupFolder = FolderWithDelimiter(GetSpecialFolder(plat::csidl::kCommonStartup));
  } else {
    ft.CommonStartMenuFolder = ft.StartMenuFolder;
    ft.CommonProgramsFolder = ft.ProgramsFolder;
    ft.CommonDesktopFolder = ft.DesktopFolder;
    ft.CommonStartupFolder = ft.StartupFolder;
  }

  const bool uninstall = FileNamePart(argument) == "UNSETUP.INI";
  sv.SetupMode = uninstall ? "UNSETUP" : "SETUP";

  bool reused = true;
  for (int n = 1; n <= 99; ++n) {
    std::string candidate = ft.TempFolder + "VSTMP" + std::to_string(n) + "\\";
    sv.WorkFolder = candidate;
    if (!FolderExists(candidate)) {
      CreateFolderPath(candidate);
      reused = false;
      break;
    }
  }
  // The last folder is reused when all exist; emptied first, so that an old copy of a script or
  // record in it can never stand in for a missing one.
  if (reused) DeleteWithShell(sv.WorkFolder + "*.*");

  if (uninstall) {
    sv.ScriptPath = sv.WorkFolder + "UNSETUP.INI";
    CopyFileReplace(argument, sv.ScriptPath);
  } else {
    sv.ScriptPath = sv.WorkFolder + "SETUP.INI";
    if (FileExists(sv.ProgramFolder + "SETUP.INI")) CopyFileReplace(sv.ProgramFolder + "SETUP.INI", sv.ScriptPath);
  }
  if (!FileExists(sv.ScriptPath)) StartupErrors += "【致命的エラー  →  iniファイル読み込み失敗】\r";
  if (!StartupErrors.empty()) {
    ShowStartupError();
    return;
  }

  const std::string& script = sv.ScriptPath;
  auto read = [&script](const char* section, const char* key, const std::string& def) {
    return ReadProfileValue(section, key, def, script);
  };

  std::string speedText = read("Extend", "SetupSpeed", "400");
  std::optional<std::int32_t> speed = ParseDecimal(speedText);
  if (!speed) {
    // The pause between steps must be a whole number; without one the runs cannot be paced.
    StartupErrors += "【致命的エラー  →  [Extend] SetupSpeed の値 \"" + speedText + "\" は整数ではありません】\r";
    ShowStartupError();
    return;
  }
  sv.SetupSpeed = *speed < 1 ? 1 : *speed;
  sv.SetupTitle = read("Title", "Setup", "Vornik Setup 98");

  if (frmBack) {
    for (ui::Label* title : {&frmBack->lblBackTitle1, &frmBack->lblBackTitle2}) {
      title->setAutoSize(false);
      title->setWidth(frmBack->width() - 24);
    }
  }

  sv.UnSetupTitle = read("Title", "UnSetup", sv.SetupTitle);
  std::string folder;
  if (!uninstall) {
    folder = read("DefaultFolder", "Folder", "(Prg)\\");
    sv.ProgramID = read("ProgramID", "ID", "");
    if (!sv.ProgramID.empty()) {
      std::string registry = RemovePathDelimiter(ft.WindowsFolder, "B") + "\\VOSET98.INI";
      folder = ReadProfileValue(sv.ProgramID, "Folder", folder, registry);
    }
    std::string reference = read("DefaultFolder", "ReferRegistry", "");
    if (!reference.empty()) {
      std::string found = ReadRegistryReference(reference);
      if (!found.empty()) folder = found;
    }
  } else {
    folder = read("SetupFolder", "Folder", "");
  }
  txtFolder.setText(FolderWithDelimiter(ExpandPathTokens(folder)));

  const bool optionsEnabled = read("Extend", "Enabled", "") != "False";
  if (!uninstall) {
    for (int n = 1;; ++n) {
      std::string name = read("ShortCut", ("Name" + std::to_string(n)).c_str(), "");
      if (name.empty()) break;
      if (PosNoCase("Dsk)", name) > 0) chkSCutDesktop.setEnabled(optionsEnabled);
      if (PosNoCase("Sta)", name) > 0) chkSCutStartMenu.setEnabled(optionsEnabled);
      if (PosNoCase("Sup)", name) > 0) chkSCutStartUp.setEnabled(optionsEnabled);
      if (PosNoCase("Sen)", name) > 0) chkSCutSendTo.setEnabled(optionsEnabled);
    }
    sv.MessageText.clear();
    for (int n = 1; n <= 5; ++n) sv.MessageText += read("TopMessage", ("Message" + std::to_string(n)).c_str(), "") + "\r";
    if (sv.MessageText == "\r\r\r\r\r") sv.MessageText = "セットアップを行います．\r";
    sv.MessageText += "\r";
    sv.MessageText += "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
  } else {
    sv.MessageText =
        "アンセットアップ(アンインストール)を行います．\r\r開始するには，「アンセットアップ開始(S)」を選択してください．\r";
  }
  lblMessage.setCaption(sv.MessageText);
  if (!uninstall) {
    txtFolder.setEnabled(optionsEnabled);
    btnRefer.setEnabled(optionsEnabled);
    chkOverWrite.setEnabled(optionsEnabled);
  }
  const std::string& title = uninstall ? sv.UnSetupTitle : sv.SetupTitle;
  setCaption(title);
  if (frmBack) {
    frmBack->lblBackTitle1.setCaption(title);
    frmBack->lblBackTitle2.setCaption(title);
  }

  if (uninstall) {
    PrepareUninstallPage(read("UnSetupOption", "CheckBox", "0,0,0,0"));
    return;
  }

  std::string readme = sv.ProgramFolder + RemovePathDelimiter(read("Readme", "File", ""), "T");
  std::string data;
  if (FileExists(readme) && Sys().files.readFile(readme, data) == 0) {
    txtReadme.setLines(ReadmeLines(data));
    fraReadme.setCaption(read("Readme", "Title", ""));
    std::string bars = read("Readme", "ScrollBars", "ssVertical");
    if (bars == "ssVertical") txtReadme.setScrollBars(ui::ScrollBars::Vertical);
    else if (bars == "ssHorizontal") txtReadme.setScrollBars(ui::ScrollBars::Horizontal);
    else if (bars == "ssBoth") txtReadme.setScrollBars(ui::ScrollBars::Both);
    btnEvent.setCaption(kCaptionSetupContinue);
    btnEvent.setEnabled(true);
    btnEnd.setEnabled(true);
    ShowReadmePage(true);
    btnEvent.setFocus();
  } else {
    btnEvent.setCaption(kCaptionStartSetup);
    btnEvent.setEnabled(true);
    btnEnd.setEnabled(true);
    ShowReadmePage(false);
  }
}

void TfrmMain::PrepareUninstallPage(const std::string& checkBox) {
  grpSetupFolder.setCaption("アンセットアップ(アンインストール)フォルダ");
  txtFolder.setReadOnly(true);
  txtFolder.setEnabled(true);
  btnRefer.setEnabled(false);
  btnEvent.setCaption(kCaptionStartUnsetup);
  btnEvent.setEnabled(true);
  btnEnd.setCaption("アンセットアップ終了(&E)");
  btnEnd.setEnabled(true);
  grpOption.setCaption("アンセットアップ(アンインストール)オプション");
  chkOverWrite.setVisible(false);
  fraShortCut.setCaption("ファイルの追加削除");
  fraShortCut.setBounds(fraShortCut.left(), chkOverWrite.top(), fraShortCut.width(), grpOption.height() - 24);
  if (checkBox == "DeleteAll") {
    chkSCutDesktop.setCaption("アンセットアップ(アンインストール)フォルダ以下の全ファイル・フォルダ");
    chkSCutDesktop.setWidth(fraShortCut.width() - 16);
    chkSCutDesktop.setChecked(true);
    chkSCutDesktop.setEnabled(true);
    for (ui::CheckBox* box : {&chkSCutStartMenu, &chkSCutStartUp, &chkSCutSendTo}) {
      box->setChecked(false);
      box->setVisible(false);
    }
  } else {
    auto flag = [&checkBox](std::size_t position) {
      return checkBox.size() >= position && checkBox[position - 1] == '1';
    };
    chkSCutDesktop.setCaption("*.INIファイル");
    chkSCutDesktop.setChecked(flag(1));
    chkSCutDesktop.setEnabled(true);
    chkSCutStartMenu.setCaption("*.GIDファイル");
    chkSCutStartMenu.setChecked(flag(3));
    chkSCutStartMenu.setEnabled(true);
    chkSCutStartUp.setCaption("");
    chkSCutStartUp.setChecked(flag(5));
    chkSCutStartUp.setEnabled(false);
    chkSCutSendTo.setCaption("");
    chkSCutSendTo.setChecked(flag(7));
    chkSCutSendTo.setEnabled(false);
  }
  lblUnSetupInfo.setTop(chkSCutDesktop.top() + chkSCutDesktop.height() + 2);
  lblUnSetupInfo.setCaption(
      "　アンセットアップ(アンインストール)フォルダの中で，コピーされたファイル以外に追加削除するファイルをチェック(選択)してください．");
  lblUnSetupInfo.setVisible(true);
  ShowReadmePage(false);
}

void TfrmMain::btnEventClick() {
  const std::string caption = btnEvent.caption();
  if (caption == kCaptionStartUnsetup) {
    if (onUninstallRun) onUninstallRun();
  } else if (caption == kCaptionStartSetup) {
    if (onInstallRun) onInstallRun();
  } else if (caption == kCaptionContinue) {
    btnEvent.setEnabled(false);
  } else if (caption == kCaptionSetupContinue) {
    ShowReadmePage(false);
    btnEvent.setCaption(kCaptionStartSetup);
  }
}

void TfrmMain::btnEndClick() { setModalResult(ui::mr::kOk); }

void TfrmMain::btnReferClick() {
  if (dlgFolder.Execute()) txtFolder.setText(AddPathDelimiter(dlgFolder.FolderName, "B"));
}

void TfrmMain::FormCloseQuery(bool& canClose) {
  if (frmBack && frmBack->enabled()) return;
  if (btnEnd.caption() == kCaptionEndOnly) return;
  int answer = ShowMessageBox("セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？", "終了確認",
                              ui::mb::kYesNo | ui::mb::kIconQuestion);
  if (answer != ui::mb::kIdYes) {
    canClose = false;
    return;
  }
  if (frmBack) frmBack->setEnabled(true);
  setModalResult(ui::mr::kOk);
}

void TfrmMain::FormClose(ui::CloseAction&) {
  const std::string& temp = G().folders.TempFolder;
  if (!temp.empty()) {
    for (int n = 1; n <= 99; ++n) {
      std::string folder = temp + "VSTMP" + std::to_string(n) + "\\";
      if (FolderExists(folder)) RemoveFolder(folder, "*.*");
    }
  }
  constexpr std::int32_t kAssociationChanged = 0x08000000;
  constexpr std::int32_t kItemUpdated = 0x00002000;
  constexpr std::int32_t kFolderUpdated = 0x00001000;
  for (std::int32_t event : {kAssociationChanged, kItemUpdated, kFolderUpdated}) Sys().shell.changeNotify(event, 0, "");
}

}  // namespace setup
