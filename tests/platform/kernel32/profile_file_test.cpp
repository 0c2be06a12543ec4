// Profile files on disk: atomic replacement, refusals, hostile contents, UTF-16, caching.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/kernel32/profile/profile_document.h"
#include "platform/win32.h"
#include "tests/common/scratch_dir.h"

namespace {

using namespace std::string_literals;

std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadValue(const std::string& path, const char* section = "s", const char* key = "k") {
  char buffer[256];
  DWORD n = GetPrivateProfileStringA(section, key, "(default)", buffer, sizeof buffer, path.c_str());
  return std::string(buffer, n);
}

struct ChildOutcome {
  BOOL written = FALSE;
  DWORD error = 0;
  char before[64] = {};  // what the child read before writing
};

// Runs `write` in a child process, after `setup` there; for conditions the test must not
// impose on itself (another user, a file size limit).
ChildOutcome InChild(const std::function<void()>& setup, const std::function<BOOL()>& write,
                     const std::string& readPath) {
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    setup();
    ChildOutcome out;
    GetPrivateProfileStringA("s", "k", "(unreadable)", out.before, sizeof out.before, readPath.c_str());
    out.written = write();
    out.error = GetLastError();
    ssize_t ignored = ::write(fds[1], &out, sizeof out);
    (void)ignored;
    _exit(0);
  }
  close(fds[1]);
  ChildOutcome out;
  EXPECT_EQ(read(fds[0], &out, sizeof out), static_cast<ssize_t>(sizeof out));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  return out;
}

// Root may write anywhere, so the child becomes an ordinary user first.
void BecomeUnprivileged() {
  if (geteuid() != 0) return;
  if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
}

TEST(ProfileAtomicWrite, ReadOnlyDirectoryKeepsTheOldFile) {
  // Under /tmp, which every user may pass through: the build tree may lie in a home
  // directory that the unprivileged child cannot enter.
  test::ScratchDir dir("/tmp");
  const std::string path = dir.File("Ranking.dat");
  test::WriteBytes(path, "[s]\r\nk=old\r\n");
  chmod(path.c_str(), 0666);
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  ChildOutcome out = InChild(
      BecomeUnprivileged, [&] { return WritePrivateProfileStringA("s", "k", "new", path.c_str()); }, path);
  chmod(dir.path().c_str(), 0755);
  EXPECT_STREQ(out.before, "old") << "the child could not even read the file; the test proves nothing";
  EXPECT_FALSE(out.written);
  EXPECT_EQ(out.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(test::ReadBytes(path), "[s]\r\nk=old\r\n");
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"Ranking.dat"});
}

TEST(ProfileAtomicWrite, FailedWriteLeavesNoTemporaryAndNoTornFile) {
  test::ScratchDir dir;
  const std::string path = dir.File("big.ini");
  test::WriteBytes(path, "[s]\r\nk=old\r\n");
  const std::string huge(200000, 'x');
  ChildOutcome out = InChild(
      [] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
      },
      [&] { return WritePrivateProfileStringA("s", "k", huge.c_str(), path.c_str()); }, path);
  EXPECT_STREQ(out.before, "old");
  EXPECT_FALSE(out.written);
  EXPECT_EQ(out.error, static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
  EXPECT_EQ(test::ReadBytes(path), "[s]\r\nk=old\r\n");
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"big.ini"});
}

TEST(ProfileAtomicWrite, ReadOnlyFileIsRefusedUnlessNothingChanges) {
  test::ScratchDir dir;
  const std::string path = dir.File("ro.ini");
  test::WriteBytes(path, "[s]\r\nk=old\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "new", path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(test::ReadBytes(path), "[s]\r\nk=old\r\n");
  // The file already holds this value: there is nothing to write, so nothing fails.
  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "old", path.c_str()));
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"ro.ini"});
}

TEST(ProfileAtomicWrite, MissingDirectoryOrDirectoryTarget) {
  test::ScratchDir dir;
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", dir.File("no/such/dir.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  ASSERT_EQ(mkdir(dir.File("adir").c_str(), 0755), 0);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", dir.File("adir").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"adir"});
}

