#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "core_test_util.h"

namespace fs = std::filesystem;

namespace {

struct TempFolder : ::testing::Test {
  fs::path folder;
  void SetUp() override {
    char name[] = "/tmp/vornik-core-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    folder = name;
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
  }
};

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
}

TEST_F(TempFolder, FileStreamMessagesAndLocks) {
  using M = TFileStream::Mode;
  const std::string missing = PathOf("missing.pdb"), lost = PathOf("no/such.pdb");
  EXPECT_EQ(MessageOf([&] { TFileStream s(missing, M::OpenRead); }), "Cannot open file " + missing);
  EXPECT_EQ(MessageOf([&] { TFileStream s(lost, M::Create); }), "Cannot create file " + lost);
  EXPECT_EQ(MessageOf([&] { TFileStream s(folder.string(), M::OpenRead); }),
            "Cannot open file " + folder.string());
  const std::string pipe = PathOf("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);  // refused, not waited on
  EXPECT_EQ(MessageOf([&] { TFileStream s(pipe, M::OpenRead); }), "Cannot open file " + pipe);
  EXPECT_EQ(MessageOf([&] { TFileStream s(pipe, M::Create); }), "Cannot create file " + pipe);
  fs::remove(pipe);

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
  const int writer = ::open(path.c_str(), O_RDWR);
  ASSERT_EQ(::flock(writer, LOCK_EX), 0);
  EXPECT_EQ(MessageOf([&] { TFileStream r(path, M::OpenRead); }), "Cannot open file " + path);
  ::close(writer);
}

TEST_F(TempFolder, SafeReplaceWritesAListKeepingModeAndLink) {
  TListDBData doc;
  doc.AddRecord()->SetField1("Ann");
  const std::string real = PathOf("real.pdb"), link = PathOf("link.pdb");
  Put(real, "old");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, link);
  SafeReplaceFile(link, [&](TStream& s) { WriteListDB(doc, s); });
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::file_size(real), 600u + 6 + 3);
  EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
  EXPECT_EQ(Entries(), 2u);  // no temporary file is left
  const std::string longest = PathOf(std::string(255, 'n'));
  SafeReplaceFile(longest, [](TStream& s) { s.Write("x", 1); });
  EXPECT_EQ(fs::file_size(longest), 1u);
  TFileStream in(real, TFileStream::Mode::OpenRead);
  in.Seek(300);  // the reader starts from the top wherever the stream is
  TListDBData back;
  ReadListDB(back, in);
  EXPECT_EQ(back.GetRecord(0)->Field1(), "Ann");
}

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
  ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0600), 0);
  for (const char* target : {"sub", "pipe"}) {
    EXPECT_EQ(MessageOf([&] { SafeReplaceFile(PathOf(target), [](TStream&) {}); }),
              "Cannot create file " + PathOf(target));
  }
  EXPECT_EQ(Entries(), 3u);
}

}  // namespace
