// SPDX-License-Identifier: GPL-3.0-or-later
// What the base values tests share: example files, byte-level file access, a
// fresh folder per test and a forked child for limits and lowered rights.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "storage/BaseValues.h"

namespace StorageTest {

namespace fs = std::filesystem;

inline const BaseValues Example = {"3000", "25000000", "24000000", "5000000", "2500000", "1200000", "400", "30000000"};
// Example as the file must hold it: 68 bytes.
inline const std::string ExampleBytes =
    "3000\r\n25000000\r\n24000000\r\n5000000\r\n2500000\r\n1200000\r\n400\r\n30000000\r\n";
// A previous year's file that a failed save must leave alone.
inline const std::string OldBytes =
    "2800\r\n21000000\r\n20000000\r\n4500000\r\n2000000\r\n1000000\r\n350\r\n26000000\r\n";

// ASCII text as UTF-16 code units.
inline std::string Utf16(const std::string& Ascii, bool BigEndian) {
  std::string Out;
  for (char C : Ascii) {
    Out += BigEndian ? '\0' : C;
    Out += BigEndian ? C : '\0';
  }
  return Out;
}

inline std::string ReadBytes(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& Path, const std::string& Bytes) {
  std::ofstream(Path, std::ios::binary) << Bytes;
}

// The sorted names in Folder: shows a temporary file left behind.
inline std::vector<std::string> Entries(const std::string& Folder) {
  std::vector<std::string> Names;
  for (const auto& Entry : fs::directory_iterator(Folder)) Names.push_back(Entry.path().filename());
  std::sort(Names.begin(), Names.end());
  return Names;
}

// The StorageError's text, or "" when Body succeeds.
inline std::string Caught(const std::function<void()>& Body) {
  try {
    Body();
  } catch (const StorageError& Error) {
    return Error.what();
  }
  return "";
}

inline const char SkipMark[] = "cannot drop root";

// Runs Body in a forked child, so that limits set there stay there, and returns
// the text it produced. With Unprivileged the child first becomes nobody: root
// ignores permission bits.
inline std::string InChild(const std::function<std::string()>& Body, bool Unprivileged = false) {
  int Pipe[2];
  if (::pipe(Pipe) != 0) return "pipe failed";
  const pid_t Child = ::fork();
  if (Child == 0) {
    ::close(Pipe[0]);
    std::string Result;
    if (Unprivileged && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      Result = SkipMark;
    } else {
      Result = Body();
    }
    const bool Written = ::write(Pipe[1], Result.data(), Result.size()) == static_cast<ssize_t>(Result.size());
    ::_exit(Written ? 0 : 2);
  }
  ::close(Pipe[1]);
  std::string Result;
  char Buffer[256];
  for (ssize_t Read; (Read = ::read(Pipe[0], Buffer, sizeof Buffer)) > 0;)
    Result.append(Buffer, static_cast<std::size_t>(Read));
  ::close(Pipe[0]);
  int Status = 0;
  ::waitpid(Child, &Status, 0);
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "child status " << Status;
  return Result;
}

// A fresh folder per test, removed afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string Template = (fs::temp_directory_path() / "basevalues-XXXXXX").string();
    ASSERT_NE(::mkdtemp(Template.data()), nullptr);
    Dir = Template;
  }
  void TearDown() override {
    std::error_code Ignored;
    fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, Ignored);
    fs::remove_all(Dir, Ignored);
  }
  std::string Ini() const { return Dir + "/info.ini"; }

  std::string Dir;
};

}  // namespace StorageTest
