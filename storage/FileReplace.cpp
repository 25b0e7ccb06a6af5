// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/FileReplace.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

std::string FolderOf(const std::string& Path) {
  const std::size_t Slash = Path.rfind('/');
  if (Slash == std::string::npos) return ".";
  if (Slash == 0) return "/";
  return Path.substr(0, Slash);
}

std::string ErrorCause(int Error) { return std::generic_category().message(Error); }

std::string ReplacedFile(const std::string& Path) {
  struct stat Info {};
  if (::lstat(Path.c_str(), &Info) == 0 && S_ISLNK(Info.st_mode)) {
    if (char* Real = ::realpath(Path.c_str(), nullptr)) {
      std::string Target = Real;
      std::free(Real);
      return Target;
    }
  }
  return Path;
}

void SyncFolder(const std::string& Folder) {
  const int Fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return;
  ::fsync(Fd);
  ::close(Fd);
}

TReplacement::TReplacement(const std::string& Path) : FTarget(ReplacedFile(Path)) {}

TReplacement::~TReplacement() {
  if (FFd >= 0) ::close(FFd);
  if (!FCommitted && !FTemp.empty()) ::unlink(FTemp.c_str());
}

int TReplacement::Create() {
  const std::size_t Slash = FTarget.rfind('/');
  const std::string Base = Slash == std::string::npos ? FTarget : FTarget.substr(Slash + 1);
  std::string Name = FolderOf(FTarget) + "/." + Base + ".XXXXXX";
  // mkostemp creates with O_EXCL: never a file someone else already has.
  const int Fd = ::mkostemp(Name.data(), O_CLOEXEC);
  if (Fd < 0) return errno;
  FFd = Fd;
  FTemp = Name;
  // mkostemp makes the file private; the replacement keeps the mode of the
  // file it replaces, as truncating that file would, or is an ordinary one.
  struct stat Old {};
  if (::stat(FTarget.c_str(), &Old) == 0 && S_ISREG(Old.st_mode)) {
    ::fchmod(FFd, Old.st_mode & 07777);
  } else {
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    ::fchmod(FFd, 0666 & ~Mask);
  }
  return 0;
}

int TReplacement::Close() {
  if (FFd < 0) return 0;
  const int Result = ::close(FFd);
  FFd = -1;
  return Result == 0 ? 0 : errno;
}

int TReplacement::Commit(const std::function<int(const char* From, const char* To)>& Rename) {
  if (const int Error = Close()) return Error;
  const int Renamed = Rename ? Rename(FTemp.c_str(), FTarget.c_str()) : ::rename(FTemp.c_str(), FTarget.c_str());
  if (Renamed != 0) return errno;
  FCommitted = true;
  SyncFolder(FolderOf(FTarget));
  return 0;
}
