// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <iterator>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "storage/BaseValues.h"
#include "tests/storage/StorageTestSupport.h"

using namespace std::string_literals;
namespace fs = std::filesystem;
using namespace StorageTest;

using BaseValuesTest = TempFolderTest;

namespace {

const std::string Fffd = "\xEF\xBF\xBD";

TEST_F(BaseValuesTest, SaveWritesTheExampleByteForByte) {
  SaveBaseValues(Dir, Example);
  EXPECT_EQ(ReadBytes(Ini()), ExampleBytes);
  EXPECT_EQ(ReadBytes(Ini()).size(), 68u);
  EXPECT_EQ(Entries(Dir), std::vector<std::string>{"info.ini"});
}

TEST_F(BaseValuesTest, SaveTrimsCodesUpTo32AtBothEnds) {
  struct Row {
    const char* Name;
    std::string Text;
    std::string Stored;
  } Rows[] = {
      {"spaces", "  3000  ", "3000"},
      {"tab and line breaks", "\t\r\n3000\n", "3000"},
      {"NUL and control codes",
       "\0\x01\x1F"s
       "3000 \x1F"s,
       "3000"},
      {"inner spaces stay", " 1 200 ", "1 200"},
      {"DEL is above 32 and stays", "3000\x7F", "3000\x7F"},
      {"no-break space is above 32 and stays",
       "\xC2\xA0"
       "3000",
       "\xC2\xA0"
       "3000"},
      {"Persian digits stay", " \xDB\xB3\xDB\xB0 ", "\xDB\xB3\xDB\xB0"},
      {"blanks only", " \t \r\n", ""},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    BaseValues Texts;
    Texts.fill(R.Text);
    SaveBaseValues(Dir, Texts);
    std::string Expected;
    for (int i = 0; i < 8; ++i) Expected += R.Stored + "\r\n";
    EXPECT_EQ(ReadBytes(Ini()), Expected);
  }
}

TEST_F(BaseValuesTest, EmptyOptionalLinesSixAndSevenRoundTrip) {
  BaseValues Texts = Example;
  Texts[5] = "";
  Texts[6] = " ";
  SaveBaseValues(Dir, Texts);
  EXPECT_EQ(ReadBytes(Ini()), "3000\r\n25000000\r\n24000000\r\n5000000\r\n2500000\r\n\r\n\r\n30000000\r\n");
  Texts[6] = "";
  EXPECT_EQ(LoadBaseValues(Dir), Texts);
}

TEST_F(BaseValuesTest, SaveReplacesALongerFileWhole) {
  WriteBytes(Ini(), OldBytes + OldBytes + "tail without a break");
  SaveBaseValues(Dir, Example);
  EXPECT_EQ(ReadBytes(Ini()), ExampleBytes);
}

TEST_F(BaseValuesTest, SaveGivesANewFileTheUsualModeAndKeepsAnOldOnesMode) {
  const mode_t OldMask = ::umask(022);
  SaveBaseValues(Dir, Example);
  ::umask(OldMask);
  struct stat Info {};
  ASSERT_EQ(::stat(Ini().c_str(), &Info), 0);
  EXPECT_EQ(Info.st_mode & 07777, 0644u);

  ASSERT_EQ(::chmod(Ini().c_str(), 0604), 0);
  SaveBaseValues(Dir, Example);
  ASSERT_EQ(::stat(Ini().c_str(), &Info), 0);
  EXPECT_EQ(Info.st_mode & 07777, 0604u);
}

TEST_F(BaseValuesTest, SaveWritesThroughALinkNamedInfoIni) {
  ASSERT_TRUE(fs::create_directory(Dir + "/shared"));
  WriteBytes(Dir + "/shared/real.ini", OldBytes);
  ASSERT_EQ(::symlink("shared/real.ini", Ini().c_str()), 0);
  SaveBaseValues(Dir, Example);
  EXPECT_TRUE(fs::is_symlink(Ini()));
  EXPECT_EQ(ReadBytes(Dir + "/shared/real.ini"), ExampleBytes);
  EXPECT_EQ(Entries(Dir + "/shared"), std::vector<std::string>{"real.ini"});
}

TEST_F(BaseValuesTest, LoadDecodesAndSplitsLines) {
  const BaseValues Digits = {"1", "2", "3", "4", "5", "6", "7", "8"};
  BaseValues Persian = Example;
  Persian[0] = "\xDB\xB3\xDB\xB0\xF0\x9F\x98\x80";  // U+06F3 U+06F0 U+1F600
  BaseValues LoneSurrogates = Example;
  LoneSurrogates[0] = Fffd + "A" + Fffd;
  BaseValues OddByte = Example;
  OddByte[7] = "30000000" + Fffd;
  BaseValues Spaced = Example;
  Spaced[0] = " 3000 ";
  Spaced[1] = "\t25000000";
  BaseValues Invalid = Example;
  // FF; C0 and AF; ED A0 80 (a surrogate) as three; E2 82 cut short as one.
  Invalid[0] = Fffd + "3000" + Fffd + Fffd + Fffd + Fffd + Fffd + Fffd;
  BaseValues MarksInOrder = Example;
  MarksInOrder[0] = Fffd + Fffd + "3000";
  const std::string Rest = ExampleBytes.substr(6);  // lines 2 to 8

  struct Row {
    const char* Name;
    std::string Bytes;
    std::optional<BaseValues> Expected;
  } Rows[] = {
      {"CR LF as written", ExampleBytes, Example},
      {"UTF-8 mark", "\xEF\xBB\xBF" + ExampleBytes, Example},
      {"UTF-16 LE mark", "\xFF\xFE" + Utf16(ExampleBytes, false), Example},
      {"UTF-16 BE mark", "\xFE\xFF" + Utf16(ExampleBytes, true), Example},
      {"UTF-16 LE Persian digits and a surrogate pair",
       "\xFF\xFE\xF3\x06\xF0\x06\x3D\xD8\x00\xDE"s + Utf16("\r\n" + Rest, false), Persian},
      {"UTF-16 BE lone surrogates", "\xFE\xFF\xD8\x00\x00\x41\xDC\x00"s + Utf16("\r\n" + Rest, true), LoneSurrogates},
      {"UTF-16 LE odd last byte", "\xFF\xFE" + Utf16(ExampleBytes.substr(0, 66), false) + "\x41", OddByte},
      {"UTF-16 NUL ends the text",
       "\xFF\xFE" + Utf16(ExampleBytes + "\0"
                                         "9\r\n"s,
                          false),
       Example},
      {"UTF-8 mark wins over a following FF FE", "\xEF\xBB\xBF\xFF\xFE" + ExampleBytes, MarksInOrder},
      {"lone LF", "3000\n25000000\n24000000\n5000000\n2500000\n1200000\n400\n30000000\n", Example},
      {"lone CR", "3000\r25000000\r24000000\r5000000\r2500000\r1200000\r400\r30000000\r", Example},
      {"mixed breaks", "3000\r25000000\n24000000\r\n5000000\n2500000\r1200000\r\n400\n30000000", Example},
      {"CR CR LF is two breaks", "1\r\r\n3\n4\n5\n6\n7\n8", BaseValues{"1", "", "3", "4", "5", "6", "7", "8"}},
      {"LF CR is two breaks", "1\n\r3\n4\n5\n6\n7\n8\n", BaseValues{"1", "", "3", "4", "5", "6", "7", "8"}},
      {"last line without a break", ExampleBytes.substr(0, 66), Example},
      {"eight empty lines", "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n", BaseValues{}},
      {"extra empty ninth line", ExampleBytes + "\r\n", std::nullopt},
      {"nine values", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n", std::nullopt},
      {"seven lines", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", std::nullopt},
      {"empty file", "", std::nullopt},
      {"UTF-8 mark only", "\xEF\xBB\xBF", std::nullopt},
      {"NUL after line eight",
       ExampleBytes + "\0"
                      "9\r\n10\r\n"s,
       Example},
      {"NUL inside line eight",
       "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\0"
       "9\r\n10\r\n"s,
       Digits},
      {"NUL in line four leaves four lines",
       "1\r\n2\r\n3\r\n4\0"
       "\r\n5\r\n6\r\n7\r\n8\r\n"s,
       std::nullopt},
      {"spaces kept", " 3000 \r\n\t" + ExampleBytes.substr(6), Spaced},
      {"valid UTF-8 without a mark", "\xDB\xB3\xDB\xB0\xF0\x9F\x98\x80\r\n" + Rest, Persian},
      {"invalid UTF-8 without a mark",
       "\xFF"
       "3000\xC0\xAF\xED\xA0\x80\xE2\x82\r\n" +
           Rest,
       Invalid},
  };
  for (const Row& R : Rows) {
    SCOPED_TRACE(R.Name);
    WriteBytes(Ini(), R.Bytes);
    EXPECT_EQ(LoadBaseValues(Dir), R.Expected);
  }
}

TEST_F(BaseValuesTest, LoadFindsNothingWithoutARegularFile) {
  WriteBytes(Dir + "/plain", ExampleBytes);
  ASSERT_TRUE(fs::create_directories(Dir + "/withdir/info.ini"));
  ASSERT_TRUE(fs::create_directory(Dir + "/withfifo"));
  ASSERT_EQ(::mkfifo((Dir + "/withfifo/info.ini").c_str(), 0644), 0);
  const struct {
    const char* Name;
    std::string Folder;
  } Rows[] = {
      {"no file", Dir},
      {"folder missing", Dir + "/missing"},
      {"folder is a regular file", Dir + "/plain"},
      {"info.ini is a folder", Dir + "/withdir"},
      {"info.ini is a pipe with no writer", Dir + "/withfifo"},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(LoadBaseValues(R.Folder), std::nullopt);
  }
}

TEST_F(BaseValuesTest, LoadReportsAFileThatCannotBeOpened) {
  ASSERT_EQ(::symlink("info.ini", Ini().c_str()), 0);
  EXPECT_EQ(Caught([&] { LoadBaseValues(Dir); }),
            "Cannot open file \"" + Ini() + "\". Too many levels of symbolic links");
}

TEST_F(BaseValuesTest, LoadReportsAFileItMayNotRead) {
  WriteBytes(Ini(), ExampleBytes);
  ASSERT_EQ(::chmod(Dir.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(Ini().c_str(), 0200), 0);
  const std::string Result = InChild([&] { return Caught([&] { LoadBaseValues(Dir); }); }, true);
  if (Result == SkipMark) GTEST_SKIP() << SkipMark;
  EXPECT_EQ(Result, "Cannot open file \"" + Ini() + "\". Permission denied");
}

TEST_F(BaseValuesTest, LoadTakesMegabytesButIgnoresAHugeFile) {
  const std::string Long(3 << 20, '7');
  WriteBytes(Ini(), ExampleBytes.substr(0, 58) + Long + "\r\n");
  auto Loaded = LoadBaseValues(Dir);
  ASSERT_TRUE(Loaded.has_value());
  EXPECT_EQ((*Loaded)[7], Long);
  EXPECT_EQ((*Loaded)[6], "400");

  WriteBytes(Ini(), ExampleBytes.substr(0, 58) + std::string(20 << 20, '7') + "\r\n");
  EXPECT_EQ(LoadBaseValues(Dir), std::nullopt);
}

TEST_F(BaseValuesTest, SaveReportsAFileItCannotCreate) {
  WriteBytes(Dir + "/plain", OldBytes);
  ASSERT_TRUE(fs::create_directories(Dir + "/withdir/info.ini"));
  WriteBytes(Dir + "/withdir/info.ini/keep", OldBytes);
  const struct {
    const char* Name;
    std::string Folder;
    std::string Cause;
  } Rows[] = {
      {"folder missing", Dir + "/missing", "No such file or directory"},
      {"folder is a regular file", Dir + "/plain", "Not a directory"},
      {"info.ini is a folder", Dir + "/withdir", "Is a directory"},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    EXPECT_EQ(Caught([&] { SaveBaseValues(R.Folder, Example); }),
              "Cannot create file \"" + R.Folder + "/info.ini\". " + R.Cause);
  }
  EXPECT_EQ(Entries(Dir), (std::vector<std::string>{"plain", "withdir"}));
  EXPECT_EQ(ReadBytes(Dir + "/plain"), OldBytes);
  EXPECT_EQ(Entries(Dir + "/withdir"), std::vector<std::string>{"info.ini"});
  EXPECT_EQ(ReadBytes(Dir + "/withdir/info.ini/keep"), OldBytes);
}

TEST_F(BaseValuesTest, SaveFaultsLeaveTheOldFileAndNoTemporaryFile) {
  int Calls = 0;
  auto Fail = [](int Error) {
    errno = Error;
    return -1;
  };
  const struct {
    const char* Name;
    detail::FileOps Ops;
    std::string Message;  // empty: the save succeeds
  } Rows[] = {
      {"disk full after ten bytes",
       {[&](int Fd, const void* Data, std::size_t Size) -> ssize_t {
          return Calls++ == 0 ? ::write(Fd, Data, std::min<std::size_t>(Size, 10)) : Fail(ENOSPC);
        },
        {},
        {}},
       "Stream write error"},
      {"write makes no progress",
       {[](int, const void*, std::size_t) -> ssize_t { return 0; }, {}, {}},
       "Stream write error"},
      {"flush fails", {{}, [&](int) { return Fail(EIO); }, {}}, "Stream write error"},
      {"rename refused",
       {{}, {}, [&](const char*, const char*) { return Fail(EACCES); }},
       "Cannot create file \"" + Ini() + "\". Permission denied"},
      {"written in pieces of five bytes",
       {[](int Fd, const void* Data, std::size_t Size) { return ::write(Fd, Data, std::min<std::size_t>(Size, 5)); },
        {},
        {}},
       ""},
      {"write interrupted once",
       {[&](int Fd, const void* Data, std::size_t Size) -> ssize_t {
          return Calls++ == 0 ? Fail(EINTR) : ::write(Fd, Data, Size);
        },
        {},
        {}},
       ""},
  };
  for (const auto& R : Rows) {
    SCOPED_TRACE(R.Name);
    WriteBytes(Ini(), OldBytes);
    Calls = 0;
    EXPECT_EQ(Caught([&] { detail::SaveBaseValues(Dir, Example, R.Ops); }), R.Message);
    EXPECT_EQ(ReadBytes(Ini()), R.Message.empty() ? ExampleBytes : OldBytes);
    EXPECT_EQ(Entries(Dir), std::vector<std::string>{"info.ini"});
  }
}

TEST_F(BaseValuesTest, SaveStopsShortAtTheFileSizeLimit) {
  WriteBytes(Ini(), OldBytes);
  const std::string Result = InChild(
      [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit Limit{20, 20};
        if (::setrlimit(RLIMIT_FSIZE, &Limit) != 0) return std::string("setrlimit failed");
        return Caught([&] { SaveBaseValues(Dir, Example); });
      },
      false);
  EXPECT_EQ(Result, "Stream write error");
  EXPECT_EQ(ReadBytes(Ini()), OldBytes);
  EXPECT_EQ(Entries(Dir), std::vector<std::string>{"info.ini"});
}

TEST_F(BaseValuesTest, SaveRefusedWithoutWritePermission) {
  ASSERT_TRUE(fs::create_directory(Dir + "/readonly"));
  ASSERT_TRUE(fs::create_directory(Dir + "/protected"));
  WriteBytes(Dir + "/readonly/info.ini", OldBytes);
  WriteBytes(Dir + "/protected/info.ini", OldBytes);
  ASSERT_EQ(::chmod(Dir.c_str(), 0755), 0);
  ASSERT_EQ(::chmod((Dir + "/readonly").c_str(), 0555), 0);
  ASSERT_EQ(::chmod((Dir + "/protected").c_str(), 0777), 0);
  ASSERT_EQ(::chmod((Dir + "/protected/info.ini").c_str(), 0444), 0);
  for (const char* Sub : {"/readonly", "/protected"}) {
    SCOPED_TRACE(Sub);
    const std::string Folder = Dir + Sub;
    const std::string Result = InChild([&] { return Caught([&] { SaveBaseValues(Folder, Example); }); }, true);
    if (Result == SkipMark) GTEST_SKIP() << SkipMark;
    EXPECT_EQ(Result, "Cannot create file \"" + Folder + "/info.ini\". Permission denied");
    EXPECT_EQ(ReadBytes(Folder + "/info.ini"), OldBytes);
    EXPECT_EQ(Entries(Folder), std::vector<std::string>{"info.ini"});
  }
  ::chmod((Dir + "/readonly").c_str(), 0755);
}

}  // namespace