TEST(ProfileAtomicWrite, KeepsPermissionsAndSymlinks) {
  test::ScratchDir dir;
  const std::string path = dir.File("perm.ini");
  test::WriteBytes(path, "[s]\r\nk=1\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(symlink("perm.ini", dir.File("link.ini").c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "2", dir.File("link.ini").c_str()));
  struct stat st {};
  ASSERT_EQ(lstat(dir.File("link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(test::ReadBytes(path), "[s]\r\nk=2\r\n");

  // A new file gets the usual permissions, not those of a private temporary file.
  const mode_t mask = umask(022);
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "1", dir.File("new.ini").c_str()));
  umask(mask);
  ASSERT_EQ(stat(dir.File("new.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(ProfileHostileFiles, GarbageNeverCrashesAndStillTakesWrites) {
  test::ScratchDir dir;
  std::mt19937 random(1234);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(1 + random() % 20000, '\0');
    for (char& b : bytes) {
      // Mostly garbage, with enough structure characters to make sections and keys.
      static const char structure[] = "[]=;\r\n \t\"'\x81\x5C";
      b = (random() % 4 == 0) ? structure[random() % (sizeof structure - 1)] : static_cast<char>(random());
    }
    const std::string path = dir.File("garbage" + std::to_string(round) + ".ini");
    test::WriteBytes(path, bytes);
    char list[512];
    DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", list, sizeof list, path.c_str());
    ASSERT_LE(n, sizeof list - 2);
    ASSERT_EQ(list[n], '\0');
    ReadValue(path);
    GetPrivateProfileIntA("s", "k", 0, path.c_str());
    ASSERT_TRUE(WritePrivateProfileStringA("Ranking", "Score", "12345", path.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("Ranking", "Score", 0, path.c_str()), 12345u) << "round " << round;
  }
}

TEST(ProfileHostileFiles, LongLinesNulBytesAndNonFiles) {
  test::ScratchDir dir;
  const std::string path = dir.File("long.ini");
  test::WriteBytes(path, "[s]\r\nk=" + std::string(3'000'000, 'v') + "\r\nnul=a\0b\r\n"s);
  char buffer[21];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, sizeof buffer, path.c_str()), 20u);
  EXPECT_EQ(std::string(buffer), std::string(20, 'v'));
  EXPECT_EQ(GetPrivateProfileStringA("s", "nul", "", buffer, sizeof buffer, path.c_str()), 3u);
  EXPECT_EQ(std::string(buffer, 4), "a\0b\0"s);

  // A FIFO would block a reader that opened it normally; a device never ends.
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0644), 0);
  EXPECT_EQ(ReadValue(dir.File("fifo")), "(default)");
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", dir.File("fifo").c_str()));
  EXPECT_EQ(ReadValue("/dev/zero"), "(default)");
  EXPECT_EQ(ReadValue(dir.path()), "(default)");
}

TEST(ProfileSizeLimit, AFileAboveTheLimitReadsAsMissingAndIsLeftAlone) {
  test::ScratchDir dir;
  const std::string path = dir.File("big.ini");
  const std::string head = "[s]\r\nk=found\r\n[pad]\r\n";
  const std::size_t limit = win32::profile::kMaxProfileBytes;
  std::string atLimit = head + std::string(limit - head.size() - 2, ';') + "\r\n";
  ASSERT_EQ(atLimit.size(), limit);

  // At the limit: read, and written as long as the file stays within it.
  test::WriteBytes(path, atLimit);
  EXPECT_EQ(ReadValue(path), "found");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "fount", path.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "founds", path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
  EXPECT_EQ(test::ReadBytes(path).size(), limit);

  // One byte more: as if there were no file, never written, and said once.
  test::WriteBytes(path, atLimit + ";");
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReadValue(path), "(default)");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
  EXPECT_EQ(GetPrivateProfileIntA("s", "n", 7, path.c_str()), 7u);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "x", path.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(test::ReadBytes(path), atLimit + ";");
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(path + " is larger than 4 MB"), std::string::npos) << said;
}

