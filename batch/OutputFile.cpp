// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/OutputFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "batch/BatchTexts.h"
#include "batch/CsvReader.h"

namespace {

[[noreturn]] void ThrowWriteFailed(const std::string& Name, int Error) {
  throw BatchFileError(0, BatchTexts::Fill(BatchTexts::WriteFailed, {Name, ErrorCause(Error)}));
}

std::string BaseName(const std::string& Path) {
  const std::size_t slash = Path.rfind('/');
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

// A link keeps pointing where it did: its target is what gets replaced.
std::string ResolveTarget(const std::string& Path) {
  struct stat info {};
  if (::lstat(Path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* real = ::realpath(Path.c_str(), nullptr)) {
      std::string target = real;
      std::free(real);
      return target;
    }
  }
  return Path;
}

int CreateTemp(const std::string& Target, std::string& Temp) {
  const std::string folder = FolderOf(Target);
  std::string name = folder + "/." + BaseName(Target) + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    throw BatchFileError(0, BatchTexts::Fill(BatchTexts::OutputFolderNotWritable, {folder, ErrorCause(errno)}));
  }
  // mkostemp makes the file private; an output is an ordinary file, or keeps
  // the mode of the file it replaces.
  struct stat old {};
  if (::stat(Target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  Temp = name;
  return fd;
}

}  // namespace

std::string ErrorCause(int Error) { return std::generic_category().message(Error); }

std::string FolderOf(const std::string& Path) {
  const std::size_t slash = Path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return Path.substr(0, slash);
}

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
  const std::string target = ResolveTarget(Path);
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
    : FPath(Path), FTarget(ResolveTarget(Path)), FFd(CreateTemp(FTarget, FTemp)), FStream(FFd, Path) {}

OutputFile::~OutputFile() {
  if (FFd >= 0) ::close(FFd);
  if (!FCommitted) ::unlink(FTemp.c_str());
}

void OutputFile::CloseDescriptor() {
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
}

void OutputFile::Finish(bool Sync) {
  if (FFd < 0) {
    if (!Sync || FFinished) return;
    // Written by a library through its own descriptor.
    FFd = ::open(FTemp.c_str(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0) ThrowWriteFailed(FPath, errno);
  }
  FFinished = true;
  FStream.Release();
  if (Sync && ::fsync(FFd) != 0) ThrowWriteFailed(FPath, errno);
  const int closed = ::close(FFd);
  FFd = -1;  // closed even when close() fails: retrying could close another file
  if (closed != 0) ThrowWriteFailed(FPath, errno);
}

void OutputFile::Commit(bool Sync) {
  Finish(Sync);
  if (::rename(FTemp.c_str(), FTarget.c_str()) != 0) ThrowWriteFailed(FPath, errno);
  FCommitted = true;
}
