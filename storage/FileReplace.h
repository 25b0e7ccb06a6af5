// SPDX-License-Identifier: GPL-3.0-or-later
// A file replaced whole or not at all: the new contents go to a hidden
// temporary file beside the file they replace and are renamed over it only
// when complete, so a full disk or a crash never leaves half a file behind.
// Used for info.ini and for every output of the batch program.
#pragma once

#include <functional>
#include <string>

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& Path);

// The system's description of an errno, as the messages quote it.
std::string ErrorCause(int Error);

// The file a write to Path replaces: a link keeps pointing where it did, so
// its target is replaced.
std::string ReplacedFile(const std::string& Path);

// Makes a rename in Folder survive a power cut. A failure loses nothing the
// user can see, so it is not reported.
void SyncFolder(const std::string& Folder);

class TReplacement {
 public:
  // Replaces ReplacedFile(Path); nothing is created yet.
  explicit TReplacement(const std::string& Path);
  // A replacement not committed closes and removes its temporary file.
  ~TReplacement();
  TReplacement(const TReplacement&) = delete;
  TReplacement& operator=(const TReplacement&) = delete;

  // Creates the temporary file beside the target, with the mode of the file it
  // replaces (else 0666 less the umask). Returns 0, or the errno of the failure.
  int Create();

  const std::string& Target() const { return FTarget; }
  const std::string& TempPath() const { return FTemp; }
  int Fd() const { return FFd; }

  // Closes the temporary file (also when that fails: retrying could close
  // another file). Returns 0, or the errno of a close that reports a failed write.
  int Close();

  // Renames the temporary file over the target, then syncs the folder.
  // Returns 0, or the errno of the rename. Rename replaces ::rename in tests.
  int Commit(const std::function<int(const char* From, const char* To)>& Rename = nullptr);

 private:
  std::string FTarget;
  std::string FTemp;
  int FFd = -1;
  bool FCommitted = false;
};
