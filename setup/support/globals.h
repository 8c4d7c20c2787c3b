// Program-wide state of setup: the system services it runs on, the folders behind the path
// tokens and the start-up values. Start-up fills it; the windows and both runs read it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/sys/profile.h"
#include "platform/sys/services.h"

namespace setup {

// The folders behind the path tokens, in replacement order. Every value ends with "\"
// once start-up has run, except SetupDrive, which stays empty until the install run sets it.
struct FolderTable {
  std::string AppFolder = "(App)";           // (App)
  std::string ProgramFilesFolder;            // (Prg)
  std::string WindowsFolder;                 // (Win)
  std::string SystemFolder;                  // (Sys)
  std::string TempFolder;                    // (Tmp)
  std::string BootDrive;                     // (Boo)
  std::string SetupDrive;                    // (Set)
  std::string SourceDrive;                   // (Edr)
  std::string StartMenuFolder;               // (Smn)
  std::string ProgramsFolder;                // (Sta)
  std::string DesktopFolder;                 // (Dsk)
  std::string StartupFolder;                 // (Sup)
  std::string SendToFolder;                  // (Sen)
  std::string CommonStartMenuFolder;         // (C_Smn)
  std::string CommonProgramsFolder;          // (C_Sta)
  std::string CommonDesktopFolder;           // (C_Dsk)
  std::string CommonStartupFolder;           // (C_Sup)
};

// Values fixed by start-up.
struct StartupValues {
  std::string SetupMode;        // "SETUP" or "UNSETUP"
  std::string ProgramFolder;    // folder of the running program
  std::string WorkFolder;       // the VSTMP<n> work folder
  std::string ScriptPath;       // WorkFolder + "SETUP.INI" or "UNSETUP.INI"
  std::int32_t PlatformId = -1;
  std::int32_t SetupSpeed = 400;
  std::string SetupTitle;
  std::string UnSetupTitle;
  std::string ProgramID;
  std::string MessageText;
  bool RestartRequested = false;
};

// Message box handler: (text, caption, flags) -> the button id pressed. The shell installs
// the application's message box; tests install a scripted one.
using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, std::uint32_t flags)>;

struct Globals {
  plat::Services* services = nullptr;
  MessageBoxHandler messageBox;
  FolderTable folders;
  StartupValues startup;
  std::uint8_t leadBytes[256] = {};  // filled from the system's lead-byte ranges
};

// The one instance of the program's state. Tests reset it with ResetGlobals.
Globals& G();
void ResetGlobals(plat::Services& services, MessageBoxHandler messageBox);

// Shortcuts to the services.
inline plat::Services& Sys() { return *G().services; }

// The application's message box, used for every question and report of setup.
int ShowMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags);

}  // namespace setup
