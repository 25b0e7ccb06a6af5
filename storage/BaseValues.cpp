// SPDX-License-Identifier: GPL-3.0-or-later
#include "BaseValues.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <system_error>

#include "storage/TextDecoding.h"

namespace {

// A file of ours is eight short lines; a bigger one is not worth reading.
constexpr std::size_t MaxFileSize = std::size_t{16} << 20;

std::string Cause(int Error) { return std::generic_category().message(Error); }

[[noreturn]] void ThrowCreateError(const std::string& Path, int Error) {
  throw StorageError("Cannot create file \"" + Path + "\". " + Cause(Error));
}

[[noreturn]] void ThrowOpenError(const std::string& Path, int Error) {
  throw StorageError("Cannot open file \"" + Path + "\". " + Cause(Error));
}

[[noreturn]] void ThrowWriteError() { throw StorageError("Stream write error"); }

// Characters up to U+0020 are single bytes in UTF-8 and never occur inside a
// longer sequence, so trimming bytes trims characters.
std::string Trim(const std::string& Text) {
  std::size_t Begin = 0;
  std::size_t End = Text.size();
  while (Begin < End && static_cast<unsigned char>(Text[Begin]) <= 0x20) ++Begin;
  while (End > Begin && static_cast<unsigned char>(Text[End - 1]) <= 0x20) --End;
  return Text.substr(Begin, End - Begin);
}

std::string FolderOf(const std::string& Path) {
  const std::size_t Slash = Path.rfind('/');
  if (Slash == std::string::npos) return ".";
  if (Slash == 0) return "/";
  return Path.substr(0, Slash);
}

// The new contents go to a file of their own first and replace info.ini only
// when complete, so a full disk cannot leave half a file behind.
class TempFile {
 public:
  ~TempFile() {
    if (Fd >= 0) ::close(Fd);
    if (!Path.empty()) ::unlink(Path.c_str());
  }

  // Returns 0, or the errno of the failed creation.
  int Create(const std::string& Folder) {
    static std::uint64_t Counter = 0;
    static const char Alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
      // splitmix64 over clock, process and counter: names only need to differ.
      std::uint64_t X = static_cast<std::uint64_t>(
                            std::chrono::steady_clock::now().time_since_epoch().count()) ^
                        (static_cast<std::uint64_t>(::getpid()) << 40) ^
                        (++Counter * 0x9E3779B97F4A7C15u);
      X = (X ^ (X >> 30)) * 0xBF58476D1CE4E5B9u;
      X = (X ^ (X >> 27)) * 0x94D049BB133111EBu;
      X ^= X >> 31;
      std::string Name = Folder + "/.info.ini.";
      for (int i = 0; i < 8; ++i, X /= 36) Name += Alphabet[X % 36];
      // O_EXCL: never write into a file someone else already has.
      Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (Fd >= 0) {
        Path = Name;
        return 0;
      }
      if (errno != EEXIST && errno != EINTR) return errno;
    }
    return EEXIST;
  }

  // Returns false when the close reports a failed write.
  bool Close() {
    const int Result = ::close(Fd);
    Fd = -1;  // closed even when close() fails; retrying could close another file
    return Result == 0;
  }

  void Keep() { Path.clear(); }

  int Fd = -1;
  std::string Path;
};

void WriteAll(const detail::FileOps& Ops, int Fd, const std::string& Data) {
  const char* Next = Data.data();
  std::size_t Left = Data.size();
  while (Left > 0) {
    const ssize_t Written = Ops.Write ? Ops.Write(Fd, Next, Left) : ::write(Fd, Next, Left);
    if (Written < 0 && errno == EINTR) continue;
    if (Written <= 0 || static_cast<std::size_t>(Written) > Left) ThrowWriteError();
    Next += Written;
    Left -= static_cast<std::size_t>(Written);
  }
}

// Makes the rename itself survive a power cut; a failure here loses nothing
// the user can see, so it is not reported.
void SyncFolder(const std::string& Folder) {
  const int Fd = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return;
  ::fsync(Fd);
  ::close(Fd);
}

// Each maximal ill-formed part becomes one U+FFFD, so a hand-edited file in
// another code page still loads. The default code page here is UTF-8.
std::string Decode(const std::string& Bytes) {
  const auto* Data = reinterpret_cast<const unsigned char*>(Bytes.data());
  const MarkedEncoding Mark = FindByteOrderMark(Data, Bytes.size());
  const unsigned char* Text = Data + Mark.Length;
  const std::size_t Size = Bytes.size() - Mark.Length;
  std::string Out;
  Out.reserve(Size);
  if (Mark.Encoding == TextEncoding::Utf16LE || Mark.Encoding == TextEncoding::Utf16BE)
    DecodeUtf16(Text, Size, Mark.Encoding == TextEncoding::Utf16BE, true, Malformed::Replace, Out);
  else
    DecodeUtf8(Text, Size, true, Malformed::Replace, Out);
  return Out;
}

