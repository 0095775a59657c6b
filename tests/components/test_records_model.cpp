// The record list's rows, their sorting and the header marks.
#include <gtest/gtest.h>

#include <QIcon>

#include "components/RecImages.h"
#include "records_test_util.h"

namespace {

TEST(RecordRow, TextsAsTheListShowsThem) {
  auto doc = MakeTestDocument({{"Ann", "555-1234", "one\r\ntwo\r\n\r\nthree", 1},
                               {"Bob", "", "lone\nLF and lone\rCR", 0},
                               {"\xC9mile", "x", "", -1}});
  const TListRecord* ann = doc->GetRecord(0);
  EXPECT_EQ(RecordCellText(ann, 0), "Ann");
  EXPECT_EQ(RecordCellText(ann, 1), "555-1234");
  EXPECT_EQ(RecordCellText(ann, 2), "one two  three");
  EXPECT_EQ(RecordCellText(ann, 3), "Business");

  // Only CR LF pairs become blanks; a lone CR or LF stays.
  EXPECT_EQ(RecordCellText(doc->GetRecord(1), 2), "lone\nLF and lone\rCR");
  EXPECT_EQ(RecordCellText(doc->GetRecord(1), 3), "Unfiled");

  // Windows-1252 bytes become their characters; no category reads "Unfiled".
  EXPECT_EQ(RecordCellText(doc->GetRecord(2), 0), QString::fromUtf8("\xC3\x89mile"));
  EXPECT_EQ(RecordCellText(doc->GetRecord(2), 3), "Unfiled");
  doc->GetRecord(2)->SetField2("\x80 5\x81\x9F\xA0");
  EXPECT_EQ(RecordCellText(doc->GetRecord(2), 1), QString::fromUtf8("\u20AC 5\u0081\u0178\u00A0"));

  doc->GetRecord(1)->SetNotes("\r\r\n\r\n|\n\r|\r\n");
  EXPECT_EQ(RecordCellText(doc->GetRecord(1), 2), "\r  |\n\r| ");

  EXPECT_TRUE(RecordCellText(nullptr, 0).isEmpty());
}

TEST(RecordRow, CategoryTextFollowsRenamesAndManyNames) {
  // Rows share the converted category names; a rename or a name not seen
  // for a while still reads right.
  auto doc = MakeTestDocument({{"a", "", "", 1}, {"b", "", "", 1}});
  EXPECT_EQ(RecordCellText(doc->GetRecord(0), 3), "Business");
  doc->Categories().Rename(1, "Work");
  EXPECT_EQ(RecordCellText(doc->GetRecord(1), 3), "Work");
  std::vector<std::unique_ptr<TListDBData>> docs;
  for (int round = 0; round < 2; ++round) {
    for (int d = 0; d < 3; ++d) {
      if (round == 0) {
        docs.push_back(std::make_unique<TListDBData>());
        for (int c = 1; c < 15; ++c)
          docs[d]->Categories().Add("D" + std::to_string(d) + "C" + std::to_string(c));
      }
      for (int c = 1; c < 15; ++c) {
        TListRecord* record = docs[d]->AddRecord();
        record->SetCategoryID(c);
        EXPECT_EQ(RecordCellText(record, 3), QString("D%1C%2").arg(d).arg(c));
      }
    }
  }
}

TEST(RecordListModel, ShapeRolesAndRowsThatFollowTheDocument) {
  auto doc = MakeTestDocument({{"a", "1", "", 0}, {"b", "2", "", 1}, {" c ", "3", "", 2}});
  TRecordListModel model;
  TModelCheck check(&model);
  EXPECT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "CustomField1");
  model.SetDocument(doc.get());
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);  // a flat list
  EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));
  EXPECT_TRUE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsSelectable));
  // The record image on every row, in the first column only.
  for (int row = 0; row < 3; ++row)
    EXPECT_FALSE(model.data(model.index(row, 0), Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
  EXPECT_FALSE(model.data(model.index(0, 0), Qt::ToolTipRole).isValid());
  EXPECT_EQ(model.data(model.index(2, 0), kSortKeyRole).toString(), "c");
  EXPECT_EQ(model.data(model.index(2, 3), kSortKeyRole).toString(), "Personal");
  EXPECT_EQ(model.data(model.index(1, 0), kRecordRole).value<quintptr>(),
            reinterpret_cast<quintptr>(doc->GetRecord(1)));

  // Added, changed, removed, renamed: the rows follow.
  TListRecord* d = doc->AddRecord();
  d->SetField1("d");
  doc->GetRecord(1)->SetField1("B!");
  doc->Categories().Rename(2, "Home");
  doc->DeleteRecord(0);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"B!", " c ", "d"}));
  EXPECT_EQ(ColumnTexts(model, 3), QStringList({"Business", "Home", "Unfiled"}));
  EXPECT_EQ(model.RowOf(d), 2);
  EXPECT_EQ(model.RecordAt(2), d);

  // Positions that hold no row are ignored, not trusted.
  EXPECT_FALSE(model.data(model.index(5, 0), Qt::DisplayRole).isValid());
  EXPECT_EQ(model.RowOf(nullptr), -1);
  EXPECT_EQ(model.RecordAt(3), nullptr);
  EXPECT_EQ(model.RecordAt(-1), nullptr);
  {
    TDetachedRecord outside(doc.get());  // goes before its document
    EXPECT_EQ(model.RowOf(&outside), -1);
  }

  // A document that goes away leaves no rows behind.
  doc.reset();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.Document(), nullptr);
}

