// Reading the version stamp out of executable files, intact and damaged.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "platform/VersionInfo.h"
#include "version_test_util.h"

namespace {

QString Text(const TFileVersion& v) {
  return QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T>
void Put(QByteArray& bytes, int at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

class VersionInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  bool Read(const QString& path) {
    version = {7, 7, 7, 7};
    return ReadExecutableVersion(path, version);
  }

  QTemporaryDir dir;
  TFileVersion version;
};

TEST_F(VersionInfoTest, OwnFileCarriesTheProjectVersion) {
  ASSERT_TRUE(Read(QCoreApplication::applicationFilePath()));
  EXPECT_EQ(Text(version), VORNIK_VERSION_TEXT);
}

TEST_F(VersionInfoTest, StampNumbersAreReadInFullAndInOrder) {
  const QString copy = Path("stamped");
  ASSERT_TRUE(CopySelfWithStamp(dir, StampBytes(MakeVersionStamp(1, 12, 0, 305)), copy));
  ASSERT_TRUE(Read(copy));
  EXPECT_EQ(Text(version), "1.12.0.305");

  ASSERT_TRUE(CopySelfWithStamp(dir, StampBytes(MakeVersionStamp(65535, 258, 65534, 0)), copy));
  ASSERT_TRUE(Read(copy));
  EXPECT_EQ(Text(version), "65535.258.65534.0");
}

TEST_F(VersionInfoTest, MissingOrDamagedStampReadsAsNone) {
  const QString copy = Path("copy");
  ASSERT_TRUE(CopySelfWithoutStamp(copy));
  EXPECT_FALSE(Read(copy));
  EXPECT_EQ(Text(version), "7.7.7.7");  // outputs untouched

  // Wrong tag, same size.
  QByteArray stamp = StampBytes(MakeVersionStamp(1, 2, 3, 4));
  stamp[0] = 'X';
  ASSERT_TRUE(CopySelfWithStamp(dir, stamp, copy));
  EXPECT_FALSE(Read(copy));

  // A section of the right name but the wrong size, short or long.
  for (const int size : {3, 17}) {
    const QString contents =
        WriteFile(dir, "short.bin",
                  StampBytes(MakeVersionStamp(1, 2, 3, 4)).left(size).leftJustified(size, 'x'));
    ASSERT_TRUE(
        CopySelf({"--remove-section", kVersionSectionName, "--add-section",
                  QStringLiteral("%1=%2").arg(QLatin1String(kVersionSectionName), contents)},
                 copy));
    EXPECT_FALSE(Read(copy)) << size;
  }
}

TEST_F(VersionInfoTest, DamagedHeadersAreRefusedWithoutReadingOutside) {
  const QString good = Path("good");
  ASSERT_TRUE(CopySelfWithStamp(dir, StampBytes(MakeVersionStamp(1, 2, 3, 4)), good));
  const QByteArray bytes = ReadAll(good);
  ASSERT_GT(bytes.size(), 64);
  ASSERT_EQ(bytes[4], 2) << "a 64-bit ELF file expected";
  ASSERT_EQ(bytes[5], 1) << "a little-endian ELF file expected";
  ASSERT_TRUE(Read(good));

  std::uint64_t shoff = 0;
  std::memcpy(&shoff, bytes.constData() + 0x28, 8);
  const auto damaged = [&](const char* what, auto change) {
    QByteArray copy = bytes;
    change(copy);
    EXPECT_FALSE(Read(WriteFile(dir, "damaged", copy))) << what;
  };
  damaged("truncated header", [](QByteArray& b) { b.truncate(40); });
  damaged("truncated section table", [&](QByteArray& b) { b.truncate(qsizetype(shoff) + 100); });
  damaged("table beyond the end", [](QByteArray& b) { Put<std::uint64_t>(b, 0x28, ~0ull - 8); });
  damaged("table past the end", [&](QByteArray& b) { Put<std::uint64_t>(b, 0x28, b.size() - 64); });
  damaged("name table index", [](QByteArray& b) { Put<std::uint16_t>(b, 0x3E, 0xFFF0); });
  damaged("entry size", [](QByteArray& b) { Put<std::uint16_t>(b, 0x3A, 8); });
  damaged("section table garbage", [&](QByteArray& b) {
    for (qsizetype i = qsizetype(shoff) + 64; i < b.size(); ++i) b[i] = char(0xFF);
  });
  damaged("not an executable", [](QByteArray& b) { b = "just text\n"; });

  EXPECT_FALSE(Read(Path("missing")));
  EXPECT_FALSE(Read(dir.path()));
}

}  // namespace
