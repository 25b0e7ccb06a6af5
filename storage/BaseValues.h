// SPDX-License-Identifier: GPL-3.0-or-later
// The base values file: eight new-year figures kept in info.ini between runs.
// Plain C++17, no toolkit.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/types.h>

// An error the compute handler or start-up cannot continue past; what() is the
// exact text the user reads (before the full-stop rule).
class StorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The eight texts in file order: Edit1, Edit2, Edit3, Edit4, Edit5, Edit18,
// Edit25, Edit26. UTF-8.
using BaseValues = std::array<std::string, 8>;

// The file's contents: each text trimmed of U+0000..U+0020 at both ends and
// followed by CR LF.
std::string BaseValuesText(const BaseValues& Texts);

// The eight texts of a file's contents exactly as read, when it holds exactly
// eight lines: decoded by its byte-order mark (UTF-8, UTF-16 LE or BE; UTF-8
// without one), lines ending at CR LF, a lone CR or a lone LF, a NUL ending
// the text.
std::optional<BaseValues> ReadBaseValuesText(const std::string& Bytes);

// The texts of the create and open errors below: "Cannot create file
// "<path>". <cause>" and "Cannot open file "<path>". <cause>", for a caller
// that keeps the eight texts somewhere else and names that store itself.
std::string CreateErrorText(const std::string& Path, const std::string& Cause);
std::string OpenErrorText(const std::string& Path, const std::string& Cause);

// Folder + "/" + "info.ini".
std::string BaseValuesPath(const std::string& Folder);

// Writes the eight texts, each trimmed of U+0000..U+0020 at both ends and
// followed by CR LF. The old file is replaced only by a complete new one.
// Throws StorageError "Cannot create file "<path>". <cause>" or "Stream write error".
void SaveBaseValues(const std::string& Folder, const BaseValues& Texts);

// Why a load gave nothing, for a caller that names the file itself and has
// to say what is wrong with it.
enum class BaseValuesRefusal {
  None,           // loaded
  Missing,        // no such file (or a part of the path is not a folder)
  NotAFile,       // a folder, pipe or device of that name
  TooLarge,       // beyond 16 MiB: not a file of ours
  NotEightLines,  // read, but fewer or more than eight lines
};

// The stored texts of the file at Path exactly as read, when it exists and
// holds exactly eight lines; nullopt otherwise, with the reason in *Why when
// given. Throws StorageError "Cannot open file "<path>". <cause>" when it
// exists but cannot be read.
std::optional<BaseValues> LoadBaseValuesFile(const std::string& Path, BaseValuesRefusal* Why = nullptr);

// LoadBaseValuesFile on BaseValuesPath(Folder).
std::optional<BaseValues> LoadBaseValues(const std::string& Folder);

namespace detail {

// The system calls SaveBaseValues makes on the new file, replaceable so that
// tests can make a write stop short, a flush fail or the final rename fail.
// An empty member means the real call; each reports failure through errno.
struct FileOps {
  std::function<ssize_t(int Fd, const void* Data, std::size_t Size)> Write;
  std::function<int(int Fd)> Fsync;
  std::function<int(const char* From, const char* To)> Rename;
};

void SaveBaseValues(const std::string& Folder, const BaseValues& Texts, const FileOps& Ops);

}  // namespace detail