TEST(RecordListModel, HeaderMarks) {
  TRecordListModel model;
  model.SetSortMark(2, false);
  model.SetSortMark(0, true);
  EXPECT_EQ(model.HeaderImage(0), kSortAscendingImage);
  EXPECT_EQ(model.HeaderImage(2), -1);
  model.SetSortMark(-1, true);
  EXPECT_EQ(model.HeaderImage(0), -1);
  model.SetHeaderImage(1, kSortAscendingImage);
  model.SetHeaderImage(2, kSortDescendingImage);
  model.SetHeaderImage(3, 7);  // no such picture: no mark
  model.SetHeaderImage(4, 1);  // no such column
  EXPECT_EQ(std::vector<int>({model.HeaderImage(0), model.HeaderImage(1), model.HeaderImage(2),
                              model.HeaderImage(3)}),
            std::vector<int>({-1, 1, 2, -1}));
  auto mark = [&](int c) { return model.headerData(c, Qt::Horizontal, Qt::DecorationRole); };
  EXPECT_FALSE(mark(0).isValid());
  EXPECT_FALSE(mark(3).isValid());
  EXPECT_NE(mark(1).value<QIcon>().pixmap(16).toImage(),
            mark(2).value<QIcon>().pixmap(16).toImage());
  model.SetHeaderImage(1, -1);
  EXPECT_FALSE(mark(1).isValid());
}

TEST(RecImages, DrawnAtSixteenPixels) {
  for (int image : {kRecordImage, kSortAscendingImage, kSortDescendingImage}) {
    const QImage picture = RecImagePixmap(image).toImage();
    ASSERT_EQ(picture.size(), QSize(16, 16));
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) opaque += qAlpha(picture.pixel(x, y)) > 128;
    EXPECT_GT(opaque, 12) << "image " << image;   // something to see
    EXPECT_LT(opaque, 250) << "image " << image;  // not a filled square
  }
  EXPECT_TRUE(RecImagePixmap(-1).isNull());
  EXPECT_TRUE(RecImageIcon(3).isNull());
}

class RecordSort : public ::testing::Test {
 protected:
  void Load(const std::vector<TTestRecordValues>& values) {
    doc = MakeTestDocument(values);
    list.all.SetDocument(doc.get());
  }
  std::unique_ptr<TListDBData> doc;
  TTestRecordList list;
  TShownRecordsModel& model = list.shown;
};

