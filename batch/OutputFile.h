// SPDX-License-Identifier: GPL-3.0-or-later
// Outputs appear whole or not at all: each is written to a hidden temporary
// file in its target's folder and renamed over the target at the end. A file
// not committed is removed when its object goes.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "storage/FileReplace.h"

// Buffered writes to a file descriptor; a failed write throws BatchFileError
// (line 0) naming Name.
class OutputStream {
 public:
  OutputStream(int Fd, std::string Name) : FFd(Fd), FName(std::move(Name)) {}
  ~OutputStream() = default;
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  void Write(std::string_view Text) {
    if (FBuffer.size() + Text.size() > Capacity) Flush();
    FBuffer.append(Text);
  }
  void Flush();
  // Flush() and give the buffer's memory back (thousands of report files stay open as names only).
  void Release() {
    Flush();
    std::string().swap(FBuffer);
  }
  const std::string& Name() const { return FName; }

 private:
  static constexpr std::size_t Capacity = 1 << 16;
  int FFd;
  std::string FName;
  std::string FBuffer;
};

class OutputFile {
 public:
  // Throws BatchFileError when Path cannot be replaced: a folder, a
  // write-protected file, or a folder where no file can be created (tried
  // with a temporary file that is removed at once).
  static void CheckTarget(const std::string& Path);
  // Throws BatchFileError when no file can be created in Folder.
  static void CheckFolder(const std::string& Folder);

  // Creates the temporary file; throws BatchFileError.
  explicit OutputFile(const std::string& Path);
  ~OutputFile() = default;  // an uncommitted temporary file is removed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  OutputStream& Stream() { return FStream; }
  const std::string& Path() const { return FPath; }
  const std::string& TempPath() const { return FReplacement.TempPath(); }

  // For a library that opens the file by name itself: closes our descriptor.
  void CloseDescriptor();
  // Flushes and closes the temporary file (with Sync, on disk first).
  void Finish(bool Sync = true);
  // Finish(), then renames the temporary file over the target.
  void Commit(bool Sync = true);

 private:
  std::string FPath;  // the target as given
  TReplacement FReplacement;
  bool FFinished = false;
  OutputStream FStream;
};
