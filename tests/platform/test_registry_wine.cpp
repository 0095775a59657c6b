// The settings file as a registry editor takes it: the files the store writes
// are imported with Wine's regedit, checked with reg query, exported again
// and read back. The samples under tests/data are read where Wine is missing
// too; with VORNIK_REG_SAMPLES_DIR set, the Wine test writes them there (that
// is how they were made: the ANSI one by the store, the UTF-16 one by regedit).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/RegFileStore.h"
#include "platform/Registry.h"

namespace {

const QString kKey = "Software\\QRXSoft\\VornikCheck";

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Texts Windows-1252 holds (the store writes them as ANSI), and texts it does
// not (the store writes UTF-16). Every one survives the registry and its
// editor's export; a trailing NUL does not survive the export, so it is left
// to the file's own tests.
const std::vector<std::pair<QString, TRegValue>>& AnsiValues() {
  static const std::vector<std::pair<QString, TRegValue>> values = {
      {"", QString("default")},
      {"Cafe", QString::fromUtf8("Mein Caf\xC3\xA9.pdb \xE2\x82\xAC\xE2\x80\x9A\xC5\xBD")},
      {"Share", QString("\\\\server\\share\\")},
      {"Quote", QString("say \"\\n\"")},
      {"Break", QString("line\r\nbreak\ttab")},
      {"Empty", QString()},
      {"Minus", qint32(-1)},
      {"Seven", qint32(7)},
  };
  return values;
}

const std::vector<std::pair<QString, TRegValue>>& WideValues() {
  static const std::vector<std::pair<QString, TRegValue>> values = {
      {"Path", QString::fromUtf8("/home/\xD0\xBC\xD0\xBE\xD0\xB9/\xE6\x97\xA5\xE6\x9C\xAC.pdb")},
      {"Bom", QChar(0xFEFF) + QString("after a byte order mark")},
      {"Emoji", QString::fromUtf8("\xF0\x9F\x98\x80 \xD0\xBC\r\n")},
  };
  return values;
}

QByteArray FileOf(const QString& key, const std::vector<std::pair<QString, TRegValue>>& values) {
  TMemorySettingsStore store;
  store.CreateKey(key);
  for (const auto& [name, value] : values) store.WriteValue(key, name, value);
  return FormatRegFile(store);
}

void ExpectValues(const TMemorySettingsStore& store, const QString& key,
                  const std::vector<std::pair<QString, TRegValue>>& values) {
  for (const auto& [name, value] : values)
    EXPECT_EQ(store.ReadValue(key, name), value) << name.toStdString();
}

// Runs a Wine program headless in a Wine set-up of the test's own; its
// standard output, or a failure.
class TWine {
 public:
  TWine() {
    for (const QString& name : {QString("wine64"), QString("wine")})
      if (wine_.isEmpty()) wine_ = QStandardPaths::findExecutable(name);
    if (wine_.isEmpty() && QFileInfo::exists("/usr/lib/wine/wine64"))
      wine_ = "/usr/lib/wine/wine64";
    env_ = QProcessEnvironment::systemEnvironment();
    env_.remove("DISPLAY");
    env_.remove("WAYLAND_DISPLAY");
    // Kept in the build folder: made once (slow), quick after that.
    env_.insert("WINEPREFIX", QCoreApplication::applicationDirPath() + "/wineprefix-settings");
    env_.insert("WINEDEBUG", "-all");
    env_.insert("WINEARCH", "win64");
    env_.insert("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    env_.insert("LC_ALL", "C.UTF-8");
  }
  bool Present() const { return !wine_.isEmpty(); }
  QByteArray Run(const QStringList& args, int* exitCode) const {
    QProcess p;
    p.setProcessEnvironment(env_);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(wine_, args);
    p.waitForFinished(300000);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
  }

 private:
  QString wine_;
  QProcessEnvironment env_;
};

}  // namespace

TEST(RegFileWine, TheRegistryEditorImportsEveryValueAndItsExportReadsBack) {
  TWine wine;
  if (!wine.Present()) GTEST_SKIP() << "Wine is not installed";
  QTemporaryDir dir;
  const QString ansiPath = dir.filePath("ansi.reg"), widePath = dir.filePath("wide.reg");
  const QByteArray ansi = FileOf(kKey + "\\Ansi", AnsiValues());
  const QByteArray wide = FileOf(kKey + "\\Wide", WideValues());
  ASSERT_TRUE(ansi.startsWith("REGEDIT4\r\n"));
  ASSERT_TRUE(wide.startsWith("\xFF\xFE"));
  // What an earlier run left goes first.
  WriteAll(dir.filePath("clear.reg"),
           "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\" + kKey.toLatin1() + "]\r\n");
  WriteAll(ansiPath, ansi);
  WriteAll(widePath, wide);

  int code = 0;
  wine.Run({"regedit", "/S", dir.filePath("clear.reg"), ansiPath, widePath}, &code);
  ASSERT_EQ(code, 0);
  const QByteArray query =
      wine.Run({"reg", "query", "HKCU\\" + kKey + "\\Ansi", "/v", "Minus"}, &code);
  ASSERT_EQ(code, 0) << query.constData();
  EXPECT_TRUE(query.contains("REG_DWORD") && query.contains("0xffffffff")) << query.constData();
  const QString exported = dir.filePath("export.reg");
  wine.Run({"regedit", "/E", exported, "HKEY_CURRENT_USER\\" + kKey}, &code);
  ASSERT_EQ(code, 0);

  const QByteArray text = ReadAll(exported);
  EXPECT_TRUE(text.startsWith("\xFF\xFEW\0i\0n\0d\0o\0w\0s\0"));
  TMemorySettingsStore back;
  EXPECT_EQ(ParseRegFile(text, back).problem, regfile::TProblem::None);
  ExpectValues(back, kKey + "\\Ansi", AnsiValues());
  ExpectValues(back, kKey + "\\Wide", WideValues());

  const QString samples = qEnvironmentVariable("VORNIK_REG_SAMPLES_DIR");
  if (!samples.isEmpty()) {
    WriteAll(samples + "/settings-ansi.reg", ansi);
    WriteAll(samples + "/regedit-export-utf16.reg", text);
  }
}

TEST(RegFileWine, TheKeptSamplesReadBack) {
  TMemorySettingsStore store;
  const QString data = VORNIK_TEST_DATA;
  EXPECT_EQ(ParseRegFile(ReadAll(data + "/settings-ansi.reg"), store).encoding,
            regfile::TEncoding::Ansi);
  ExpectValues(store, kKey + "\\Ansi", AnsiValues());
  const regfile::TReadResult read =
      ParseRegFile(ReadAll(data + "/regedit-export-utf16.reg"), store);
  EXPECT_EQ(read.problem, regfile::TProblem::None);
  EXPECT_EQ(read.encoding, regfile::TEncoding::Utf16LE);
  ExpectValues(store, kKey + "\\Ansi", AnsiValues());
  ExpectValues(store, kKey + "\\Wide", WideValues());
}
