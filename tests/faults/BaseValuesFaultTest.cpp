// Faults of info.ini that a root process meets too, injected without relying
// on permission bits (CI runs as root): no free file descriptor, a read that
// fails after the open succeeded, and files and folders the kernel keeps
// unchanged (the immutable flag binds root as well). Each case: the exact
// message, the old file byte for byte, no temporary file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "BaseValues.h"

namespace fs = std::filesystem;

namespace {

const BaseValues NewValues = {"3000",    "25000000", "24000000", "5000000",
                              "2500000", "1200000",  "400",      "30000000"};
const std::string OldBytes =
    "2800\r\n21000000\r\n20000000\r\n4500000\r\n2000000\r\n1000000\r\n350\r\n26000000\r\n";

std::string ReadBytes(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& Path, const std::string& Bytes) {
  std::ofstream(Path, std::ios::binary) << Bytes;
}

std::vector<std::string> Entries(const std::string& Folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

std::string MessageOf(const std::function<void()>& Body) {
  try {
    Body();
  } catch (const StorageError& e) {
    return e.what();
  }
  return "(no error)";
}

// Body's text, produced in a forked child so that limits set there stay there.
std::string InChild(const std::function<std::string()>& Body) {
  int pipe[2];
  if (::pipe(pipe) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    const std::string text = Body();
    const bool written = ::write(pipe[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::_exit(written ? 0 : 2);
  }
  ::close(pipe[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  return text;
}

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

class BaseValuesFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "basevalues-fault-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    Dir = name;
  }
  void TearDown() override {
    for (const std::string& path : Immutable) SetImmutable(path, false);
    std::error_code ignored;
    fs::remove_all(Dir, ignored);
  }
  std::string Ini() const { return Dir + "/info.ini"; }

  // Marks Path immutable until the test ends; false when that is not possible here.
  bool MakeImmutable(const std::string& Path) {
    if (!SetImmutable(Path, true)) return false;
    Immutable.push_back(Path);
    return true;
  }

  std::string Dir;
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
      SaveBaseValues(Dir, NewValues);
    } catch (...) {
      error = std::current_exception();
    }
    for (int fd : taken) ::close(fd);
    return MessageOf([&] {
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
  EXPECT_EQ(MessageOf([&] { LoadBaseValues(Dir); }),
            "Cannot open file \"" + Ini() + "\". Input/output error");
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
    EXPECT_EQ(MessageOf([&] { SaveBaseValues(row.Folder, NewValues); }),
              "Cannot create file \"" + row.Folder + "/info.ini\". Operation not permitted");
    EXPECT_EQ(ReadBytes(row.Folder + "/info.ini"), OldBytes);
    EXPECT_EQ(Entries(row.Folder), std::vector<std::string>{"info.ini"});
    // Loading still works: the file can be read.
    EXPECT_EQ(LoadBaseValues(row.Folder).value_or(BaseValues{})[0], "2800");
  }
}

}  // namespace
