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

// Wine, or empty where it is not installed.
QString WineProgram() {
  for (const char* name : {"wine64", "wine"})
    if (QString found = QStandardPaths::findExecutable(name); !found.isEmpty()) return found;
  return QFileInfo::exists("/usr/lib/wine/wine64") ? "/usr/lib/wine/wine64" : QString();
}

// Runs a Wine program headless in a Wine set-up of the test's own, kept in the
// build folder (made once, slowly; quick after that). False when it fails.
bool RunWine(const QStringList& args, QByteArray* output = nullptr) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.insert("WINEPREFIX", QCoreApplication::applicationDirPath() + "/wineprefix-settings");
  env.insert("WINEDEBUG", "-all");
  env.insert("WINEARCH", "win64");
  env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
  env.insert("LC_ALL", "C.UTF-8");
  QProcess p;
  p.setProcessEnvironment(env);
  p.setStandardInputFile(QProcess::nullDevice());
  p.start(WineProgram(), args);
  const bool ok =
      p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (output) *output = p.readAllStandardOutput();
  return ok;
}

}  // namespace

TEST(RegFileWine, TheRegistryEditorImportsEveryValueAndItsExportReadsBack) {
  if (WineProgram().isEmpty()) GTEST_SKIP() << "Wine is not installed";
  QTemporaryDir dir;
  const QByteArray ansi = FileOf(kKey + "\\Ansi", AnsiValues());
  const QByteArray wide = FileOf(kKey + "\\Wide", WideValues());
  ASSERT_TRUE(ansi.startsWith("REGEDIT4\r\n"));
  ASSERT_TRUE(wide.startsWith("\xFF\xFE"));
  // What an earlier run left goes first.
  WriteAll(dir.filePath("clear.reg"),
           "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\" + kKey.toLatin1() + "]\r\n");
  WriteAll(dir.filePath("ansi.reg"), ansi);
  WriteAll(dir.filePath("wide.reg"), wide);
  ASSERT_TRUE(RunWine({"regedit", "/S", dir.filePath("clear.reg"), dir.filePath("ansi.reg"),
                       dir.filePath("wide.reg")}));
  QByteArray query;
  ASSERT_TRUE(RunWine({"reg", "query", "HKCU\\" + kKey + "\\Ansi", "/v", "Minus"}, &query));
  EXPECT_TRUE(query.contains("REG_DWORD") && query.contains("0xffffffff")) << query.constData();
  const QString exported = dir.filePath("export.reg");
  ASSERT_TRUE(RunWine({"regedit", "/E", exported, "HKEY_CURRENT_USER\\" + kKey}));

  const QByteArray text = ReadAll(exported);
  TMemorySettingsStore back;
  const regfile::TReadResult read = ParseRegFile(text, back);
  EXPECT_EQ(read.problem, regfile::TProblem::None);
  EXPECT_EQ(read.encoding, regfile::TEncoding::Utf16LE);
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