TEST_F(RecordSort, TrimmedKeysEqualCaseDistinctKeysNot) {
  // Equal keys keep their order; keys that differ in case are ordered apart.
  TLocaleScope locale(QLocale(QLocale::English, QLocale::UnitedStates));
  Load({{"b ", "ABC"}, {"a", "abc"}, {" b", "ABC"}, {"b", "abc"}});
  model.SortRows(0, true);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"a", "b ", " b", "b"}));
  model.SortRows(0, false);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"b ", " b", "b", "a"}));

  Load({{"ABC"}, {"abc"}, {"ABC"}, {"abc"}});
  model.SortRows(0, true);
  const QStringList up = ColumnTexts(model, 0);
  EXPECT_EQ(up[0], up[1]);
  EXPECT_EQ(up[2], up[3]);
  EXPECT_NE(up[0], up[2]);
  model.SortRows(0, false);
  const QStringList down = ColumnTexts(model, 0);
  EXPECT_EQ(down[0], up[3]);
  EXPECT_EQ(down[3], up[0]);
}

TEST_F(RecordSort, LocaleCollationNotCodeOrder) {
  TLocaleScope locale(QLocale(QLocale::English, QLocale::UnitedStates));
  Load({{"banana"}, {"Apple"}, {"cherry"}, {"\xE9lan"}, {"Zebra"}});
  model.SortRows(0, true);
  EXPECT_EQ(ColumnTexts(model, 0),
            QStringList({"Apple", "banana", "cherry", QString::fromUtf8("\xC3\xA9lan"), "Zebra"}));
}

TEST_F(RecordSort, NumbersSortAsText) {
  for (const QLocale& l : {QLocale(QLocale::C), QLocale(QLocale::German, QLocale::Germany)}) {
    TLocaleScope locale(l);
    Load({{"x", "9"}, {"y", "10"}, {"z", "100"}, {"w", "2"}});
    model.SortRows(1, true);
    EXPECT_EQ(ColumnTexts(model, 1), QStringList({"10", "100", "2", "9"}))
        << l.name().toStdString();
  }
}

TEST_F(RecordSort, NotesByTheirOneLineForm) {
  // Sorted by the raw note, CR (13) would put "a\r\nc" before "a b".
  Load({{"1", "", "a\r\nc"}, {"2", "", "a b"}, {"3", "", "a\r\na"}});
  model.SortRows(2, true);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"3", "2", "1"}));
}

TEST_F(RecordSort, CategoryColumnAndBadColumn) {
  Load({{"1", "", "", 2}, {"2", "", "", -1}, {"3", "", "", 1}, {"4", "", "", 0}});
  model.SortRows(3, true);
  EXPECT_EQ(ColumnTexts(model, 3), QStringList({"Business", "Personal", "Unfiled", "Unfiled"}));
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"3", "1", "2", "4"}));
  model.SortRows(4, true);  // no such column: nothing happens
  model.SortRows(-1, false);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"3", "1", "2", "4"}));
}

TEST_F(RecordSort, RowsKeepTheirRecordsAndTheDocumentItsOrder) {
  TModelCheck check(&model);
  Load({{"c", "3"}, {"a", "1"}, {"b", "2"}});
  const QPersistentModelIndex a = model.index(1, kNotesColumn);
  model.SortRows(kField1Column, false);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"c", "b", "a"}));
  EXPECT_EQ(a.row(), 2);
  EXPECT_EQ(a.column(), kNotesColumn);
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(AnsiToQString(model.ShownRecord(row)->Field1()), model.Text(row, kField1Column));
  EXPECT_EQ(doc->GetRecord(0)->Field1(), "c");
  EXPECT_EQ(doc->GetRecord(1)->Field1(), "a");
}

