// Files: CreateFileA's dispositions, byte-range locks by Windows' rules (also against
// another process), copying, renaming and deleting, attributes, full path names.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "tests/common/scratch_dir.h"
#include "tests/platform/kernel32/case_name.h"

namespace {

class Files : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_.File(name); }
  HANDLE Open(const std::string& name, DWORD disposition = OPEN_ALWAYS, DWORD access = GENERIC_READ | GENERIC_WRITE) {
    return CreateFileA(Path(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  test::ScratchDir dir_;
};

struct OpenCase {
  const char* what;
  bool exists;
  DWORD disposition;
  bool opens;
  DWORD error;        // the last error afterwards
  std::string after;  // the file's contents afterwards ("-": none)
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.what; }

class CreateFileDisposition : public Files, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(CreateFileDisposition, OpensCreatesOrRefusesAsWindowsDoes) {
  const OpenCase& c = GetParam();
  if (c.exists) test::WriteBytes(Path("f"), "old");
  SetLastError(0xDEAD);
  HANDLE h = Open("f", c.disposition);
  EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
  EXPECT_EQ(GetLastError(), c.error);
  if (h != INVALID_HANDLE_VALUE) {
    EXPECT_TRUE(CloseHandle(h));
  }
  EXPECT_EQ(test::Exists(Path("f")) ? test::ReadBytes(Path("f")) : "-", c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateFileDisposition,
    ::testing::Values(OpenCase{"create new", false, CREATE_NEW, true, ERROR_SUCCESS, ""},
                      OpenCase{"create new over a file", true, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
                      OpenCase{"create always", false, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
                      OpenCase{"create always over a file", true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
                      OpenCase{"open existing", true, OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
                      OpenCase{"open existing without a file", false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, "-"},
                      OpenCase{"open always", false, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
                      OpenCase{"open always a file", true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
                      OpenCase{"truncate existing", true, TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
                      OpenCase{"truncate without a file", false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, "-"}),
    test::CaseName<OpenCase>);

TEST_F(Files, CreateFileRefusesWhatItCannotBe) {
  SetLastError(0);
  EXPECT_EQ(CreateFileA(Path("no/such/f").c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(CreateFileA(dir_.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  test::WriteBytes(Path("ro"), "x");
  chmod(Path("ro").c_str(), 0444);
  EXPECT_EQ(Open("ro", OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE reading = Open("ro", OPEN_EXISTING, GENERIC_READ);
  EXPECT_NE(reading, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(reading));
  EXPECT_FALSE(CloseHandle(reading));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

BOOL Lock(HANDLE h, DWORD offset, DWORD length, DWORD flags = LOCKFILE_EXCLUSIVE_LOCK) {
  OVERLAPPED at = {};
  at.Offset = offset;
  return LockFileEx(h, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, length, 0, &at);
}

BOOL Unlock(HANDLE h, DWORD offset, DWORD length) {
  OVERLAPPED at = {};
  at.Offset = offset;
  return UnlockFileEx(h, 0, length, 0, &at);
}

// The rules that Windows' own conformance tests hold it to.
TEST_F(Files, LocksFollowWindowsRulesBetweenHandles) {
  HANDLE one = Open("locked");
  HANDLE two = Open("locked");
  ASSERT_NE(one, INVALID_HANDLE_VALUE);
  ASSERT_NE(two, INVALID_HANDLE_VALUE);

  EXPECT_TRUE(Lock(one, 10, 20));
  EXPECT_FALSE(Lock(one, 12, 10)) << "an exclusive lock overlaps not even its own handle's";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_LOCK_VIOLATION));
  EXPECT_TRUE(Lock(one, 5, 5)) << "touching is not overlapping";
  EXPECT_FALSE(Lock(two, 29, 1, 0)) << "another handle is kept out, even from a shared lock";
  EXPECT_FALSE(Unlock(one, 10, 10)) << "an unlock names a locked range exactly";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_TRUE(Unlock(one, 10, 20));
  EXPECT_FALSE(Unlock(one, 10, 20));
  EXPECT_TRUE(Lock(two, 29, 1, 0));
  EXPECT_TRUE(Unlock(two, 29, 1));

  // Shared locks stack, over each other and over the same handle's exclusive lock; of an
  // exclusive and a shared lock on one range, the exclusive one is undone first.
  EXPECT_TRUE(Lock(one, 100, 100, 0));
  EXPECT_TRUE(Lock(two, 150, 100, 0));
  EXPECT_FALSE(Lock(two, 150, 50));
  EXPECT_TRUE(Unlock(one, 100, 100));
  EXPECT_TRUE(Lock(one, 300, 100));
  EXPECT_TRUE(Lock(one, 300, 100, 0));
  EXPECT_FALSE(Lock(two, 300, 100, 0));
  EXPECT_TRUE(Unlock(one, 300, 100));
  EXPECT_TRUE(Lock(two, 300, 100, 0)) << "only the shared lock is left";

  // The whole of any file, as callers lock it, and a range of nothing.
  OVERLAPPED at = {};
  EXPECT_FALSE(LockFileEx(one, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 0xFFFFFFFF, 0xFFFFFFFF, &at));
  EXPECT_TRUE(Lock(one, 1000, 0));
  EXPECT_TRUE(Unlock(one, 1000, 0));
  EXPECT_TRUE(CloseHandle(two));
  EXPECT_FALSE(LockFileEx(one, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 0xFFFFFFFF, 0xFFFFFFFF, &at))
      << "the handle's own locks are in the way";
  EXPECT_TRUE(Unlock(one, 300, 100));
  EXPECT_TRUE(Unlock(one, 5, 5));
  EXPECT_TRUE(LockFileEx(one, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 0xFFFFFFFF, 0xFFFFFFFF, &at));
  EXPECT_TRUE(CloseHandle(one));
}

// A child process that asks for the lock on byte 0. It first closes its copy of `held`:
// fork shares this process's descriptors, where Windows hands no handle down unasked.
pid_t StartLocker(const std::string& path, DWORD flags, HANDLE held) {
  // The child says when it has tried at once: only then may the test let go of its own lock,
  // however long the child takes to get there.
  int tried[2];
  if (pipe(tried) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(tried[0]);
    CloseHandle(held);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    OVERLAPPED at = {};
    bool atOnce = LockFileEx(h, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
    char byte = 0;
    if (write(tried[1], &byte, 1) != 1) _exit(3);
    if (atOnce) _exit(1);
    if (flags & LOCKFILE_FAIL_IMMEDIATELY) _exit(0);
    _exit(LockFileEx(h, flags, 0, 1, 0, &at) ? 2 : 0);
  }
  close(tried[1]);
  char byte = 0;
  if (pid > 0 && read(tried[0], &byte, 1) != 1) pid = -1;
  close(tried[0]);
  return pid;
}

// 1: the lock was granted at once; 2: after waiting; 0: refused.
int Outcome(pid_t locker) {
  int status = 0;
  waitpid(locker, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Files, LocksKeepOutOtherProcessesAndGoWithTheirHandle) {
  HANDLE h = Open("locked");
  ASSERT_TRUE(Lock(h, 0, 1));
  EXPECT_EQ(Outcome(StartLocker(Path("locked"), LOCKFILE_FAIL_IMMEDIATELY, h)), 0);
  EXPECT_EQ(Outcome(StartLocker(Path("locked"), LOCKFILE_FAIL_IMMEDIATELY | LOCKFILE_EXCLUSIVE_LOCK, h)), 0);
  // A waiting process gets the lock once this one lets go of it.
  pid_t waiter = StartLocker(Path("locked"), LOCKFILE_EXCLUSIVE_LOCK, h);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(Outcome(waiter), 2);
  EXPECT_EQ(Outcome(StartLocker(Path("locked"), LOCKFILE_EXCLUSIVE_LOCK, nullptr)), 1);
}

TEST_F(Files, CopyTakesContentsPermissionsAndTime) {
  test::WriteBytes(Path("a"), "contents");
  chmod(Path("a").c_str(), 0444);
  const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
  utimensat(AT_FDCWD, Path("a").c_str(), times, 0);
  ASSERT_TRUE(CopyFileA(Path("a").c_str(), Path("b").c_str(), TRUE));
  struct stat st {};
  ASSERT_EQ(stat(Path("b").c_str(), &st), 0);
  EXPECT_EQ(test::ReadBytes(Path("b")), "contents");
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ASSERT_TRUE(GetFileAttributesExA(Path("b").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(data.nFileSizeLow, 8u);
  // 2001-09-09 01:46:40 UTC in 100-nanosecond steps since 1601.
  EXPECT_EQ((std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
            126444736000000000ull);

  test::WriteBytes(Path("c"), "other");
  EXPECT_FALSE(CopyFileA(Path("a").c_str(), Path("c").c_str(), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_FALSE(CopyFileA(Path("a").c_str(), Path("b").c_str(), FALSE)) << "b is read-only";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(CopyFileA(Path("c").c_str(), Path("c").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(test::ReadBytes(Path("c")), "other");
  EXPECT_FALSE(CopyFileA(Path("missing").c_str(), Path("d").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(test::Exists(Path("d")));
}

TEST_F(Files, MoveReplacesOnlyWhenAskedAndNeverAReadOnlyFile) {
  test::WriteBytes(Path("new"), "new");
  test::WriteBytes(Path("old"), "old");
  EXPECT_FALSE(MoveFileExA(Path("new").c_str(), Path("old").c_str(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  chmod(Path("old").c_str(), 0444);
  EXPECT_FALSE(MoveFileExA(Path("new").c_str(), Path("old").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  chmod(Path("old").c_str(), 0644);
  EXPECT_TRUE(
      MoveFileExA(Path("new").c_str(), Path("old").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(test::ReadBytes(Path("old")), "new");
  EXPECT_FALSE(test::Exists(Path("new")));
  EXPECT_TRUE(MoveFileExA(Path("old").c_str(), Path("renamed").c_str(), 0));
  EXPECT_FALSE(MoveFileExA(Path("old").c_str(), Path("x").c_str(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(MoveFileExA(Path("renamed").c_str(), Path("x").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(Files, DeleteAndAttributes) {
  test::WriteBytes(Path("f"), "x");
  mkdir(Path("d").c_str(), 0755);
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ASSERT_TRUE(GetFileAttributesExA(Path("f").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(GetFileAttributesExA(Path("d").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_FALSE(GetFileAttributesExA(Path("none").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(DeleteFileA(Path("d").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  chmod(Path("f").c_str(), 0444);
  EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  chmod(Path("f").c_str(), 0644);
  EXPECT_TRUE(DeleteFileA(Path("f").c_str()));
  EXPECT_FALSE(DeleteFileA(Path("f").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(DeleteFileA(Path("none/f").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

struct FullPathCase {
  const char* what;
  std::string name;      // relative to the scratch directory unless it starts with '/'
  std::string expected;  // the same
  int filePart;          // where *lpFilePart points, from the end; -1: NULL
};

void PrintTo(const FullPathCase& c, std::ostream* os) { *os << c.what; }

class FullPathName : public Files, public ::testing::WithParamInterface<FullPathCase> {};

TEST_P(FullPathName, NamesTheFileAsTheSystemDoes) {
  const FullPathCase& c = GetParam();
  test::CurrentDirectoryGuard cwd;
  ASSERT_EQ(chdir(dir_.path().c_str()), 0);
  const std::string expected = c.expected[0] == '/' ? c.expected : dir_.path() + "/" + c.expected;
  char buffer[512];
  LPSTR part = buffer;
  ASSERT_EQ(GetFullPathNameA(c.name.c_str(), sizeof buffer, buffer, &part), expected.size());
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(part, c.filePart < 0 ? nullptr : buffer + expected.size() - c.filePart);
  // One byte short: the size needed, the terminating zero included.
  EXPECT_EQ(GetFullPathNameA(c.name.c_str(), static_cast<DWORD>(expected.size()), buffer, nullptr),
            expected.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FullPathName,
    ::testing::Values(FullPathCase{"relative", "Ranking.dat", "Ranking.dat", 11},
                      FullPathCase{"backslashes", "sub\\..\\.\\Ranking.dat", "Ranking.dat", 11},
                      FullPathCase{"mixed absolute", "/tmp/x\\Ranking.dat", "/tmp/x/Ranking.dat", 11},
                      FullPathCase{"above the root", "/../..\\a", "/a", 1},
                      FullPathCase{"trailing separator", "/tmp/x\\", "/tmp/x/", -1},
                      FullPathCase{"trail byte 0x5C is no separator", "/\x95\x5C\\f", "/\x95\x5C/f", 1}),
    test::CaseName<FullPathCase>);

}  // namespace
