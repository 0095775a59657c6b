// Small documents for the record list tests.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLocale>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/RecordsListView.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"

struct TTestRecordValues {
  TTestRecordValues(std::string f1, std::string f2 = {}, std::string n = {}, int32_t c = 0)
      : field1(std::move(f1)), field2(std::move(f2)), notes(std::move(n)), category(c) {}
  std::string field1, field2, notes;
  int32_t category;
};

inline std::unique_ptr<TListDBData> MakeTestDocument(const std::vector<TTestRecordValues>& values) {
  auto document = std::make_unique<TListDBData>();
  document->SetCustomField1("Name");
  document->SetCustomField2("Phone");
  document->Categories().Add("Business");
  document->Categories().Add("Personal");
  for (const TTestRecordValues& v : values) {
    TListRecord* record = document->AddRecord();
    record->SetField1(v.field1);
    record->SetField2(v.field2);
    record->SetNotes(v.notes);
    record->SetCategoryID(v.category);
  }
  return document;
}

inline std::vector<TListRecord*> RowsOf(const TListDBData& document) {
  std::vector<TListRecord*> rows;
  for (int i = 0; i < document.RecordCount(); ++i) rows.push_back(document.GetRecord(i));
  return rows;
}

inline QStringList ColumnTexts(const QAbstractItemModel& model, int column) {
  QStringList texts;
  for (int row = 0; row < model.rowCount(); ++row)
    texts << model.data(model.index(row, column), Qt::DisplayRole).toString();
  return texts;
}

// A document's records and the shown ones over them, as the list view holds them.
struct TTestRecordList {
  TRecordListModel all;
  TShownRecordsModel shown{&all};
};

// Sets the default locale for one test and restores the previous one.
class TLocaleScope {
 public:
  explicit TLocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
  ~TLocaleScope() { QLocale::setDefault(saved_); }

 private:
  QLocale saved_;
};

// Checks the model with QAbstractItemModelTester for as long as it lives; a
// rule of Qt's models that the model breaks fails the current test.
class TModelCheck {
 public:
  explicit TModelCheck(QAbstractItemModel* model)
      : previous_(qInstallMessageHandler(&TModelCheck::Report)),
        tester_(model, QAbstractItemModelTester::FailureReportingMode::Warning) {}
  ~TModelCheck() { qInstallMessageHandler(previous_); }
  TModelCheck(const TModelCheck&) = delete;
  TModelCheck& operator=(const TModelCheck&) = delete;

 private:
  static void Report(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (context.category && std::string_view(context.category) == "qt.modeltest")
      ADD_FAILURE() << message.toStdString();
  }
  QtMessageHandler previous_;
  QAbstractItemModelTester tester_;
};