// Deleting records takes their rows; the rows left keep their order and the
// persistent indexes stay on their records, whether the rows go run by run
// or, scattered, in one pass.
TEST(ShownRecords, DeletedRecordsTakeTheirRows) {
  for (const int count : {8, 100}) {
    std::vector<TTestRecordValues> values;
    for (int i = 0; i < count; ++i) values.emplace_back(std::to_string(i));
    auto doc = MakeTestDocument(values);
    TTestRecordList list;
    TModelCheck checkAll(&list.all), checkShown(&list.shown);
    list.all.SetDocument(doc.get());
    TShownRecordsModel& model = list.shown;
    model.SortRows(kField1Column, false);  // rows no longer in document order
    // Every even row and a run at the end.
    std::vector<int> doomed;
    for (int row = 0; row < count - 3; row += 2) doomed.push_back(row);
    doomed.insert(doomed.end(), {count - 2, count - 1});
    const QPersistentModelIndex kept = model.index(1, kNotesColumn);
    TListRecord* keptRecord = model.ShownRecord(1);
    const QPersistentModelIndex gone = model.index(0, 0);
    std::vector<TListRecord*> survivors;
    for (int row = 1; row < count - 3; row += 2) survivors.push_back(model.ShownRecord(row));
    if ((count - 3) % 2 == 1) survivors.push_back(model.ShownRecord(count - 3));

    std::vector<int> positions;
    for (int row : doomed) positions.push_back(list.all.RowOf(model.ShownRecord(row)));
    doc->DeleteRecords(positions);
    ASSERT_EQ(model.ShownCount(), static_cast<int>(survivors.size())) << count;
    ASSERT_EQ(doc->RecordCount(), model.ShownCount());
    EXPECT_EQ(model.ShownRecords(), survivors);
    for (int row = 0; row < model.ShownCount(); ++row)
      EXPECT_EQ(model.data(model.index(row, 0), Qt::DisplayRole).toString(),
                AnsiToQString(survivors[row]->Field1()));
    // The document keeps its own order among the records left.
    for (int i = 1; i < doc->RecordCount(); ++i)
      EXPECT_LT(std::stoi(std::string(doc->GetRecord(i - 1)->Field1())),
                std::stoi(std::string(doc->GetRecord(i)->Field1())));
    EXPECT_EQ(model.ShownRecord(kept.row()), keptRecord);
    EXPECT_EQ(kept.column(), kNotesColumn);
    EXPECT_FALSE(gone.isValid());
  }
}

// The filter decides which records are shown; records added or changed later
// are tested as they come, and the sort of the rows stays.
TEST(ShownRecords, FilterFollowsAddedAndChangedRecords) {
  auto doc =
      MakeTestDocument({{"d", "", "", 1}, {"b", "", "", 2}, {"c", "", "", 1}, {"a", "", "", 1}});
  TTestRecordList list;
  TModelCheck checkShown(&list.shown);
  list.all.SetDocument(doc.get());
  TShownRecordsModel& shown = list.shown;
  shown.SetFilter([](const TListRecord* r) { return r->CategoryID() == 1; });
  EXPECT_EQ(ColumnTexts(shown, 0), QStringList({"d", "c", "a"}));
  EXPECT_EQ(shown.SortColumn(), -1);
  shown.SortRows(kField1Column, true);
  EXPECT_EQ(ColumnTexts(shown, 0), QStringList({"a", "c", "d"}));
  EXPECT_EQ(shown.SortColumn(), kField1Column);

  TListRecord* added = doc->AddRecord();  // no category yet: not shown
  EXPECT_EQ(shown.FindRecord(added), -1);
  added->Assign("0", "", "", 1);        // now it passes: shown at the end
  doc->GetRecord(2)->SetCategoryID(2);  // "c" leaves
  doc->GetRecord(0)->SetField1("z");
  EXPECT_EQ(ColumnTexts(shown, 0), QStringList({"a", "z", "0"}));
  EXPECT_EQ(shown.mapToSource(shown.index(2, 0)).row(), 4);
  EXPECT_EQ(shown.mapFromSource(list.all.index(3, 1)).row(), 0);
  EXPECT_FALSE(shown.mapFromSource(list.all.index(1, 0)).isValid());

  // Any records, ordered by the current sort; unsorted, by the document.
  std::vector<TListRecord*> all = RowsOf(*doc);
  shown.SortRows(kField1Column, false);
  shown.OrderRecords(all);
  QStringList texts;
  for (const TListRecord* r : all) texts << AnsiToQString(r->Field1());
  EXPECT_EQ(texts, QStringList({"z", "c", "b", "a", "0"}));
  shown.Refilter();
  EXPECT_EQ(shown.SortColumn(), -1);
  shown.OrderRecords(all);
  EXPECT_EQ(all, RowsOf(*doc));

  // Reading the list anew shows it anew.
  doc->ClearRecords();
  EXPECT_EQ(shown.ShownCount(), 0);
}

}  // namespace

