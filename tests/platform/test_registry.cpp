#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/RegFileStore.h"
#include "platform/Registry.h"

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TRegValue Value(TMemorySettingsStore& store, const QString& key, const QString& name) {
  return store.ReadValue(key, name);
}

}  // namespace

TEST(Registry, ReadsFailAsTheRegistryDoes) {
  TMemorySettingsStore store;
  TRegistry reg(store);
  EXPECT_THROW(reg.ReadInteger("x"), ERegistryError);  // no key open
  EXPECT_FALSE(reg.OpenKey("Software\\Maker", false));
  ASSERT_TRUE(reg.OpenKey("Software\\Maker\\", true));
  EXPECT_TRUE(store.KeyExists("software\\MAKER"));

  EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryError);
  EXPECT_EQ(reg.ReadString("Missing"), "");
  reg.WriteString("Text", "5");
  reg.WriteInteger("Number", -7);
  EXPECT_THROW(reg.ReadInteger("Text"), ERegistryError);
  EXPECT_THROW(reg.ReadString("Number"), ERegistryError);
  EXPECT_EQ(reg.ReadInteger("NUMBER"), -7);  // names ignore letter case
  reg.WriteBool("Flag", true);
  EXPECT_TRUE(reg.ReadBool("Flag"));
  EXPECT_EQ(reg.ReadInteger("Flag"), 1);
  reg.CloseKey();
  EXPECT_THROW(reg.WriteInteger("Number", 1), ERegistryError);

  ASSERT_TRUE(reg.OpenKey("Software\\Maker\\Sub\\Deeper", true));
  reg.WriteInteger("", 3);
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey("Software\\Maker\\Sub"));
  EXPECT_FALSE(store.KeyExists("Software\\Maker\\Sub\\Deeper"));
  EXPECT_FALSE(reg.DeleteKey("Software\\Maker\\Sub"));
  EXPECT_EQ(std::get<qint32>(Value(store, "Software\\Maker", "Number")), -7);
}

TEST(RegFileStore, EveryValueRoundTripsThroughTheFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("sub/folder/settings.reg");
  const QString awkward =
      QString::fromUtf8("C:\\a \"quoted\" path\r\nnext line \xC3\xA9\xE2\x82\xAC\t");
  {
    TRegFileStore store(path);
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("Software\\Maker\\Program", true));
    reg.WriteString("", "default");
    reg.WriteString("Awkward", awkward);
    reg.WriteString("Empty", "");
    reg.WriteInteger("Min", INT32_MIN);
    reg.WriteInteger("Max", INT32_MAX);
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("Software\\Maker\\Program\\Empty key", true));
    reg.CloseKey();
  }
  const QByteArray text = ReadAll(path);
  EXPECT_TRUE(text.startsWith("REGEDIT4\r\n")) << text.constData();
  EXPECT_TRUE(text.contains("\"Max\"=dword:7fffffff\r\n"));
  EXPECT_TRUE(text.contains("@=\"default\"\r\n"));

  TRegFileStore again(path);
  TRegistry reg(again);
  ASSERT_TRUE(reg.OpenKey("Software\\Maker\\Program", false));
  EXPECT_EQ(reg.ReadString(""), "default");
  EXPECT_EQ(reg.ReadString("Awkward"), awkward);
  EXPECT_TRUE(reg.ValueExists("Empty"));
  EXPECT_EQ(reg.ReadInteger("Min"), INT32_MIN);
  EXPECT_EQ(reg.ReadInteger("Max"), INT32_MAX);
  EXPECT_TRUE(again.KeyExists("Software\\Maker\\Program\\Empty key"));
  // What was read back writes the same text again.
  EXPECT_EQ(FormatRegFile(again), text);
}

TEST(RegFileStore, DamagedLinesAreSkippedAndTheRestRead) {
  TMemorySettingsStore store;
  ParseRegFile(
      "REGEDIT4\n"
      "\"Orphan\"=dword:00000001\n"  // before any key
      "[HKEY_CURRENT_USER\\Software\\Good]\r\n"
      "\"Int\"=dword:0000002A\n"
      "\"TooBig\"=dword:1ffffffff\n"
      "\"NotHex\"=dword:xyz\n"
      "\"Open=\"unterminated\n"
      "\"StrAsInt\"=\"12\"\n"
      "\"Trailing\"=\"a\" junk\n"
      "garbage \x01\x02\xff\xfe line\n"
      "\"Bin\"=hex:01,02,\\\n  03\n"
      "\"BadBin\"=hex:1,zz\n"
      "\"Text\"=\"kept\"\n"
      "[HKEY_CURRENT_USER\\Software\\Broken\n"
      "\"Lost\"=dword:00000001\n"
      "[HKEY_LOCAL_MACHINE\\Elsewhere]\n"
      "\"Foreign\"=dword:00000001\n"
      "[HKEY_CURRENT_USER\\Software\\Cut]\n"
      "\"Half\"=\"no end",
      store);
  EXPECT_EQ(std::get<qint32>(Value(store, "Software\\Good", "Int")), 42);
  EXPECT_EQ(std::get<QString>(Value(store, "Software\\Good", "StrAsInt")), "12");
  EXPECT_EQ(std::get<QString>(Value(store, "Software\\Good", "Text")), "kept");
  EXPECT_EQ(std::get<TRegOtherValue>(Value(store, "Software\\Good", "Bin")).text, "hex:01,02,03");
  for (const char* name : {"TooBig", "NotHex", "Open", "Trailing", "BadBin", "Orphan"})
    EXPECT_TRUE(std::holds_alternative<std::monostate>(Value(store, "Software\\Good", name)))
        << name;
  EXPECT_FALSE(store.KeyExists("Software\\Broken"));
  EXPECT_FALSE(store.KeyExists("Elsewhere"));
  EXPECT_TRUE(store.KeyExists("Software\\Cut"));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Value(store, "Software\\Cut", "Half")));
  EXPECT_FALSE(store.Dirty());
}

