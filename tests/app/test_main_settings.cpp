// The view commands and the settings a window reads when it is made and
// stores when it closes.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <map>

#include "components/QRXHtmlControls.h"
#include "main_form_fixture.h"

namespace {

const QString kBase = "Software\\QRXSoft\\Vornik";

QString ScreenSizeKey(const QString& group) {
  const QSize s = QGuiApplication::primaryScreen()->size();
  return kBase + "\\" + group + QString("\\%1x%2").arg(s.width()).arg(s.height());
}

}  // namespace

class SettingsTest : public MainFormTest {
 protected:
  void Put(const QString& key, const QString& name, const TRegValue& value) {
    settings->CreateKey(key);
    settings->WriteValue(key, name, value);
  }
  TRegValue Get(const QString& key, const QString& name) const {
    return settings->ReadValue(key, name);
  }
  // Closes the window (storing its settings) and makes a new one that loads them.
  void Restart(bool close = true) {
    if (close) form->close();
    form = std::make_unique<TMainListDBForm>();
  }
  QToolBar* Bar(const char* name) const { return Child<QToolBar>(name); }
  QStatusBar* Status() const { return Child<QStatusBar>("StatusBar"); }
  QFrame* BgPanel() const { return Child<QFrame>("BgPanel"); }
  bool Checked(const char* name) {
    Update();
    return Action(name)->isChecked();
  }
  std::vector<int> ColumnWidths() const {
    std::vector<int> w;
    for (int k = 0; k < 4; ++k) w.push_back(List()->header()->sectionSize(k));
    return w;
  }
  void PutBaseValues() {
    Put(kBase, "ShowToolBar", 0);
    Put(kBase, "ShowStatus", 0);
    Put(kBase, "Gridlines", 0);
    Put(kBase, "Color", 0x00332211);
    Put(kBase, "DataHints", 0);
  }
};

TEST_F(SettingsTest, FirstRunStartsWithStartValuesAndStoresThemAtExit) {
  EXPECT_TRUE(settings->KeyExists(kBase));
  EXPECT_TRUE(settings->Keys().back().values.empty());
  EXPECT_FALSE(Status()->isHidden());
  EXPECT_TRUE(List()->GridLines());
  EXPECT_TRUE(List()->ShowRecordHints());
  EXPECT_TRUE(Bar("ExportImportToolBar")->isHidden());
  EXPECT_FALSE(Bar("FileToolBar")->isHidden());
  EXPECT_EQ(ColumnWidths(), (std::vector<int>{100, 100, 131, 60}));
  EXPECT_EQ(form->size(), QSize(597, 380));

  form->close();
  EXPECT_EQ(std::get<qint32>(Get(kBase, "ShowToolBar")), 1);
  EXPECT_EQ(std::get<qint32>(Get(kBase, "Color")), 0x00FFFFFF);
  EXPECT_EQ(std::get<qint32>(Get(kBase + "\\Font", "Color")), qint32(0x80000008));
  EXPECT_EQ(std::get<qint32>(Get(kBase + "\\MRU", "")), 0);
  EXPECT_EQ(std::get<qint32>(Get(ScreenSizeKey("Window"), "Width")), 597);
  EXPECT_EQ(std::get<qint32>(Get(ScreenSizeKey("Columns"), "Column02")), 131);
  EXPECT_EQ(std::get<qint32>(Get(ScreenSizeKey("ToolbarSettings"), "_ExportImportToolBar_Visible")),
            0);
}

// Settings files of earlier runs must read back: every key and value name
// the window stores, with the type of each value.
TEST_F(SettingsTest, StoresTheKeysAndValueNamesEarlierRunsRead) {
  form->close();
  const QString bars[] = {"EditToolBar", "FindToolBar", "FileToolBar", "CategoryBGPanel",
                          "ExportImportToolBar"};
  QStringList barValues;
  for (const QString& bar : bars)
    for (const char* what : {"_Left", "_Top", "_Visible"}) barValues << "_" + bar + what;
  barValues.sort();
  const std::map<QString, QStringList> expected = {
      {kBase, {"", "Color", "DataHints", "Gridlines", "Path", "ShowStatus", "ShowToolBar"}},
      {kBase + "\\Font",
       {"Bold", "Charset", "Color", "Italic", "Name", "Size", "Strikeout", "Underline"}},
      {kBase + "\\MRU", {""}},
      {ScreenSizeKey("Window"), {"Height", "Left", "Top", "Width"}},
      {ScreenSizeKey("Columns"), {"Column00", "Column01", "Column02", "Column03"}},
      {ScreenSizeKey("ToolbarSettings"), barValues}};
  std::map<QString, QStringList> stored;
  for (const auto& key : settings->Keys()) {
    if (key.values.empty()) continue;
    QStringList& names = stored[key.path];
    for (const auto& [name, value] : key.values) {
      names << name;
      const bool text = name == "" ? key.path == kBase : name == "Path" || name == "Name";
      EXPECT_EQ(std::holds_alternative<QString>(value), text) << name.toStdString();
    }
  }
  EXPECT_EQ(stored, expected);
}