namespace {

// A sort ranks a column once and reuses the ranks for later sorts and other
// filters, until a value of that column changes: then it ranks again.
TEST(RecordListModel, SortRanksFollowEveryChange) {
  auto doc = MakeTestDocument({{"b", "2", "x\r\ny", 1}, {"  a", "1", "", -1}, {"c", "3", "w", 2}});
  TTestRecordList list;
  list.all.SetDocument(doc.get());
  TShownRecordsModel& model = list.shown;
  model.SortRows(kField1Column, true);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"  a", "b", "c"}));
  model.SortRows(kNotesColumn, true);
  EXPECT_EQ(ColumnTexts(model, 2), QStringList({"", "w", "x y"}));

  doc->GetRecord(2)->SetField1("0");
  model.SortRows(kField1Column, true);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"0", "  a", "b"}));
  doc->GetRecord(0)->SetNotes("a\r\nb");
  model.SortRows(kNotesColumn, false);
  EXPECT_EQ(ColumnTexts(model, 2), QStringList({"w", "a b", ""}));
  doc->GetRecord(1)->Assign("a", "9", "z", 2);
  model.SortRows(kField2Column, true);
  EXPECT_EQ(ColumnTexts(model, 1), QStringList({"2", "3", "9"}));

  // Category names: renamed, deleted, a record re-filed.
  model.SortRows(kCategoryColumn, true);
  EXPECT_EQ(ColumnTexts(model, 3), QStringList({"Business", "Personal", "Personal"}));
  doc->Categories().Rename(1, "Zoo");
  model.SortRows(kCategoryColumn, true);
  EXPECT_EQ(ColumnTexts(model, 3), QStringList({"Personal", "Personal", "Zoo"}));
  doc->Categories().Delete(2);
  model.SortRows(kCategoryColumn, true);
  EXPECT_EQ(ColumnTexts(model, 3), QStringList({"Unfiled", "Unfiled", "Zoo"}));
  doc->GetRecord(0)->SetCategoryID(0);
  doc->GetRecord(1)->SetCategoryID(1);
  model.SortRows(kCategoryColumn, false);
  EXPECT_EQ(ColumnTexts(model, 3), QStringList({"Zoo", "Unfiled", "Unfiled"}));

  // A record added to the document, and a list of another document.
  TListRecord* added = doc->AddRecord();
  added->SetField1("aa");
  model.SortRows(kField1Column, true);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"0", "a", "aa", "b"}));
  auto other = MakeTestDocument({{"y", "", "", 0}, {"x", "", "", 1}});
  list.all.SetDocument(other.get());
  model.SortRows(kField1Column, true);
  EXPECT_EQ(ColumnTexts(model, 0), QStringList({"x", "y"}));
  // Records of another list, or outside their list, are ranked among themselves.
  TDetachedRecord outside(other.get());
  outside.SetField1("w");
  std::vector<TListRecord*> mixed{other->GetRecord(0), added, &outside};
  model.OrderRecords(mixed);
  EXPECT_EQ(mixed, (std::vector<TListRecord*>{added, &outside, other->GetRecord(0)}));
}

}  // namespace
