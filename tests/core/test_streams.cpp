#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CoreTestUtil.h"
#include "core/Streams.h"
#include "core/listdb.h"

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

TEST(MemoryStream, ReadWriteSeekTruncate) {
  TMemoryStream s;
  s.Write("hello", 5);
  EXPECT_EQ(s.Position(), 5u);
  s.Seek(1);
  s.Write("EL", 2);
  s.Seek(8);
  s.Write("!", 1);  // past the end: the gap is zero-filled
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{'h', 'E', 'L', 'l', 'o', 0, 0, 0, '!'}));
  char buffer[4] = {};
  s.Seek(3);
  EXPECT_EQ(s.Read(buffer, 4), 4u);
  EXPECT_EQ(s.Read(buffer, 4), 2u);
  EXPECT_EQ(s.Read(buffer, 4), 0u);
  s.Seek(100);
  EXPECT_EQ(s.Read(buffer, 1), 0u);
  s.Seek(2);
  s.Truncate();
  EXPECT_EQ(s.Size(), 2u);
  s.Seek(0);
  EXPECT_EQ(MessageOf<EStreamError>([&] { s.ReadBuffer(buffer, 3); }), "Stream read error");
}

TEST_F(TempFolder, FileStreamOpenCreateMessages) {
  const std::string missing = PathOf("missing.pdb");
  EXPECT_EQ(MessageOf<EStreamError>([&] { TFileStream s(missing, TFileStream::Mode::OpenRead); }),
            "Cannot open file " + missing);
  const std::string noFolder = PathOf("no/such/list.pdb");
  EXPECT_EQ(MessageOf<EStreamError>([&] { TFileStream s(noFolder, TFileStream::Mode::Create); }),
            "Cannot create file " + noFolder);
  EXPECT_EQ(
      MessageOf<EStreamError>([&] { TFileStream s(folder.string(), TFileStream::Mode::OpenRead); }),
      "Cannot open file " + folder.string());

  const std::string path = PathOf("a.pdb");
  Put(path, "previous contents");
  {
    TFileStream s(path, TFileStream::Mode::Create);  // replaces
    EXPECT_EQ(s.Size(), 0u);
    s.Write("abcdef", 6);
    s.Seek(2);
    s.Truncate();
    s.Sync();
  }
  EXPECT_EQ(Contents(path), "ab");
  EXPECT_EQ(MessageOf<EStreamError>([&] { TFileStream s(path, TFileStream::Mode::CreateNew); }),
            "Cannot create file " + path);

  TFileStream in(path, TFileStream::Mode::OpenRead);
  char buffer[8];
  EXPECT_EQ(in.Size(), 2u);
  EXPECT_EQ(MessageOf<EStreamError>([&] { in.ReadBuffer(buffer, 3); }), "Stream read error");
  EXPECT_EQ(MessageOf<EStreamError>([&] { in.Write("x", 1); }), "Stream write error");
}

TEST_F(TempFolder, LockedFilesAreShutOut) {
  const std::string path = PathOf("locked.pdb");
  Put(path, "data");
  {
    // A reader's shared lock keeps a writer that honours locks out.
    TFileStream reader(path, TFileStream::Mode::OpenRead);
    EXPECT_EQ(MessageOf<EStreamError>([&] { TFileStream w(path, TFileStream::Mode::Create); }),
              "Cannot create file " + path);
    TFileStream secondReader(path, TFileStream::Mode::OpenRead);
  }
  EXPECT_EQ(Contents(path), "data");
  {
    const int other = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_EQ(MessageOf<EStreamError>([&] { TFileStream r(path, TFileStream::Mode::OpenRead); }),
              "Cannot open file " + path);
    ::close(other);
  }
  TFileStream reader(path, TFileStream::Mode::OpenRead);
}

TEST_F(TempFolder, SafeReplaceWritesAndKeepsMode) {
  const std::string path = PathOf("list.pdb");
  Put(path, "old");
  ::chmod(path.c_str(), 0640);
  SafeReplaceFile(path, [](TStream& s) { s.Write("new contents", 12); });
  EXPECT_EQ(Contents(path), "new contents");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(), 1u);  // no temporary file is left

  const std::string fresh = PathOf("fresh.pdb");
  SafeReplaceFile(fresh, [](TStream& s) { s.Write("x", 1); });
  EXPECT_EQ(Contents(fresh), "x");
}

TEST_F(TempFolder, SafeReplaceFollowsASymbolicLink) {
  const std::string real = PathOf("real.pdb");
  const std::string link = PathOf("link.pdb");
  Put(real, "old");
  fs::create_symlink(real, link);
  SafeReplaceFile(link, [](TStream& s) { s.Write("new", 3); });
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(real), "new");
}

TEST_F(TempFolder, FailedReplaceLeavesTheTargetAlone) {
  const std::string path = PathOf("list.pdb");
  Put(path, "the old list");
  // The writer fails midway, after part of the new file is written.
  EXPECT_EQ(MessageOf<std::runtime_error>([&] {
              SafeReplaceFile(path, [](TStream& s) {
                s.Write("half", 4);
                throw EListDBError("Notes value is longer than 4095");
              });
            }),
            "Notes value is longer than 4095");
  EXPECT_EQ(Contents(path), "the old list");
  EXPECT_EQ(Entries(), 1u);

  // The writer refuses the document: nothing is written, nothing is left.
  TListDBData doc;
  doc.AddRecord()->StoreField1Unchecked(std::string(251, 'a'));
  EXPECT_THROW(SafeReplaceFile(path, [&](TStream& s) { WriteListDB(doc, s); }), EListDBError);
  EXPECT_EQ(Contents(path), "the old list");
  EXPECT_EQ(Entries(), 1u);

  // A folder that does not exist.
  const std::string lost = PathOf("gone/list.pdb");
  bool called = false;
  EXPECT_EQ(
      MessageOf<EStreamError>([&] { SafeReplaceFile(lost, [&](TStream&) { called = true; }); }),
      "Cannot create file " + lost);
  EXPECT_FALSE(called);

  // The target is a folder: the rename cannot replace it.
  const std::string folderTarget = PathOf("sub");
  fs::create_directory(folderTarget);
  EXPECT_THROW(SafeReplaceFile(folderTarget, [](TStream& s) { s.Write("x", 1); }), EStreamError);
  EXPECT_TRUE(fs::is_directory(folderTarget));
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(TempFolder, ListFileThroughFileStreams) {
  TListDBData doc;
  doc.SetDatabaseName("On disk");
  doc.Categories().Add("Work");
  TListRecord* r = doc.AddRecord();
  r->SetField1("Ann");
  r->SetCategoryID(1);
  const std::string path = PathOf("disk.pdb");
  SafeReplaceFile(path, [&](TStream& s) { WriteListDB(doc, s); });
  EXPECT_EQ(fs::file_size(path), 592u + 8 + 6 + 3);

  {
    TFileStream in(path, TFileStream::Mode::OpenRead);
    in.Seek(300);  // the reader starts from the top wherever the stream is
    TListDBData back;
    ReadListDB(back, in);
    EXPECT_EQ(back.DatabaseName(), "On disk");
    EXPECT_EQ(back.GetRecord(0)->Field1(), "Ann");
    EXPECT_EQ(back.GetRecord(0)->CategoryName(), "Work");
  }

  // Written over a longer file, the writer truncates it first.
  {
    TFileStream out(path, TFileStream::Mode::Create);
    out.Write(std::string(5000, 'x').data(), 5000);
    WriteListDB(doc, out);
  }
  EXPECT_EQ(fs::file_size(path), 592u + 8 + 6 + 3);
}

}  // namespace
