#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "core_test_util.h"

namespace fs = std::filesystem;

namespace {

// The streams take UTF-8 paths on every platform.
fs::path FromUtf8(const std::string& path) {
  return fs::path(std::u8string(path.begin(), path.end()));
}
std::string ToUtf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

struct TempFolder : ::testing::Test {
  fs::path folder;
  void SetUp() override {
    std::mt19937 random{std::random_device{}()};
    do {
      folder = fs::temp_directory_path() / ("vornik-core-" + std::to_string(random()));
    } while (!fs::create_directory(folder));
  }
  void TearDown() override {
    std::error_code ignored;  // read-only files are removed too
    for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(folder);
  }
  std::string PathOf(const std::string& name) const { return ToUtf8(folder / FromUtf8(name)); }
  static std::string Contents(const std::string& path) {
    std::ifstream in(FromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(FromUtf8(path), std::ios::binary) << text;
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
  }
};

#ifndef _WIN32
// Runs what as an ordinary user: as it is when the tests do not run as root,
// else in a child process that has given up root for the "nobody" account.
constexpr uid_t kNobody = 65534;
bool AsOrdinaryUser(const std::function<bool()>& what) {
  if (::geteuid() != 0) return what();
  const pid_t child = ::fork();
  if (child == 0) {
    const bool ok = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && what();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}
#endif

TEST(MemoryStream, ReadWriteSeekTruncate) {
  TMemoryStream s;
  s.Write("hello", 5);
  s.Seek(1);
  s.Write("EL", 2);
  s.Seek(7);
  s.Write("!", 1);  // past the end: the gap is zero-filled
  EXPECT_EQ(Text(s.Bytes(), 0, 8), std::string("hELlo\0\0!", 8));
  char buffer[8];
  s.Seek(3);
  EXPECT_EQ(s.Read(buffer, 8), 5u);
  s.Seek(100);
  EXPECT_EQ(s.Read(buffer, 1), 0u);
  s.Seek(2);
  s.Truncate();
  EXPECT_EQ(s.Size(), 2u);
  s.Seek(0);
  EXPECT_EQ(MessageOf<EStreamError>([&] { s.ReadBuffer(buffer, 3); }), "Stream read error");
  s.Seek(1);
  s.Write("xyz", 3);  // over the last byte and on
  EXPECT_EQ(Text(s.Bytes(), 0, 4), "hxyz");
  EXPECT_EQ(s.Size(), 4u);
}

TEST_F(TempFolder, FileStreamMessagesAndLocks) {
  using M = TFileStream::Mode;
  const std::string missing = PathOf("missing.pdb"), lost = PathOf("no/such.pdb");
  EXPECT_EQ(MessageOf([&] { TFileStream s(missing, M::OpenRead); }), "Cannot open file " + missing);
  EXPECT_EQ(MessageOf([&] { TFileStream s(lost, M::Create); }), "Cannot create file " + lost);
  EXPECT_EQ(MessageOf([&] { TFileStream s(folder.string(), M::OpenRead); }),
            "Cannot open file " + folder.string());
#ifndef _WIN32
  const std::string pipe = PathOf("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // refused, not waited on
  EXPECT_EQ(MessageOf([&] { TFileStream s(pipe, M::OpenRead); }), "Cannot open file " + pipe);
  EXPECT_EQ(MessageOf([&] { TFileStream s(pipe, M::Create); }), "Cannot create file " + pipe);
  fs::remove(pipe);
#endif

  const std::string path = PathOf("a.pdb");
  Put(path, "previous contents");
  {
    TFileStream s(path, M::Create);  // replaces
    s.Write("abcdef", 6);
    s.Seek(2);
    s.Truncate();
  }
  EXPECT_EQ(Contents(path), "ab");
  EXPECT_EQ(MessageOf([&] { TFileStream s(path, M::CreateNew); }), "Cannot create file " + path);
  {
    TFileStream in(path, M::OpenRead);
    char buffer[4];
    EXPECT_EQ(MessageOf([&] { in.ReadBuffer(buffer, 3); }), "Stream read error");
    EXPECT_EQ(MessageOf([&] { in.Write("x", 1); }), "Stream write error");
    // The reader's shared lock keeps writers out; other readers may open.
    EXPECT_EQ(MessageOf([&] { TFileStream w(path, M::Create); }), "Cannot create file " + path);
    TFileStream secondReader(path, M::OpenRead);
  }
  EXPECT_EQ(Contents(path), "ab");
  // Another program writing the file keeps the reader out.
#ifdef _WIN32
  const HANDLE writer =
      ::CreateFileW(FromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(MessageOf([&] { TFileStream r(path, M::OpenRead); }), "Cannot open file " + path);
  ::CloseHandle(writer);
#else
  const int writer = ::open(path.c_str(), O_RDWR);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  EXPECT_EQ(MessageOf([&] { TFileStream r(path, M::OpenRead); }), "Cannot open file " + path);
  ::close(writer);
#endif
}

TEST_F(TempFolder, SafeReplaceWritesAListKeepingModeAndLink) {
  TListDBData doc;
  doc.AddRecord()->SetField1("Ann");
  const std::string real = PathOf("real.pdb");
  Put(real, "old");
#ifdef _WIN32
  ::SetFileAttributesW(FromUtf8(real).c_str(), FILE_ATTRIBUTE_HIDDEN);
  SafeReplaceFile(real, [&](TStream& s) { WriteListDB(doc, s); });
  EXPECT_EQ(::GetFileAttributesW(FromUtf8(real).c_str()) & FILE_ATTRIBUTE_HIDDEN,
            DWORD{FILE_ATTRIBUTE_HIDDEN});
  EXPECT_EQ(Entries(), 1u);  // no temporary file is left
#else
  const std::string link = PathOf("link.pdb");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, link);
  SafeReplaceFile(link, [&](TStream& s) { WriteListDB(doc, s); });
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
  EXPECT_EQ(Entries(), 2u);  // no temporary file is left
#endif
  EXPECT_EQ(fs::file_size(FromUtf8(real)), 600u + 6 + 3);
  // The longest name a folder holds, cut for the temporary one within a
  // character; names are UTF-8.
  const std::string longest = PathOf(std::string(199, 'n') + "\xC3\xA9" + std::string(53, 'n'));
  SafeReplaceFile(longest, [](TStream& s) { s.Write("x", 1); });
  EXPECT_EQ(fs::file_size(FromUtf8(longest)), 1u);
  const std::string accented = PathOf("Lista \xC3\xA5 \xE2\x82\xAC.pdb");
  for (const char* text : {"one", "two"}) {  // made, then replaced
    SafeReplaceFile(accented, [&](TStream& s) { s.Write(text, 3); });
    EXPECT_EQ(Contents(accented), text);
  }
  EXPECT_TRUE(fs::exists(folder / fs::path(u8"Lista \u00E5 \u20AC.pdb")));
  TFileStream in(real, TFileStream::Mode::OpenRead);
  in.Seek(300);  // the reader starts from the top wherever the stream is
  TListDBData back;
  ReadListDB(back, in);
  EXPECT_EQ(back.GetRecord(0)->Field1(), "Ann");
}

#ifdef _WIN32
TEST_F(TempFolder, ReplaceRefusesAReadOnlyFile) {
  const std::string locked = PathOf("locked.pdb");
  Put(locked, "kept");
  fs::permissions(FromUtf8(locked), fs::perms::all, fs::perm_options::remove);  // read-only
  ASSERT_TRUE(::GetFileAttributesW(FromUtf8(locked).c_str()) & FILE_ATTRIBUTE_READONLY);
  bool called = false;
  EXPECT_EQ(MessageOf([&] { SafeReplaceFile(locked, [&](TStream&) { called = true; }); }),
            "Cannot create file " + locked);
  EXPECT_FALSE(called);
  EXPECT_EQ(MessageOf([&] { TFileStream s(locked, TFileStream::Mode::Create); }),
            "Cannot create file " + locked);
  EXPECT_EQ(Contents(locked), "kept");
  EXPECT_EQ(Entries(), 1u);
}
#else
TEST_F(TempFolder, ReplaceRefusesAReadOnlyFileAndFollowsADanglingLink) {
  ::chmod(folder.c_str(), 0777);  // the ordinary user may add files here
  const std::string locked = PathOf("locked.pdb"), open = PathOf("open.pdb");
  Put(locked, "kept");
  Put(open, "old");
  ::chmod(locked.c_str(), 0444);
  if (::geteuid() == 0) {  // both files are the ordinary user's own
    ASSERT_EQ(::chown(locked.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(open.c_str(), kNobody, kNobody), 0);
  }
  EXPECT_TRUE(AsOrdinaryUser([&] {
    bool called = false;
    const std::string message =
        MessageOf([&] { SafeReplaceFile(locked, [&](TStream&) { called = true; }); });
    return message == "Cannot create file " + locked && !called;
  }));
  EXPECT_EQ(Contents(locked), "kept");
  EXPECT_TRUE(AsOrdinaryUser([&] {
    SafeReplaceFile(open, [](TStream& s) { s.Write("new", 3); });
    return true;
  }));
  EXPECT_EQ(Contents(open), "new");
  EXPECT_EQ(Entries(), 2u);

  // A link whose file does not exist yet: the file is made where it points,
  // relative to the link's own folder, and the link stays.
  fs::create_directory(PathOf("lists"));
  const std::string link = PathOf("link.pdb");
  fs::create_symlink("lists/new.pdb", link);
  SafeReplaceFile(link, [](TStream& s) { s.Write("data", 4); });
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(PathOf("lists/new.pdb")), "data");

  if (::geteuid() == 0) {  // a replaced file keeps its owner and group
    SafeReplaceFile(open, [](TStream& s) { s.Write("again", 5); });
    struct stat info {};
    ASSERT_EQ(::stat(open.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
  }
}
#endif

TEST_F(TempFolder, FailedReplaceLeavesTheTargetAlone) {
  const std::string path = PathOf("list.pdb");
  Put(path, "the old list");
  EXPECT_EQ(MessageOf([&] {
              SafeReplaceFile(path, [](TStream& s) {
                s.Write("half", 4);  // fails midway, after part of the new file
                throw EListDBError("Notes value is longer than 4095");
              });
            }),
            "Notes value is longer than 4095");
  TListDBData doc;  // a document the writer refuses
  doc.AddRecord()->StoreField1Unchecked(std::string(251, 'a'));
  EXPECT_THROW(SafeReplaceFile(path, [&](TStream& s) { WriteListDB(doc, s); }), EListDBError);
  EXPECT_EQ(Contents(path), "the old list");
  EXPECT_EQ(Entries(), 1u);

  const std::string lost = PathOf("gone/list.pdb");
  bool called = false;
  EXPECT_EQ(MessageOf([&] { SafeReplaceFile(lost, [&](TStream&) { called = true; }); }),
            "Cannot create file " + lost);
  EXPECT_FALSE(called);
  fs::create_directory(PathOf("sub"));  // only regular files are replaced
#ifdef _WIN32
  for (const char* target : {"sub"}) {
#else
  ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
  for (const char* target : {"sub", "pipe"}) {
#endif
    EXPECT_EQ(MessageOf([&] { SafeReplaceFile(PathOf(target), [](TStream&) {}); }),
              "Cannot create file " + PathOf(target));
  }
#ifdef _WIN32
  // A reader holds the file open and shuts writers out: it is not replaced.
  {
    TFileStream reader(path, TFileStream::Mode::OpenRead);
    EXPECT_EQ(MessageOf([&] { SafeReplaceFile(path, [&](TStream&) { called = true; }); }),
              "Cannot create file " + path);
    EXPECT_FALSE(called);
  }
  EXPECT_EQ(Contents(path), "the old list");
  EXPECT_EQ(Entries(), 2u);
#else
  EXPECT_EQ(Entries(), 3u);
#endif
}

}  // namespace
