// The uninstall run's decisions as plain functions: reading record values, choosing what happens
// to one recorded file, and the safety rules that keep a damaged record from deleting too much.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sys/types.h"
#include "setup/support/globals.h"

namespace setup::uninstall {

// One "DeleteFile" value: the path before the first "," and the five-character flag window
// that starts at that comma (shorter at the end of the value; empty without a comma).
struct FileEntry {
  std::string path;
  std::string flagWindow;
};
FileEntry SplitFileEntry(const std::string& value);

// The flags that take effect at uninstall, found by case-insensitive search in the window.
struct FileFlags {
  bool shared = false;   // "/S"
  bool confirm = false;  // "/C"
  bool leave = false;    // "/L"
  bool force = false;    // "/F"
};
FileFlags ReadFlags(const std::string& flagWindow);

enum class FileAction {
  Keep,          // leave the file in place, nothing to report
  Delete,        // delete without a question
  AskShared,     // the four-way dialog (a shared file nobody counts any more)
  AskConfirm,    // the "/C" question
  AskComponent,  // the component question (component in the Windows or System folder)
};

// Whether the run must lower the file's shared count before deciding.
bool NeedsLowering(std::int32_t sharedCount, const FileFlags& flags);

// The decision table for one recorded file; the first matching row wins. loweredCount is the
// result of lowering the count and is only looked at when NeedsLowering was true.
FileAction DecideFile(std::int32_t sharedCount, std::int32_t loweredCount, const FileFlags& flags,
                      bool componentFile, bool inWindowsOrSystemFolder);

// The four-way dialog's answer slot: "Delete" and "Save" are sticky and suppress the question.
bool AnswerIsSticky(const std::string& slot);
// "Yes" and "Delete" delete; every other content (also an empty slot) keeps the file.
bool AnswerDeletes(const std::string& slot);

// The question texts, lines joined with "\r".
std::string SharedQuestion(const std::string& path);
std::string ConfirmQuestion(const std::string& path);
std::string ComponentQuestion(const std::string& path);

// A "DeleteRegistry" value split into its seven-character root token and the key path.
struct RegistryTarget {
  std::string token;
  std::string path;
};
RegistryTarget SplitRegistryValue(const std::string& value);
plat::RegRoot RootOfToken(const std::string& token);

// Whether a key may be deleted by the run: refuses empty paths, whole hives, and keys that are
// (or hold) parts of the system that no install owns. Paths compare without regard to case.
bool IsDeletableKey(plat::RegRoot root, const std::string& path);

// The Uninstall entry recorded in "UnSetupRegistryKey": only a key directly below the system's
// list of uninstallable programs is accepted.
bool IsUninstallEntryKey(const std::string& path);

// A "RestoreRelate" value: extension before the first ",", previous type name after it.
struct RelateEntry {
  std::string extension;
  std::string previousType;
};
RelateEntry SplitRelate(const std::string& value);
// Extensions whose key the run may touch: not empty, one key level, not a program type.
bool IsRestorableExtension(const std::string& extension);

// An absolute Windows path ("X:\..." or "\\server\share\...") without wildcards, without "." or
// ".." parts and without a stream name. Anything else is treated as no path at all.
bool IsAbsolutePath(const std::string& path);

// Path comparisons without regard to ASCII letter case; trail bytes are compared exactly.
bool SamePathNoCase(const std::string& a, const std::string& b);
// True when path is folder itself or lies inside it (folder "\"-terminated).
bool PathIsInside(const std::string& path, const std::string& folder);

// A drive root ("C:\") or a network share root ("\\server\share\").
bool IsRootFolder(const std::string& folder);

// The folders no run may remove or empty: the system folders, the shell folders and the user's
// own folders, each "\"-terminated. Built from the folder table plus the extra shell folders.
std::vector<std::string> KnownFolders(const FolderTable& folders, const std::vector<std::string>& extra);

// The setup folder's protection: a root, a known folder, or a folder that holds a known folder
// is left alone.
bool IsProtectedSetupFolder(const std::string& setupFolder, const std::vector<std::string>& known);

// Whether the folder equals one of the known folders (letter case ignored).
bool IsKnownFolder(const std::string& folder, const std::vector<std::string>& known);

// The folder part of a file path, "\"-terminated ("" when the path has no "\").
std::string FolderOfPath(const std::string& path);

// The failure log entry for a failed step: label, path, "\r\n", reason, "\r\n".
std::string FailureEntry(const std::string& label, const std::string& path, const std::string& reason);
// The reason given when the setup folder could not be removed.
std::string SetupFolderReason(plat::ErrorCode code, bool deleteAll, const std::string& systemText);

}  // namespace setup::uninstall
