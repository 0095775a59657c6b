// The program's command line: which file it opens, and opening it in the
// window as Open does.
#include <QDir>
#include <QProcess>
#include <QTest>

#include "app/CommandLine.h"
#include "main_form_fixture.h"

namespace {

TEST(ProgramArgumentsTest, OneFileOpensAndAnythingElseIsReported) {
  struct Case {
    QStringList args;
    QString file;
    bool wrong, help, version;
  } cases[] = {
      {{}, "", false, false, false},
      {{"a.pdb"}, "a.pdb", false, false, false},
      // More than one file, or an unknown option: reported, the first file still opens.
      {{"a.pdb", "b.pdb"}, "a.pdb", true, false, false},
      {{"--bogus", "a.pdb"}, "a.pdb", true, false, false},
      {{"-x"}, "", true, false, false},
      // After "--" a name that starts with a dash is a file.
      {{"--", "-a.pdb"}, "-a.pdb", false, false, false},
      {{"a.pdb", "--help"}, "a.pdb", false, true, false},
      {{"--version"}, "", false, false, true},
  };
  for (const Case& c : cases) {
    const TProgramArguments parsed = ParseProgramArguments(c.args);
    EXPECT_EQ(parsed.file, c.file) << c.args.join(' ').toStdString();
    EXPECT_EQ(parsed.wrong, c.wrong) << c.args.join(' ').toStdString();
    EXPECT_EQ(parsed.help, c.help) << c.args.join(' ').toStdString();
    EXPECT_EQ(parsed.version, c.version) << c.args.join(' ').toStdString();
  }
}

// --help and --version print and exit without a display.
TEST(ProgramArgumentsTest, HelpAndVersionNeedNoDisplay) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  for (const QString& option : {QString("--version"), QString("--help")}) {
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(VORNIK_PROGRAM_FILE, {option});
    ASSERT_TRUE(program.waitForFinished(30000)) << option.toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << option.toStdString();
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    if (option == "--version")
      EXPECT_EQ(out, QString("vornik %1\n").arg(VORNIK_VERSION_TEXT));
    else
      EXPECT_TRUE(out.startsWith("Usage: vornik [FILE]")) << out.toStdString();
  }
}

TEST_F(MainFormTest, CommandLineFileOpensAsOpenDoes) {
  WriteListFile(Path("a.pdb"), "Books", {"Work"}, {{"x", "1", "", 1}});
  // A relative name is taken from the current folder and kept whole.
  const QString before = QDir::currentPath();
  QDir::setCurrent(dir.path());
  form->OpenCommandLineFile("a.pdb");
  QDir::setCurrent(before);
  ASSERT_NE(Doc(), nullptr);
  EXPECT_EQ(Panel(0), "Books");
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"x"}));
  EXPECT_EQ(form->RecentFiles().value(0), Path("a.pdb"));
}

// The program asks for the list before its window is on the screen; it opens
// once the window has been shown, however long the desktop takes.
TEST_F(MainFormTest, CommandLineFileOpensOnceTheWindowIsShown) {
  WriteListFile(Path("a.pdb"), "Books", {"Work"}, {{"x", "1", "", 1}});
  form->OpenCommandLineFileOnceShown(Path("a.pdb"));
  QTest::qWait(200);
  EXPECT_EQ(Doc(), nullptr);
  form->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Doc() != nullptr; }, 5000));
  EXPECT_EQ(Panel(0), "Books");
}

TEST_F(MainFormTest, CommandLineFileThatIsNoListShowsTheErrorBox) {
  WriteBytes(Path("bad.pdb"), std::vector<uint8_t>(10, 'x'));
  prompts->AnswerMessage(TModalResult::OK);
  form->OpenCommandLineFile(Path("bad.pdb"));
  EXPECT_EQ(LastMessage(), "Stream read error.");
  EXPECT_EQ(Doc(), nullptr);
  EXPECT_TRUE(form->RecentFiles().isEmpty());
  EXPECT_EQ(prompts->Unanswered(), 0);
}

}  // namespace
