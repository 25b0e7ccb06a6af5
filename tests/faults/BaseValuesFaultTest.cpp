// SPDX-License-Identifier: GPL-3.0-or-later
// Faults of info.ini that a root process meets too, injected without relying
// on permission bits (CI runs as root): no free file descriptor, a read that
// fails after the open succeeded, and files and folders the kernel keeps
// unchanged (the immutable flag binds root as well). Each case: the exact
// message, the old file byte for byte, no temporary file.
#include <algorithm>
#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "storage/BaseValues.h"
#include "tests/storage/StorageTestSupport.h"

namespace fs = std::filesystem;
using namespace StorageTest;

namespace {

// Sets or clears the immutable flag; false where the file system has no such flag.
bool SetImmutable(const std::string& Path, bool On) {
  const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = On ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

class BaseValuesFaultTest : public TempFolderTest {
 protected:
  void TearDown() override {
    for (const std::string& path : Immutable) SetImmutable(path, false);
    TempFolderTest::TearDown();
  }

  // Marks Path immutable until the test ends; false when that is not possible here.
  bool MakeImmutable(const std::string& Path) {
    if (!SetImmutable(Path, true)) return false;
    Immutable.push_back(Path);
    return true;
  }

  std::vector<std::string> Immutable;
};

TEST_F(BaseValuesFaultTest, SaveWithoutAFreeFileDescriptorKeepsTheOldFile) {
  WriteBytes(Ini(), OldBytes);
  const std::string message = InChild([&] {
    // Every descriptor up to the limit in use: the temporary file cannot be
    // opened. They are given back before the error is looked at, since the
    // sanitizers' own checks need a descriptor or two.
    const rlimit limit{16, 16};
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) return std::string("setrlimit failed");
    std::vector<int> taken;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;) taken.push_back(fd);
    std::exception_ptr error;
    try {
      SaveBaseValues(Dir, Example);
    } catch (...) {
      error = std::current_exception();
    }
    for (int fd : taken) ::close(fd);
    return Caught([&] {
      if (error) std::rethrow_exception(error);
    });
  });
  EXPECT_EQ(message, "Cannot create file \"" + Ini() + "\". Too many open files");
  EXPECT_EQ(ReadBytes(Ini()), OldBytes);
  EXPECT_EQ(Entries(Dir), std::vector<std::string>{"info.ini"});
}

TEST_F(BaseValuesFaultTest, LoadReportsAReadThatFailsAfterTheOpen) {
  // /proc/self/mem opens as a regular file, but reading its first page (never
  // mapped) fails with EIO.
  ASSERT_EQ(::symlink("/proc/self/mem", Ini().c_str()), 0);
  EXPECT_EQ(Caught([&] { LoadBaseValues(Dir); }), "Cannot open file \"" + Ini() + "\". Input/output error");
}

TEST_F(BaseValuesFaultTest, SaveRefusedByAnImmutableFileOrFolderEvenForRoot) {
  const struct {
    const char* Name;
    std::string Folder;
    std::string Immutable;  // relative to Folder; empty: the folder itself
  } rows[] = {
      {"info.ini immutable", Dir + "/file", "info.ini"},
      {"folder immutable", Dir + "/folder", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    ASSERT_TRUE(fs::create_directory(row.Folder));
    WriteBytes(row.Folder + "/info.ini", OldBytes);
    if (!MakeImmutable(row.Immutable.empty() ? row.Folder : row.Folder + "/" + row.Immutable))
      GTEST_SKIP() << "this file system has no immutable flag";
    EXPECT_EQ(Caught([&] { SaveBaseValues(row.Folder, Example); }),
              "Cannot create file \"" + row.Folder + "/info.ini\". Operation not permitted");
    EXPECT_EQ(ReadBytes(row.Folder + "/info.ini"), OldBytes);
    EXPECT_EQ(Entries(row.Folder), std::vector<std::string>{"info.ini"});
    // Loading still works: the file can be read.
    EXPECT_EQ(LoadBaseValues(row.Folder).value_or(BaseValues{})[0], "2800");
  }
}

}  // namespace