TEST(RegFileStore, SessionsPickUpOtherWritersAndWriteOnlyChanges) {
  QTemporaryDir dir;
  const QString path = dir.filePath("settings.reg");
  TRegFileStore first(path), second(path);
  {
    TRegistry reg(first);
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteInteger("A", 1);
  }
  {
    TRegistry reg(second);
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_EQ(reg.ReadInteger("A"), 1);
    reg.WriteInteger("B", 2);
  }
  {
    TRegistry reg(first);
    ASSERT_TRUE(reg.OpenKey("K", true));
    EXPECT_EQ(reg.ReadInteger("B"), 2);
  }
  // Opening keys that exist changes nothing, so nothing is written.
  QFile::remove(path);
  {
    TRegistry reg(first);
    EXPECT_FALSE(reg.OpenKey("K", false));
  }
  EXPECT_FALSE(QFile::exists(path));
}

namespace {

QStringList AsideFiles(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList({"settings.reg.unreadable-*"}, QDir::Files);
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(RegFileStore, TextsAreAnsiWhenTheyFitAndUtf16WhenNot) {
  QTemporaryDir dir;
  const QString path = dir.filePath("settings.reg");
  const QString cafe = QString::fromUtf8("Mein Caf\xC3\xA9.pdb");
  const QString bom = QChar(0xFEFF) + QString::fromUtf8("/\xD0\xBC\xD0\xBE\xD0\xB9") + QChar(0);
  TRegFileStore store(path);
  for (const QString& text : {cafe, bom}) {
    {
      TRegistry reg(store);
      ASSERT_TRUE(reg.OpenKey("K", true));
      reg.WriteString("V", text);
    }
    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(text == cafe ? bytes.contains("\"V\"=\"Mein Caf\xE9.pdb\"\r\n")
                             : bytes.startsWith(QByteArray("\xFF\xFEW\0i\0n\0", 8)));
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_EQ(reg.ReadString("V"), text);  // a leading byte order mark included
  }
}

TEST(RegFileStore, AFileNotReadWholeIsPutAsideAndReportedOnce) {
  std::string deep = "REGEDIT4\n[HKEY_CURRENT_USER\\Kept]\n\"A\"=dword:1\n[HKEY_CURRENT_USER";
  for (int i = 0; i < 10000; ++i) deep += "\\k";
  deep += "]\n";
  const std::pair<const char*, QByteArray> cases[] = {
      {"not a registry export", "[HKEY_CURRENT_USER\\K]\n\"A\"=dword:1\n"},
      {"its text cannot be decoded", "\xFF\xFEodd"},
      {"beyond the limits", QByteArray::fromStdString(deep)},
      {"larger than 64 MiB", QByteArray()},
  };
  for (const auto& [reason, bytes] : cases) {
    SCOPED_TRACE(reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    WriteFile(path, bytes);
    if (bytes.isEmpty()) QFile(path).resize(64 * 1024 * 1024 + 1);  // sparse
    const qint64 size = QFileInfo(path).size();
    TRegFileStore store(path);
    const bool partly = bytes.startsWith("REGEDIT4");
    {
      // Loading, as the program does it, opens existing keys only.
      TRegistry reg(store);
      EXPECT_EQ(reg.OpenKey("Kept", false), partly);  // what lay within the limits is read
    }
    {
      // Storing comes in a session of its own, finding the file gone.
      TRegistry reg(store);
      ASSERT_TRUE(reg.OpenKey("New", true));
      reg.WriteInteger("B", 2);
    }
    const QStringList aside = AsideFiles(dir);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(QFileInfo(dir.filePath(aside[0])).size(), size);
    const QString notice = store.TakeNotice();
    EXPECT_TRUE(notice.contains(path)) << notice.toStdString();
    EXPECT_TRUE(notice.contains(dir.filePath(aside[0])));
    EXPECT_TRUE(notice.contains(reason));
    EXPECT_TRUE(store.TakeNotice().isEmpty());
    // The new file is read whole at the next session, so nothing more is put aside.
    TRegistry again(store);
    EXPECT_TRUE(again.OpenKey("New", false));
    EXPECT_EQ(store.KeyExists("Kept"), partly);  // stored again in the new file
    EXPECT_EQ(AsideFiles(dir).size(), 1);
    EXPECT_TRUE(store.TakeNotice().isEmpty());
  }
}

TEST(RegFileStore, KeysNestedBeyondAnyStackAreStoredAndFreedWithoutRecursion) {
  TMemorySettingsStore store;
  QString path;
  for (int i = 0; i < 100000; ++i) path += QStringLiteral("k\\");
  ASSERT_TRUE(store.CreateKey(path));
  ASSERT_TRUE(store.WriteValue(path, "v", 1));
  // Only the deepest key is written: its parents come with it.
  EXPECT_LT(FormatRegFile(store).size(), 2 * path.size());
  EXPECT_TRUE(store.DeleteKey("k\\k"));
  EXPECT_EQ(store.Keys().size(), 1u);
  store.CreateKey(path);
  store.Clear();
  store.CreateKey(path);
}  // and destroyed
