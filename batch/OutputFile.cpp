// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/OutputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"

namespace {

[[noreturn]] void ThrowWriteFailed(const std::string& Name, int Error) {
  throw BatchFileError(0, BatchTexts::Fill(BatchTexts::WriteFailed, {Name, ErrorCause(Error)}));
}

// The temporary file's descriptor; throws when none can be created.
int CreateTemporary(TReplacement& Replacement) {
  if (const int Error = Replacement.Create())
    throw BatchFileError(
        0, BatchTexts::Fill(BatchTexts::OutputFolderNotWritable, {FolderOf(Replacement.Target()), ErrorCause(Error)}));
  return Replacement.Fd();
}

}  // namespace

void OutputStream::Flush() {
  const char* next = FBuffer.data();
  std::size_t left = FBuffer.size();
  while (left > 0) {
    const ssize_t written = ::write(FFd, next, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) ThrowWriteFailed(FName, written < 0 ? errno : EIO);
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  FBuffer.clear();
}

void OutputFile::CheckFolder(const std::string& Folder) {
  std::string name = Folder + "/.salary-decree-batch.XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0)
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputFolderNotWritable, {Folder, ErrorCause(errno)}));
  ::close(fd);
  ::unlink(name.c_str());
}

void OutputFile::CheckTarget(const std::string& Path) {
  const std::string target = ReplacedFile(Path);
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputIsFolder, {Path}));
    // Renaming over a write-protected file would succeed; the user meant it kept.
    if (::access(target.c_str(), W_OK) != 0)
      throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputNotWritable, {Path}));
  }
  CheckFolder(FolderOf(target));
}

OutputFile::OutputFile(const std::string& Path)
    : FPath(Path), FReplacement(Path), FStream(CreateTemporary(FReplacement), Path) {}

void OutputFile::CloseDescriptor() { FReplacement.Close(); }

void OutputFile::Finish(bool Sync) {
  if (FReplacement.Fd() < 0 && (!Sync || FFinished)) return;
  FFinished = true;
  FStream.Release();
  int Fd = FReplacement.Fd();
  if (Fd < 0) {
    // Written by a library through its own descriptor.
    Fd = ::open(FReplacement.TempPath().c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0) ThrowWriteFailed(FPath, errno);
    if (::fsync(Fd) != 0) {
      const int Error = errno;
      ::close(Fd);
      ThrowWriteFailed(FPath, Error);
    }
    ::close(Fd);
    return;
  }
  if (Sync && ::fsync(Fd) != 0) ThrowWriteFailed(FPath, errno);
  if (const int Error = FReplacement.Close()) ThrowWriteFailed(FPath, Error);
}

void OutputFile::Commit(bool Sync) {
  Finish(Sync);
  if (const int Error = FReplacement.Commit()) ThrowWriteFailed(FPath, Error);
}
