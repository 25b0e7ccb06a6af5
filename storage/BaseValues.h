// The base values file: eight new-year figures kept in info.ini between runs.
// Plain C++17, no toolkit.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

// An error the compute handler or start-up cannot continue past; what() is the
// exact text the user reads (before the full-stop rule).
class StorageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The eight texts in file order: Edit1, Edit2, Edit3, Edit4, Edit5, Edit18,
// Edit25, Edit26. UTF-8.
using BaseValues = std::array<std::string, 8>;

// Folder + "/" + "info.ini".
std::string BaseValuesPath(const std::string& Folder);

// Writes the eight texts, each trimmed of U+0000..U+0020 at both ends and
// followed by CR LF. The old file is replaced only by a complete new one.
// Throws StorageError "Cannot create file "<path>". <cause>" or "Stream write error".
void SaveBaseValues(const std::string& Folder, const BaseValues& Texts);

// The stored texts exactly as read, when the file exists and holds exactly
// eight lines; nullopt otherwise. Throws StorageError
// "Cannot open file "<path>". <cause>" when it exists but cannot be read.
std::optional<BaseValues> LoadBaseValues(const std::string& Folder);
