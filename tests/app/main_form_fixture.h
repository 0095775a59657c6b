// Shared set-up of the main window tests: a window answered through scripted
// prompts, list files made with the project's own writer, and handlers that
// fill the real dialogs' inputs.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <memory>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "components/RecImages.h"
#include "components/RecordsListView.h"
#include "core/listdb.h"
#include "platform/ActionList.h"
#include "platform/RegFileStore.h"
#include "platform/ScriptedPrompts.h"

struct TTestRecord {
  TTestRecord(std::string f1, std::string f2, std::string n = "", int32_t c = 0)
      : field1(std::move(f1)), field2(std::move(f2)), notes(std::move(n)), category(c) {}
  std::string field1, field2, notes;
  int32_t category;  // an id of the table, -1 for none
};

// Writes a list file: categories are added after "Unfiled" (ids 1, 2, ...).
void WriteListFile(const QString& path, const std::string& name,
                   const std::vector<std::string>& categories,
                   const std::vector<TTestRecord>& records, const std::string& field1 = "Name",
                   const std::string& field2 = "Phone");
std::vector<uint8_t> ReadBytes(const QString& path);
void WriteBytes(const QString& path, const std::vector<uint8_t>& bytes);

// Presses OK when it is enabled (a test fails otherwise).
TModalResult PressOK(QDialog* dialog, QPushButton* ok);

// Dialog handlers for TScriptedPrompts::AnswerDialog.
std::function<TModalResult(QDialog*)> ListPropertiesAnswer(const QString& name,
                                                           const QString& field1 = "Field1",
                                                           const QString& field2 = "Field2");
// Reads the proposed list name into *proposed and cancels.
std::function<TModalResult(QDialog*)> ListPropertiesCancel(QString* proposed = nullptr);
// Types the values into the record dialog and picks the category by name.
std::function<TModalResult(QDialog*)> RecordAnswer(const QString& field1, const QString& field2,
                                                   const QString& category = "Unfiled",
                                                   const QString& notes = QString());
std::function<TModalResult(QDialog*)> CancelAnswer();
// Picks a category by name in the category selection dialog.
std::function<TModalResult(QDialog*)> SelectCategoryAnswer(const QString& name);

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QString Path(const QString& name) const { return dir.filePath(name); }
  // The window's action or control of that object name (the test fails when
  // there is none).
  QAction* Action(const QString& name) const { return Child<QAction>(name); }
  template <typename T>
  T* Child(const QString& name) const {
    T* child = form->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << "no " << name.toStdString();
    return child;
  }
  QString Panel(int i) const { return Child<QLabel>(QString("StatusPanel%1").arg(i))->text(); }
  TListDBData* Doc() const { return form->Document(); }
  TRecordsListView* List() const { return Child<TRecordsListView>("RecordsListView"); }
  QComboBox* Combo() const { return Child<QComboBox>("CategoriesComboBox"); }
  void Update() { Actions().UpdateAll(); }
  // Runs the action through its update handler, as its key does; false when
  // it was disabled.
  bool Run(QAction* action) { return ExecuteAction(Actions(), action); }
  bool Run(const QString& name) { return Run(Action(name)); }

  // Creates a new list through Create and its dialog.
  void CreateList(const QString& name = "List", const QString& f1 = "Field1",
                  const QString& f2 = "Field2");
  // Opens a file through Open and its dialog.
  void OpenFile(const QString& path);
  // Adds a record through New record and the record dialog.
  void AddRecord(const QString& f1, const QString& f2, const QString& category = "Unfiled");
  // Selects the box entry with that text, as the user does.
  void PickCategory(const QString& text);
  std::vector<std::string> RowTexts(int column = 0) const;
  void SelectRows(const std::vector<int>& rows);
  // A click on the column's header, with or without the Control key.
  void ClickHeader(int column, bool ctrl = false) { emit List()->ColumnClicked(column, ctrl); }
  // The last message asked, or empty.
  QString LastMessage() const;
  TActionList& Actions() const { return *form->findChild<TActionList*>(); }

  QTemporaryDir dir;
  // The settings every window of the test reads and writes, empty at start.
  std::unique_ptr<TMemorySettingsStore> settings;
  ISettingsStore* outerSettings = nullptr;
  std::unique_ptr<TScriptedPrompts> prompts;
  std::unique_ptr<TMainListDBForm> form;
};