TEST_F(SettingsTest, AMistypedValueEndsTheLoadThere) {
  PutBaseValues();
  Put(kBase, "Gridlines", QString("0"));
  Put(kBase + "\\Font", "Name", QString("Serif"));
  Put(kBase + "\\MRU", "", 1);
  Put(kBase + "\\MRU", "Item00", QString("/a.pdb"));
  Put(ScreenSizeKey("Window"), "Top", 10);
  Restart(false);
  EXPECT_TRUE(Status()->isHidden());
  EXPECT_FALSE(Checked("ToolbarViewAction"));
  EXPECT_TRUE(List()->GridLines());
  EXPECT_TRUE(List()->ShowRecordHints());
  EXPECT_EQ(BgPanel()->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_NE(BgPanel()->font().family(), "Serif");
  EXPECT_TRUE(form->RecentFiles().isEmpty());
}

TEST_F(SettingsTest, RecentFilesLoadAtMostFourteenAndAreRewrittenWhole) {
  PutBaseValues();
  const QString font = kBase + "\\Font";
  for (const char* name : {"Size", "Color", "Charset", "Bold", "Italic", "Underline", "Strikeout"})
    Put(font, name, 0);
  Put(kBase + "\\MRU", "", 20);
  for (int k = 0; k < 20; ++k)
    Put(kBase + "\\MRU", QString::asprintf("Item%.2d", k), Path(QString::number(k)));
  Put(kBase + "\\MRU", "Item30", QString("stale"));
  Restart(false);
  ASSERT_EQ(form->RecentFiles().size(), 14);
  EXPECT_EQ(form->RecentFiles().front(), Path("0"));
  EXPECT_EQ(form->RecentFiles().back(), Path("13"));

  form->SetRecentFiles(QStringList{Path("new")} + form->RecentFiles());
  form->close();
  EXPECT_EQ(std::get<qint32>(Get(kBase + "\\MRU", "")), 15);
  EXPECT_EQ(std::get<QString>(Get(kBase + "\\MRU", "Item00")), Path("new"));
  EXPECT_EQ(std::get<QString>(Get(kBase + "\\MRU", "Item14")), Path("13"));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Get(kBase + "\\MRU", "Item30")));
}

TEST_F(SettingsTest, EachScreenSizeKeepsItsOwnLayout) {
  form->close();
  const QString other = kBase + "\\Columns\\1024x768";
  Put(other, "Column00", 333);
  Put(ScreenSizeKey("Columns"), "Column00", 150);
  Put(ScreenSizeKey("Columns"), "Column03", 90);
  Put(ScreenSizeKey("Window"), "Left", 30);
  Put(ScreenSizeKey("Window"), "Top", 20);
  Put(ScreenSizeKey("Window"), "Width", 640);
  Put(ScreenSizeKey("Window"), "Height", 420);
  Put(ScreenSizeKey("ToolbarSettings"), "_FindToolBar_Visible", 0);
  Restart(false);
  EXPECT_EQ(ColumnWidths(), (std::vector<int>{150, 100, 131, 90}));
  EXPECT_EQ(form->geometry().size(), QSize(640, 420));
  EXPECT_EQ(form->pos(), QPoint(30, 20));
  EXPECT_TRUE(Bar("FindToolBar")->isHidden());
  form->close();
  EXPECT_EQ(std::get<qint32>(Get(other, "Column00")), 333);
  EXPECT_EQ(std::get<qint32>(Get(ScreenSizeKey("Columns"), "Column00")), 150);
}

