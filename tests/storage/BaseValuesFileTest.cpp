// SPDX-License-Identifier: GPL-3.0-or-later
// The base values loader on a file named by its full path: the batch program's
// --base FILE reads a year's info.ini from anywhere, with the window's rules.
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/BaseValues.h"
#include "tests/storage/StorageTestSupport.h"

using namespace std::string_literals;
namespace fs = std::filesystem;
using namespace StorageTest;

using BaseValuesFileTest = TempFolderTest;

namespace {

// A file of any name in a folder of any name loads as info.ini does, and the
// folder loader gives the same for the same bytes.
TEST_F(BaseValuesFileTest, AnyPathLoadsAsTheFolderLoaderDoes) {
  ASSERT_TRUE(fs::create_directory(Dir + "/year 1403"));
  const std::string Path = Dir + "/year 1403/base-figures.txt";
  BaseValues Spaced = Example;
  Spaced[5] = " 1200000 ";
  const struct {
    const char* Name;
    std::string Bytes;
    std::optional<BaseValues> Expected;
    BaseValuesRefusal Why;
  } Rows[] = {
      {"as the window writes it", ExampleBytes, Example, BaseValuesRefusal::None},
      {"UTF-8 mark and lone LF",
       "\xEF\xBB\xBF"
       "3000\n25000000\n24000000\n5000000\n2500000\n1200000\n400\n30000000",
       Example, BaseValuesRefusal::None},
      {"UTF-16 LE mark", "\xFF\xFE" + Utf16(ExampleBytes, false), Example, BaseValuesRefusal::None},
      {"spaces kept as read", "3000\r\n25000000\r\n24000000\r\n5000000\r\n2500000\r\n 1200000 \r\n400\r\n30000000\r\n",
       Spaced, BaseValuesRefusal::None},
      {"extra empty ninth line", ExampleBytes + "\r\n", std::nullopt, BaseValuesRefusal::NotEightLines},
      {"seven lines", ExampleBytes.substr(0, 58), std::nullopt, BaseValuesRefusal::NotEightLines},
      {"empty file", "", std::nullopt, BaseValuesRefusal::NotEightLines},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    WriteBytes(Path, R.Bytes);
    BaseValuesRefusal Why = BaseValuesRefusal::Missing;
    EXPECT_EQ(LoadBaseValuesFile(Path, &Why), R.Expected);
    EXPECT_EQ(Why, R.Why);
    EXPECT_EQ(LoadBaseValuesFile(Path), R.Expected);
    WriteBytes(Ini(), R.Bytes);
    EXPECT_EQ(LoadBaseValues(Dir), R.Expected);
  }
}

TEST_F(BaseValuesFileTest, NothingWithoutARegularFileAndTheReasonWhy) {
  WriteBytes(Dir + "/plain", ExampleBytes);
  ASSERT_TRUE(fs::create_directory(Dir + "/folder"));
  ASSERT_EQ(::mkfifo((Dir + "/pipe").c_str(), 0644), 0);
  WriteBytes(Dir + "/huge.ini", ExampleBytes.substr(0, 58) + std::string(17 << 20, '7') + "\r\n");
  const struct {
    const char* Name;
    std::string Path;
    BaseValuesRefusal Why;
  } Rows[] = {
      {"no such file", Dir + "/missing.ini", BaseValuesRefusal::Missing},
      {"no such folder", Dir + "/missing/info.ini", BaseValuesRefusal::Missing},
      {"a regular file used as a folder", Dir + "/plain/info.ini", BaseValuesRefusal::Missing},
      {"empty path", "", BaseValuesRefusal::Missing},
      {"a folder", Dir + "/folder", BaseValuesRefusal::NotAFile},
      {"a pipe with no writer", Dir + "/pipe", BaseValuesRefusal::NotAFile},
      {"a device", "/dev/zero", BaseValuesRefusal::NotAFile},
      {"beyond 16 MiB", Dir + "/huge.ini", BaseValuesRefusal::TooLarge},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    BaseValuesRefusal Why = BaseValuesRefusal::None;
    EXPECT_EQ(LoadBaseValuesFile(R.Path, &Why), std::nullopt);
    EXPECT_EQ(Why, R.Why);
  }
}

TEST_F(BaseValuesFileTest, ErrorsNameThePathAsGiven) {
  const std::string Loop = Dir + "/loop.ini";
  ASSERT_EQ(::symlink("loop.ini", Loop.c_str()), 0);
  EXPECT_EQ(Caught([&] { LoadBaseValuesFile(Loop); }),
            "Cannot open file \"" + Loop + "\". Too many levels of symbolic links");

  const std::string Locked = Dir + "/locked.ini";
  WriteBytes(Locked, ExampleBytes);
  ASSERT_EQ(::chmod(Dir.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(Locked.c_str(), 0200), 0);
  const std::string Result = InChild([&] { return Caught([&] { LoadBaseValuesFile(Locked); }); }, true);
  if (Result == SkipMark) GTEST_SKIP() << SkipMark;
  EXPECT_EQ(Result, "Cannot open file \"" + Locked + "\". Permission denied");
}

TEST_F(BaseValuesFileTest, ARelativePathIsTakenFromTheWorkingDirectory) {
  WriteBytes(Dir + "/base.ini", ExampleBytes);
  const std::string Result = InChild([&] {
    if (::chdir(Dir.c_str()) != 0) return "chdir failed"s;
    const std::optional<BaseValues> Loaded = LoadBaseValuesFile("base.ini");
    return Loaded ? (*Loaded)[0] + " " + (*Loaded)[7] : "nothing"s;
  });
  EXPECT_EQ(Result, "3000 30000000");
}

}  // namespace
