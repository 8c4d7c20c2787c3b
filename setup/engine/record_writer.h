// Writing the uninstall record, the program registry profile and the Uninstall entry at the end
// of an install run.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "setup/engine/install_run.h"

namespace setup {

// The path part of a record value (text before its first ",") and the comparison of two of them
// (without regard to case, through the system's upper-case mapping).
std::string RecordKeyOf(const std::string& value);
std::string RecordKeyNormal(const std::string& key);

// The number under which entry goes into section/keyWord<n> of the record: the number of the
// value with the same path part, or the first number whose path part is empty. Walks the record.
int FindRecordSlot(const std::string& entry, const std::string& section, const std::string& keyWord,
                   const std::string& recordPath);

// One numbered section of the record, kept in memory with an index of its path parts so that
// finding a slot costs one look-up instead of a walk. Gives the same numbers as FindRecordSlot.
class RecordSectionIndex {
 public:
  // values[i] is the value stored under number i + 1 ("" when none).
  explicit RecordSectionIndex(std::vector<std::string> values = {});
  int Slot(const std::string& entry) const;
  const std::string& ValueAt(int n) const;
  void Store(int n, const std::string& value);

 private:
  void Advance();
  std::vector<std::string> values_;
  std::unordered_map<std::string, int> first_;
  int firstFree_ = 1;
};

// Splits a list whose entries are each followed by "|".
std::vector<std::string> SplitRecordList(const std::string& list);

// The merged value for a "DeleteFile" entry given the value already stored under its number:
// "/S" of the stored value is carried over.
std::string MergeSharedFlag(const std::string& entry, const std::string& stored);

// The record's sections as the lists give them, written into recordPath. The file is built in
// memory and written once when no record exists; over an existing file every entry goes through
// the profile write. windows (may be null) receives the section texts.
void WriteRecordFile(InstallState& state, const std::string& recordPath, const std::string& unsetupOption,
                     const std::string& uninstallKeyPath, InstallWindows* windows);

// The recording phase of the run.
void RecordUninstallInformation(InstallState& state, InstallWindows& windows);

}  // namespace setup