TEST(ProfileAtomicWrite, TemporariesOfKilledWritersGoAtTheNextReadOrWrite) {
  test::ScratchDir dir;
  const std::string path = dir.File("x.ini");
  test::WriteBytes(path, "[s]\r\nk=v\r\n");
  const std::vector<std::string> stale = {".x.ini.0123456789abcdef.tmp", ".other.ini.fedcba9876543210.tmp"};
  const std::vector<std::string> kept = {".x.ini.tmp", "x.ini.0123456789abcdef.tmp", ".x.ini.0123456789ABCDEF.tmp"};
  for (const std::string& name : stale) test::WriteBytes(dir.File(name), "half");
  for (const std::string& name : kept) test::WriteBytes(dir.File(name), "mine");
  std::vector<std::string> expected = kept;
  expected.push_back("x.ini");
  std::sort(expected.begin(), expected.end());

  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // a new process's cache
  EXPECT_EQ(ReadValue(path), "v");
  EXPECT_EQ(Listing(dir.path()), expected);
  for (const std::string& name : stale) test::WriteBytes(dir.File(name), "half");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "w", path.c_str()));
  EXPECT_EQ(Listing(dir.path()), expected);
}

TEST(ProfileAtomicWrite, ProcessesWritingOneFileAtOnceLoseNoWrite) {
  test::ScratchDir dir;
  const std::string path = dir.File("shared.ini");
  const int kWriters = 3;
  const int kKeys = 40;
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int k = 0; k < kKeys; ++k) {
        const std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
        if (!WritePrivateProfileStringA("s", key.c_str(), "1", path.c_str())) _exit(1);
      }
      _exit(0);
    }
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int w = 0; w < kWriters; ++w)
    for (int k = 0; k < kKeys; ++k) {
      const std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
      EXPECT_EQ(GetPrivateProfileIntA("s", key.c_str(), 0, path.c_str()), 1u) << key;
    }
}

TEST(ProfileCache, SeesEveryChangeMadeBehindItsBack) {
  test::ScratchDir dir;
  const std::string path = dir.File("c.ini");
  // Same size, same inode, rewritten within the file system's timestamp granularity.
  for (char digit = '0'; digit <= '9'; ++digit) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    std::string bytes = "[s]\r\nk="s + digit + "\r\n";
    ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    close(fd);
    EXPECT_EQ(ReadValue(path), std::string(1, digit));
  }
  ASSERT_TRUE(WritePrivateProfileStringA("s", "j", "1", path.c_str()));
  test::WriteBytes(path, "[s]\r\nk=X\r\nj=2\r\n");
  EXPECT_EQ(ReadValue(path, "s", "j"), "2");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "Y", path.c_str()));
  EXPECT_EQ(test::ReadBytes(path), "[s]\r\nk=Y\r\nj=2\r\n");
}

std::string Utf16(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TEST(ProfileUtf16, ReadAndWrittenAsUtf16ThroughCp932) {
  test::ScratchDir dir;
  const std::string path = dir.File("wide.ini");
  // An untouched line holds a character CP932 does not have; it must survive as it is.
  const std::u16string before = u"[s]\r\nName=\u8868\u793A\r\nkeep=caf\u00E9\r\n";
  test::WriteBytes(path, Utf16(before));
  EXPECT_EQ(ReadValue(path, "s", "Name"), "\x95\x5C\x8E\xA6");  // 表示 in CP932
  EXPECT_EQ(ReadValue(path, "s", "keep"), "caf?");

  ASSERT_TRUE(WritePrivateProfileStringA("s", "Name", "\x83\x5C", path.c_str()));  // ソ
  ASSERT_TRUE(WritePrivateProfileStringA("t", "k", "v", path.c_str()));
  EXPECT_EQ(test::ReadBytes(path), Utf16(u"[s]\r\nName=\u30BD\r\nkeep=caf\u00E9\r\n[t]\r\nk=v\r\n"));

  // A file that holds nothing but the byte order mark is a UTF-16 file.
  const std::string empty = dir.File("bom.ini");
  test::WriteBytes(empty, "\xFF\xFE");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", empty.c_str()));
  EXPECT_EQ(test::ReadBytes(empty), Utf16(u"[s]\r\nk=v\r\n"));
}

}  // namespace
