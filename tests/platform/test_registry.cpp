#include <gtest/gtest.h>

#include <QFile>
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
      "\xEF\xBB\xBFREGEDIT4\n"
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