TEST_F(SettingsTest, HidingTheAreaKeepsEachBarsOwnState) {
  ASSERT_TRUE(Run(Action("ShowHideFileTBAction")));
  EXPECT_TRUE(Bar("FileToolBar")->isHidden());
  ASSERT_TRUE(Run(Action("ToolbarViewAction")));
  EXPECT_TRUE(Bar("EditToolBar")->isHidden());
  EXPECT_FALSE(Checked("ShowHideFileTBAction"));
  EXPECT_TRUE(Checked("ShowHideEditTBAction"));
  Restart();
  EXPECT_TRUE(Bar("EditToolBar")->isHidden());
  ASSERT_TRUE(Run(Action("ToolbarViewAction")));
  EXPECT_TRUE(Bar("FileToolBar")->isHidden());
  EXPECT_FALSE(Bar("EditToolBar")->isHidden());
  EXPECT_TRUE(Checked("ToolbarViewAction"));

  // The tool bar menu shows the bars' states and works them.
  ASSERT_TRUE(Run(Action("ShowHideExpImpTBAction")));
  EXPECT_FALSE(Bar("ExportImportToolBar")->isHidden());
  Update();
  for (QAction* a : Child<QMenu>("ToolbarPopupMenu")->actions()) {
    EXPECT_TRUE(a->isEnabled());
    EXPECT_EQ(a->isChecked(), a->objectName() != "ShowHideFileTBAction")
        << a->objectName().toStdString();
  }
}

TEST_F(SettingsTest, HintsOffSilenceOnlyTheRecordHints) {
  CreateList();
  AddRecord("Alpha", "One");
  form->show();
  QWidget* viewport = List()->viewport();
  const QPoint inRow = List()->RowRect(0).center();
  auto hintAt = [](QWidget* w, QPoint pos) {
    QHelpEvent help(QEvent::ToolTip, pos, w->mapToGlobal(pos));
    QCoreApplication::sendEvent(w, &help);
    return TQRX_HintEx::HintVisible();
  };
  EXPECT_TRUE(hintAt(viewport, inRow));
  ASSERT_TRUE(Run(Action("ShowHintsAction")));
  EXPECT_FALSE(Checked("ShowHintsAction"));
  EXPECT_FALSE(hintAt(viewport, inRow));
  QWidget* button = Bar("FileToolBar")->widgetForAction(Action("NewFileAction"));
  EXPECT_TRUE(hintAt(button, QPoint(5, 5)));
  TQRX_HintEx::HideHint();
}

TEST_F(SettingsTest, EveryValueRoundTripsThroughTheSettingsFile) {
  TRegFileStore file(Path("settings.reg"));
  SetSettingsStore(&file);
  QFont chosen("DejaVu Serif", 14);
  chosen.setBold(true);
  chosen.setItalic(true);
  chosen.setUnderline(true);
  chosen.setStrikeOut(true);
  prompts->AnswerFont(true, chosen, QColor(0, 0, 128));
  prompts->AnswerColor(true, QColor(10, 20, 30));
  prompts->AnswerColor(false);
  for (const char* name :
       {"FontViewAction", "ColorViewAction", "ColorViewAction", "StatusBarViewAction",
        "GridLinesViewAction", "ShowHintsAction", "ShowHideEditTBAction"})
    ASSERT_TRUE(Run(Action(name))) << name;
  EXPECT_EQ(List()->font(), chosen);
  EXPECT_EQ(List()->palette().color(QPalette::Base), QColor(10, 20, 30));
  EXPECT_EQ(List()->palette().color(QPalette::Text), QColor(0, 0, 128));
  form->SetRecentFiles({Path("a \"b\".pdb"), "C:\\x\\y.pdb"});
  List()->header()->resizeSection(1, 222);
  form->setGeometry(40, 50, 500, 300);
  const QRect bounds = form->geometry();
  Restart();
  EXPECT_EQ(List()->font(), chosen);
  EXPECT_EQ(List()->palette().color(QPalette::Base), QColor(10, 20, 30));
  EXPECT_EQ(List()->palette().color(QPalette::Text), QColor(0, 0, 128));
  EXPECT_TRUE(Status()->isHidden());
  EXPECT_FALSE(List()->GridLines());
  EXPECT_FALSE(List()->ShowRecordHints());
  EXPECT_TRUE(Bar("EditToolBar")->isHidden());
  EXPECT_EQ(form->RecentFiles(), QStringList({Path("a \"b\".pdb"), "C:\\x\\y.pdb"}));
  EXPECT_EQ(ColumnWidths()[1], 222);
  EXPECT_EQ(form->geometry(), bounds);
  SetSettingsStore(settings.get());
}