std::optional<BaseValues> SplitEightLines(const std::string& Text) {
  BaseValues Lines;
  std::size_t Count = 0;
  std::size_t Start = 0;
  auto Take = [&](std::size_t End) {
    if (Count == Lines.size()) return false;
    Lines[Count++] = Text.substr(Start, End - Start);
    return true;
  };
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const char C = Text[i];
    if (C != '\r' && C != '\n') continue;
    if (!Take(i)) return std::nullopt;
    if (C == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    Start = i + 1;
  }
  // A break at the very end does not open another line.
  if (Start < Text.size() && !Take(Text.size())) return std::nullopt;
  if (Count != Lines.size()) return std::nullopt;
  return Lines;
}

}  // namespace

std::string BaseValuesPath(const std::string& Folder) { return Folder + "/" + "info.ini"; }

void SaveBaseValues(const std::string& Folder, const BaseValues& Texts) {
  detail::SaveBaseValues(Folder, Texts, detail::FileOps{});
}

void detail::SaveBaseValues(const std::string& Folder, const BaseValues& Texts,
                            const FileOps& Ops) {
  const std::string Path = BaseValuesPath(Folder);
  std::string Contents;
  for (const std::string& Text : Texts) {
    Contents += Trim(Text);
    Contents += "\r\n";
  }

  // A link named info.ini keeps pointing where it did: replace its target.
  std::string Target = Path;
  struct stat Old {};
  if (::lstat(Path.c_str(), &Old) == 0 && S_ISLNK(Old.st_mode)) {
    if (char* Real = ::realpath(Path.c_str(), nullptr)) {
      Target = Real;
      std::free(Real);
    }
  }
  const bool HaveOld = ::stat(Target.c_str(), &Old) == 0 && S_ISREG(Old.st_mode);
  // Creating a write-protected file anew fails; renaming over it would not.
  if (HaveOld && ::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0)
    ThrowCreateError(Path, errno);

  const std::string TargetFolder = FolderOf(Target);
  TempFile Temp;
  if (const int Error = Temp.Create(TargetFolder)) ThrowCreateError(Path, Error);
  // The replacement keeps the old file's permissions, as truncating it would.
  if (HaveOld) ::fchmod(Temp.Fd, Old.st_mode & 07777);

  WriteAll(Ops, Temp.Fd, Contents);
  if ((Ops.Fsync ? Ops.Fsync(Temp.Fd) : ::fsync(Temp.Fd)) != 0) ThrowWriteError();
  if (!Temp.Close()) ThrowWriteError();

  const int Renamed = Ops.Rename ? Ops.Rename(Temp.Path.c_str(), Target.c_str())
                                 : ::rename(Temp.Path.c_str(), Target.c_str());
  if (Renamed != 0) ThrowCreateError(Path, errno);
  Temp.Keep();
  SyncFolder(TargetFolder);
}

std::optional<BaseValues> LoadBaseValues(const std::string& Folder) {
  return LoadBaseValuesFile(BaseValuesPath(Folder));
}

std::optional<BaseValues> LoadBaseValuesFile(const std::string& Path, BaseValuesRefusal* Why) {
  BaseValuesRefusal Ignored = BaseValuesRefusal::None;
  BaseValuesRefusal& Reason = Why ? *Why : Ignored;
  Reason = BaseValuesRefusal::None;
  struct stat Info {};
  if (::stat(Path.c_str(), &Info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      Reason = BaseValuesRefusal::Missing;
      return std::nullopt;
    }
    ThrowOpenError(Path, errno);
  }
  // A folder of that name is not the file; a pipe or device would block or
  // never end.
  if (!S_ISREG(Info.st_mode)) {
    Reason = BaseValuesRefusal::NotAFile;
    return std::nullopt;
  }

  const int Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    if (errno == ENOENT) {
      Reason = BaseValuesRefusal::Missing;
      return std::nullopt;
    }
    ThrowOpenError(Path, errno);
  }
  struct Closer {
    int Fd;
    ~Closer() { ::close(Fd); }
  } Close{Fd};
  // Replaced between the stat and the open.
  if (::fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode)) {
    Reason = BaseValuesRefusal::NotAFile;
    return std::nullopt;
  }

  std::string Bytes;
  char Buffer[65536];
  while (Bytes.size() <= MaxFileSize) {
    const ssize_t Read = ::read(Fd, Buffer, sizeof Buffer);
    if (Read < 0) {
      if (errno == EINTR) continue;
      ThrowOpenError(Path, errno);
    }
    if (Read == 0) break;
    Bytes.append(Buffer, static_cast<std::size_t>(Read));
  }
  if (Bytes.size() > MaxFileSize) {
    Reason = BaseValuesRefusal::TooLarge;
    return std::nullopt;
  }

  std::string Text = Decode(Bytes);
  const std::size_t Nul = Text.find('\0');
  if (Nul != std::string::npos) Text.resize(Nul);
  std::optional<BaseValues> Lines = SplitEightLines(Text);
  if (!Lines) Reason = BaseValuesRefusal::NotEightLines;
  return Lines;
}