namespace {

QByteArray ReadText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text with the value's data replaced, in every key that has it.
QByteArray With(QByteArray text, const QByteArray& name, const QByteArray& data) {
  const qsizetype at = text.indexOf("\"" + name + "\"=");
  EXPECT_GE(at, 0) << name.constData();
  const qsizetype start = at + name.size() + 3, end = text.indexOf("\r\n", start);
  return text.replace(start, end - start, data);
}

}  // namespace

TEST_F(SettingsTest, DamagedSettingsFilesStillStartAndAreStoredClean) {
  const QString path = Path("settings.reg");
  TRegFileStore file(path);
  SetSettingsStore(&file);
  form->SetRecentFiles({Path("gone.pdb")});
  form->close();
  const QByteArray good = ReadText(path);
  // A key given twice: the later values win.
  QByteArray binary, many = good + "[HKEY_CURRENT_USER\\Software\\QRXSoft\\Vornik\\MRU]\r\n";
  for (int i = 0; i < 3000; ++i) binary += char((i * 7919) >> 3);
  many += "@=dword:00002710\r\n";
  for (int k = 0; k < 10000; ++k)
    many += QString::asprintf("\"Item%.2d\"=\"/x%d\"\r\n", k, k).toUtf8();
  const std::pair<const char*, QByteArray> cases[] = {
      {"empty", ""},
      {"truncated", good.left(good.size() / 2)},
      {"binary", binary},
      {"negative size", With(With(good, "Width", "dword:fffffe0c"), "Height", "dword:ffffffff")},
      {"huge size", With(With(With(good, "Width", "dword:000186a0"), "Left", "dword:ffff3cb0"),
                         "Top", "dword:7fffffff")},
      {"font size 0", With(good, "Size", "dword:00000000")},
      {"font size 5000", With(good, "Size", "dword:00001388")},
      {"colour beyond 32 bits", With(good, "Color", "dword:1ffffffff")},
      {"10000 recent files", many},
  };
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    // A file that is no registry text at all is kept aside, and the user told.
    const bool unreadable = text == binary;
    if (unreadable) prompts->AnswerMessage(TModalResult::OK);
    Restart(false);
    if (unreadable) {
      const QStringList aside = QDir(Path("")).entryList({"settings.reg.unreadable-*"});
      ASSERT_EQ(aside.size(), 1);
      EXPECT_EQ(ReadText(Path(aside[0])), binary);
      const auto& asked = prompts->Questions().back();
      EXPECT_TRUE(asked.text.contains(path) && asked.text.contains(Path(aside[0])))
          << asked.text.toStdString();
      EXPECT_EQ(asked.icon, TMsgIcon::Warning);
    }
    EXPECT_TRUE(screen.contains(form->geometry()));
    EXPECT_GT(List()->font().pointSize(), 0);
    EXPECT_LE(form->RecentFiles().size(), 14);
    form->close();
    const QByteArray stored = ReadText(path);
    TMemorySettingsStore reread;
    ParseRegFile(stored, reread);
    EXPECT_EQ(FormatRegFile(reread), stored);
    EXPECT_TRUE(stored.contains("\"ShowToolBar\"=dword:00000001"));
  }
  EXPECT_TRUE(ReadText(path).contains("\"Item13\"=\"/x13\"\r\n"));
  EXPECT_FALSE(ReadText(path).contains("Item14"));
  SetSettingsStore(settings.get());
}

TEST_F(SettingsTest, AFailedStoreReachesTheErrorBoxAndTheWindowStillCloses) {
  WriteBytes(Path("file"), {'x'});
  TRegFileStore blocked(Path("file") + "/settings.reg");
  SetSettingsStore(&blocked);
  prompts->AnswerMessage(TModalResult::OK);
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(LastMessage().startsWith("Cannot create the settings folder"))
      << LastMessage().toStdString();
  SetSettingsStore(settings.get());
}
