// Import: delimited text into a new list, encodings, and the losses reported.
#include <gtest/gtest.h>

#include <cstring>

#include "core/ImportRows.h"
#include "core/ListExport.h"
#include "core/ListImport.h"
#include "core_test_util.h"

namespace {

constexpr size_t kPiece = import_internal::TDecodedInput::kPiece;

// Hands out at most a few bytes a read, as a pipe may.
class TDribbleStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  size_t Read(void* buffer, size_t count) override {
    return TMemoryStream::Read(buffer, std::min<size_t>(count, 3));
  }
};

struct TImported {
  std::unique_ptr<TListDBData> doc;
  TImportReport report;
  std::string Value(int record, int field) const {
    const TListRecord* r = doc->GetRecord(record);
    switch (field) {
      case 0:
        return std::string(r->Field1());
      case 1:
        return std::string(r->Field2());
      case 2:
        return std::string(r->Notes());
      default:
        return r->CategoryName();
    }
  }
};

TImportOptions Csv(bool titles = false) {
  TImportOptions options;
  options.Format = TImportFormat::CommaSeparated;
  options.FirstRowTitles = titles;
  return options;
}

TImported Import(const std::string& bytes, const TImportOptions& options) {
  TMemoryStream in(TBytes(bytes.begin(), bytes.end()));
  TImported result;
  result.doc = ImportList(in, options, result.report);
  return result;
}

std::string Utf16(const std::u16string& text, bool le, bool mark) {
  std::string out;
  auto put = [&](char16_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += le ? std::string{lo, hi} : std::string{hi, lo};
  };
  if (mark) put(0xFEFF);
  for (char16_t u : text) put(u);
  return out;
}

TEST(ImportCsv, QuotedValuesHoldSeparatorsQuotesAndLineBreaks) {
  const TImported t = Import(
      "\"a,b\",\"say \"\"hi\"\"\",\"line 1\nline 2\r\nline 3\rend\",Work\r\n"
      "plain \"quote\" inside,,\"\",\r\n",
      Csv());
  ASSERT_EQ(t.doc->RecordCount(), 2);
  EXPECT_EQ(t.Value(0, 0), "a,b");
  EXPECT_EQ(t.Value(0, 1), "say \"hi\"");
  EXPECT_EQ(t.Value(0, 2), "line 1\r\nline 2\r\nline 3\r\nend");  // notes keep CR LF
  EXPECT_EQ(t.Value(0, 3), "Work");
  EXPECT_EQ(t.Value(1, 0), "plain \"quote\" inside");  // a quote inside a plain value is text
  EXPECT_EQ(t.Value(1, 1), "");
  EXPECT_EQ(t.Value(1, 3), "Unfiled");  // the empty last value
  EXPECT_TRUE(t.report.Lossless()) << t.report.Lines().back();
}

// What follows a closing quote: a separator, each line end, text (taken as
// it stands), or the end of the input right after a separator.
TEST(ImportCsv, AfterAClosingQuote) {
  const TImported t = Import("\"a\"x,\"b\"\r\"c\"\r\n\"d\",\"e\"\n\"f\",", Csv());
  std::string got;
  for (int r = 0; r < t.doc->RecordCount(); ++r) got += t.Value(r, 0) + "|" + t.Value(r, 1) + ";";
  EXPECT_EQ(got, "ax|b;c|;d|e;f|;");
  EXPECT_EQ(t.report.FewerColumns.FirstRows, (std::vector<size_t>{2}));
}

TEST(ImportCsv, AnyLineEndAndAMissingLastOne) {
  for (const char* end : {"\r\n", "\n", "\r"}) {
    const std::string e = end;
    const TImported t = Import("a,b" + e + "c,d" + e + "e,f", Csv());
    ASSERT_EQ(t.doc->RecordCount(), 3) << int(e[0]);
    EXPECT_EQ(t.Value(2, 1), "f");
    EXPECT_EQ(t.report.BlankRows.Count, 0u);
  }
  // A separator at the very end gives one more, empty value.
  const TImported t = Import("a,b,c,", Csv());
  EXPECT_EQ(t.report.MoreColumns.Count + t.report.FewerColumns.Count, 0u);
  // An unclosed quote takes the rest of the input.
  const TImported open = Import("x,\"never closed\nstill", Csv());
  ASSERT_EQ(open.doc->RecordCount(), 1);
  EXPECT_EQ(open.Value(0, 1), "never closed\nstill");  // field 2 keeps its break as read
}

TEST(ImportCsv, TitlesGuessColumnsAndNameTheFields) {
  TImported t = Import(
      "Category,Name of the person here,Notes,Phone\n"
      "Home,Ann,note,555\n",
      Csv(true));
  ASSERT_EQ(t.doc->RecordCount(), 1);
  EXPECT_EQ(t.Value(0, 0), "Ann");
  EXPECT_EQ(t.Value(0, 1), "555");
  EXPECT_EQ(t.Value(0, 2), "note");
  EXPECT_EQ(t.Value(0, 3), "Home");
  EXPECT_EQ(t.doc->CustomField1(), "Name of the pers");  // cut to 16
  EXPECT_EQ(t.doc->CustomField2(), "Phone");
  // The user's mapping wins; several columns to the note are joined.
  TImportOptions options = Csv(true);
  options.Columns = {TImportTarget::Skip, TImportTarget::Field1, TImportTarget::Notes,
                     TImportTarget::Notes};
  t = Import("Category,Name,Notes,Phone\nHome,Ann,note,555\n", options);
  EXPECT_EQ(t.Value(0, 2), "note\r\n555");
  EXPECT_EQ(t.Value(0, 3), "Unfiled");
  EXPECT_EQ(t.doc->CustomField2(), "Field2");  // no column for it
}

TEST(ImportCsv, GuessesWithoutTitlesFollowTheExportOrder) {
  EXPECT_EQ(GuessColumns({}, 5),
            (std::vector<TImportTarget>{TImportTarget::Field1, TImportTarget::Field2,
                                        TImportTarget::Notes, TImportTarget::Category,
                                        TImportTarget::Skip}));
  EXPECT_EQ(GuessColumns({"memo", "X", "field 1"}, 3),
            (std::vector<TImportTarget>{TImportTarget::Notes, TImportTarget::Field2,
                                        TImportTarget::Field1}));
}

TEST(ImportText, TabsAndSeparatorsOfTheUsersChoice) {
  TImportOptions tsv = Csv();
  tsv.Format = TImportFormat::TabSeparated;
  TImported t = Import("a,1\t\"b\tc\"\tn\n", tsv);
  EXPECT_EQ(t.Value(0, 0), "a,1");
  EXPECT_EQ(t.Value(0, 1), "b\tc");

  TImportOptions text = Csv();
  text.Format = TImportFormat::SeparatedText;
  text.FieldSeparator = "<\\t>";
  text.RecordSeparator = "##";
  t = Import("a<\t>b\nc<\t>d##e<\t>f<\t>##", text);
  ASSERT_EQ(t.doc->RecordCount(), 2);
  EXPECT_EQ(t.Value(0, 1), "b\nc");
  EXPECT_EQ(t.Value(1, 1), "f");

  // A separator cut by the end of the piece the input is read in.
  std::string big(kPiece - 2, 'x');
  t = Import(big + "<\t>y##", text);
  ASSERT_EQ(t.doc->RecordCount(), 1);
  EXPECT_EQ(t.Value(0, 1), "y");

  text.FieldSeparator = "";
  EXPECT_EQ(MessageOf([&] { Import("a", text); }), "The field separator is empty");
  text.FieldSeparator = "\xE4\xB8\xAD";  // UTF-8 of a CJK character
  EXPECT_NE(MessageOf([&] { Import("a", text); }).find("Windows-1252"), std::string::npos);
}

TEST(ImportEncoding, MarksValidUtf8AndTheFallback) {
  const std::u16string text = u"\u00C4rger,\u20AC 5,\u4E2D\n";
  for (bool le : {true, false}) {
    for (bool mark : {true, false}) {
      const TImported t = Import(Utf16(text, le, mark), Csv());
      ASSERT_EQ(t.doc->RecordCount(), 1) << le << mark;
      EXPECT_EQ(t.Value(0, 0), "\xC4rger");
      EXPECT_EQ(t.Value(0, 1), "\x80 5");
      EXPECT_EQ(t.Value(0, 2), "?");
      EXPECT_EQ(t.report.Replaced.Count, 1u);
    }
  }
  TImported t = Import("\xEF\xBB\xBF\xC3\x84,\xE2\x82\xAC", Csv());
  EXPECT_EQ(t.Value(0, 0), "\xC4");
  EXPECT_EQ(t.Value(0, 1), "\x80");
  t = Import("\xC3\x84,\xE2\x82\xAC", Csv());  // valid UTF-8 without a mark
  EXPECT_EQ(t.Value(0, 1), "\x80");
  t = Import("\x80\x81,\xC4", Csv());  // not UTF-8: Windows-1252 as it stands
  EXPECT_EQ(t.Value(0, 0), "\x80\x81");
  EXPECT_EQ(t.Value(0, 1), "\xC4");
  EXPECT_TRUE(t.report.Lossless());
  // Chosen: bytes that are not UTF-8 then become '?'.
  TImportOptions utf8 = Csv();
  utf8.Encoding = TTextEncoding::Utf8;
  t = Import("\xC4,\xE2\x82", utf8);
  EXPECT_EQ(t.Value(0, 0), "?");
  EXPECT_EQ(t.Value(0, 1), "?");
  EXPECT_EQ(t.report.Replaced.Count, 2u);
}

TEST(ImportEncoding, CharactersAcrossPieceBoundariesAndHighBytesLate) {
  // A two-byte character split by the piece boundary, and the first
  // non-ASCII byte far into the file still decides the encoding.
  const std::string head = std::string(kPiece - 4, 'a') + "\nxx";
  TImported t = Import(head + "\xC3\xA9,x\n", Csv());
  EXPECT_EQ(t.Value(1, 0), "xx\xE9");
  t = Import(std::string(3 * kPiece, 'a') + "\n\xE9,x\n", Csv());
  EXPECT_EQ(t.Value(1, 0), "\xE9");
  // Characters, pairs and separators cut anywhere by short reads.
  const std::u16string text = u"\u00C4\u20AC,\"\U0001F600q\"\"\"\r\n\u00E9\u4E2Dz,\u00FF";
  for (const std::string& bytes :
       {Utf16(text, true, true), Utf16(text, false, false),
        std::string(
            "\xC3\x84\xE2\x82\xAC,\"\xF0\x9F\x98\x80q\"\"\"\r\n\xC3\xA9\xE4\xB8\xADz,\xC3\xBF")}) {
    TDribbleStream in(TBytes(bytes.begin(), bytes.end()));
    TImportReport report;
    const auto doc = ImportList(in, Csv(), report);
    ASSERT_EQ(doc->RecordCount(), 2);
    EXPECT_EQ(doc->GetRecord(0)->Field1(), "\xC4\x80");
    EXPECT_EQ(doc->GetRecord(0)->Field2(), "?q\"");
    EXPECT_EQ(doc->GetRecord(1)->Field1(), "\xE9?z");
    EXPECT_EQ(doc->GetRecord(1)->Field2(), "\xFF");
    EXPECT_EQ(report.Replaced.Count, 2u);
    EXPECT_EQ(report.Replaced.FirstRows, (std::vector<size_t>{1, 2}));
  }
}

// UTF-8 decoded sixteen bytes at a time where a block holds at most two
// characters of U+00A0..U+00FF: every other byte above ASCII, wherever it
// lies in a block and however the text is cut into pieces, decodes as the
// character-by-character conversion does.
TEST(ImportEncoding, BlockDecodingMatchesCharacterByCharacter) {
  const char* const chunks[] = {
      "a",        "bc",       "defghij",          "\xC3\xA9",    "\xC3\x80",
      "\xC2\xA0", "\xC2\xBF", "\xC2\x80",         "\xC2\x9F",    "\xE2\x82\xAC",
      "\xC3z",    "\xA9",     "\xF0\x9F\x98\x80", "\xC3\xC3\xA9"};
  uint32_t seed = 12345;
  auto pick = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (int round = 0; round < 40; ++round) {
    std::string text;
    while (text.size() < 600) {
      // Mostly ASCII, so that many blocks hold two characters, one or none.
      const uint32_t k = pick(4) == 0 ? pick(std::size(chunks)) : pick(3);
      text += chunks[k];
    }
    size_t replaced = 0;
    const std::string expected = Utf8ToWindows1252(text, &replaced);
    TTextDecoder decoder(TTextEncoding::Utf8);
    std::string got;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t at = 0; at < text.size();) {
      const size_t piece =
          round % 2 ? text.size() : std::min<size_t>(1 + pick(90), text.size() - at);
      std::string out(TTextDecoder::Room(piece), '\0');
      out.resize(decoder.Decode(bytes + at, piece, at + piece == text.size(), out.data()));
      got += out;
      at += piece;
    }
    ASSERT_EQ(got, expected) << "round " << round;
    EXPECT_EQ(decoder.TakeReplacementsBefore(got.size()), replaced);
  }
  // A zero in a block that otherwise decodes at once is still refused.
  EXPECT_THROW(Import(std::string(20, 'a') + '\0' + "\xC3\xA9" + std::string(60, 'b'), Csv()),
               EListDBError);
}

// Values are read where the decoded input holds them until its buffer moves:
// a row the end of a piece (or every short read) cuts anywhere keeps every
// value whole, and the sixteen-byte scans find stops and high bytes wherever
// they lie in a block.
TEST(ImportBuffers, RowsCutAnywhereByPiecesAndShortReads) {
  const std::string rows =
      "ab\xC3\xA9,\"c\"\"d\",ef\r\n"
      "gh,,\"i\r\nj\"\r\n"
      "k";
  auto check = [](const TImported& t, size_t first, const std::string& what) {
    std::string got;
    for (int r = static_cast<int>(first); r < t.doc->RecordCount(); ++r)
      got += t.Value(r, 0) + "|" + t.Value(r, 1) + "|" + t.Value(r, 2) + ";";
    EXPECT_EQ(got, "ab\xE9|c\"d|ef;gh||i\r\nj;k||;") << what;
  };
  TImportOptions options = Csv();
  options.Encoding = TTextEncoding::Utf8;
  for (size_t shift = 0; shift <= rows.size(); ++shift) {
    const std::string head = std::string(kPiece - shift - 4, 'x') + ",,,\n";
    check(Import(head + rows, options), 1, "shift " + std::to_string(shift));
  }
  TDribbleStream in(TBytes(rows.begin(), rows.end()));
  TImported dribbled;
  dribbled.doc = ImportList(in, options, dribbled.report);
  check(dribbled, 0, "short reads");

  // Stops and two-byte characters at every place in a block.
  std::string row, expected;
  for (int i = 0; i < 40; ++i) {
    row += std::string(static_cast<size_t>(i), 'v') + "\xC3\xA4;;";
    expected += std::string(static_cast<size_t>(i), 'v') + "\xE4|";
  }
  TImportOptions text = options;
  text.Format = TImportFormat::SeparatedText;
  text.FieldSeparator = ";;";
  text.RecordSeparator = "|";
  TImportReport report;
  TMemoryStream stream(TBytes(row.begin(), row.end()));
  const TImportPreview preview = PreviewImport(stream, text, 1);
  ASSERT_EQ(preview.Rows.size(), 1u);
  std::string got;
  for (const std::string& value : preview.Rows[0]) got += Utf8ToWindows1252(value) + "|";
  EXPECT_EQ(got, expected + "|");  // the separator at the end gives an empty value

  // A zero byte is refused wherever it lies.
  for (size_t at = 0; at < 40; at += 3) {
    std::string bytes = std::string(40, 'a') + "\n";
    bytes[at] = '\0';
    EXPECT_NE(MessageOf<EListDBError>([&] { Import(bytes, options); }).find("not text"),
              std::string::npos)
        << at;
  }
}

// Notes take CR LF whatever line ends they came with; category names that
// differ in case share one entry, and names past a full table go to Unfiled
// every time they come.
TEST(ImportValues, NoteLineEndsAndCategoryNamesSeenBefore) {
  const TImported t = Import(
      "a,,\"1\n2\",Work\n"
      "b,,\"1\r2\r\",work\n"
      "c,,\"\r\r\n\",WORK\n",
      Csv());
  EXPECT_EQ(t.Value(0, 2), "1\r\n2");
  EXPECT_EQ(t.Value(1, 2), "1\r\n2\r\n");
  EXPECT_EQ(t.Value(2, 2), "\r\n\r\n");
  EXPECT_EQ(t.doc->Categories().Count(), 2);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(t.Value(r, 3), "Work");

  std::string csv;
  for (int i = 1; i <= 17; ++i) csv += "a,b,,C" + std::to_string(i) + "\n";
  csv += "a,b,,C16\na,b,,c3\n";
  const TImported full = Import(csv, Csv());
  EXPECT_EQ(full.report.UnfiledCategories.Count, 3u);
  EXPECT_EQ(full.report.UnfiledCategories.FirstRows, (std::vector<size_t>{16, 17, 18}));
  EXPECT_EQ(full.Value(18, 3), "C3");
}

// More distinct names than the import remembers answers for, of every
// length (short ones alike but for a byte), each seen twice: the first
// fifteen keep their categories the second time too, the rest stay Unfiled.
TEST(ImportValues, ManyCategoryNamesKeepTheirAnswers) {
  auto name = [](int i) {
    return std::string(size_t(i % 13), 'x') + char('A' + i % 26) + std::to_string(i);
  };
  std::string csv;
  for (int r = 0; r < 800; ++r) csv += "a,b,," + name(r % 400) + "\n";
  const TImported t = Import(csv, Csv());
  ASSERT_EQ(t.doc->RecordCount(), 800);
  for (int r = 0; r < 800; ++r)
    ASSERT_EQ(t.Value(r, 3), r % 400 < 15 ? name(r % 400) : "Unfiled") << r;
  EXPECT_EQ(t.report.UnfiledCategories.Count, 2u * (400 - 15));
}

TEST(ImportBadInput, EmptyOrNotTextIsRefused) {
  EXPECT_EQ(MessageOf<EListDBError>([] { Import("", Csv()); }), "The file is empty");
  EXPECT_EQ(MessageOf<EListDBError>([] { Import("\xEF\xBB\xBF", Csv()); }), "The file is empty");
  TListDBData list;
  list.SetNames("List", "A", "B");
  list.AddRecord()->SetField1("x");
  const TBytes pdb = WriteBytes(list);
  EXPECT_NE(MessageOf<EListDBError>([&] {
              Import(std::string(pdb.begin(), pdb.end()), Csv());
            }).find("not text"),
            std::string::npos);
}

TEST(ImportLosses, EachKindIsCountedWithItsFirstRows) {
  std::string csv = "Field1,Field2,Notes,Category\n";                        // row 1
  csv += std::string(113, 'x') + ",b,,\n";                                   // 2: field 1 too long
  csv += "\n";                                                               // 3: blank
  csv += "a,b,c,,e\n";                                                       // 4: more columns
  csv += "a,b\n";                                                            // 5: fewer columns
  csv += "\xE4\xB8\xAD,\xF0\x9F\x98\x80,,\n";                                // 6: two '?'
  csv += "a,b," + std::string(4096, 'n') + ",\n";                            // 7: note too long
  csv += "a,b,,Category Name Too Long\n";                                    // 8: category too long
  for (int i = 1; i <= 16; ++i) csv += "a,b,,C" + std::to_string(i) + "\n";  // 9..24
  TImportOptions options = Csv(true);
  options.Encoding = TTextEncoding::Utf8;
  TImported t = Import(csv, options);
  const TImportReport& r = t.report;
  EXPECT_EQ(r.CutValues.Count, 3u);
  EXPECT_EQ(r.CutValues.FirstRows, (std::vector<size_t>{2, 7, 8}));
  EXPECT_EQ(r.BlankRows.FirstRows, std::vector<size_t>{3});
  EXPECT_EQ(r.MoreColumns.FirstRows, std::vector<size_t>{4});
  EXPECT_EQ(r.FewerColumns.FirstRows, std::vector<size_t>{5});
  EXPECT_EQ(r.Replaced.Count, 2u);
  EXPECT_EQ(r.Replaced.FirstRows, std::vector<size_t>{6});
  // "Category Name To" took a slot: C1..C14 fill the table, C15 and C16 go
  // to Unfiled.
  EXPECT_EQ(t.doc->Categories().Count(), 16);
  EXPECT_EQ(r.UnfiledCategories.FirstRows, (std::vector<size_t>{23, 24}));
  EXPECT_EQ(t.Value(0, 0), std::string(112, 'x'));
  EXPECT_EQ(t.Value(4, 2).size(), 4095u);
  EXPECT_EQ(t.Value(5, 3), "Category Name To");
  EXPECT_EQ(r.Records, 22u);
  EXPECT_EQ(r.Lines().size(), 7u);  // the count and six kinds of loss
  EXPECT_EQ(r.Lines()[0], "22 records were imported.");

  options.CutOverlong = false;
  t = Import(csv, options);
  EXPECT_EQ(t.report.SkippedOverlong.FirstRows, (std::vector<size_t>{2, 7, 8}));
  EXPECT_EQ(t.report.CutValues.Count, 0u);
  EXPECT_EQ(t.report.Records, 19u);
}

TEST(ImportLosses, RowsBeyondTheRecordLimitAreCountedNotImported) {
  std::string csv;
  for (int i = 0; i < kMaxFileRecords + 3; ++i) csv += "r\n";
  const TImported t = Import(csv, Csv());
  EXPECT_EQ(t.doc->RecordCount(), kMaxFileRecords);
  EXPECT_EQ(t.report.BeyondRecordLimit.Count, 3u);
  EXPECT_EQ(t.report.BeyondRecordLimit.FirstRows.front(), size_t(kMaxFileRecords) + 1);
  EXPECT_NE(t.report.Lines().back().find("from row 65536"), std::string::npos);
}

TEST(ImportProgress, ReportsAndCancels) {
  std::string csv;
  for (int i = 0; i < 5000; ++i) csv += "value,other\n";
  TMemoryStream in(TBytes(csv.begin(), csv.end()));
  TImportReport report;
  size_t calls = 0, last = 0;
  ImportList(in, Csv(), report, [&](size_t done, size_t total) {
    EXPECT_EQ(total, csv.size());
    EXPECT_GE(done, last);
    last = done;
    return ++calls < 100;
  });
  EXPECT_GT(calls, 1u);
  EXPECT_EQ(last, csv.size());
  EXPECT_THROW(ImportList(in, Csv(), report, [](size_t, size_t) { return false; }),
               EImportCancelled);
}

TEST(ImportPreview, GuessesFormatAndGivesTheFirstRows) {
  const std::string text = "Name;Notes\n\"a;b\";\xC3\xA9\n\nc;d\ne;f\n";
  TMemoryStream stream(TBytes(text.begin(), text.end()));
  const TImportPreview p = PreviewImport(stream, TImportOptions{}, 2);
  EXPECT_EQ(p.Format, TImportFormat::SeparatedText);
  EXPECT_EQ(p.FieldSeparator, ";");
  EXPECT_EQ(p.Encoding, TTextEncoding::Utf8);
  EXPECT_EQ(p.Titles, (std::vector<std::string>{"Name", "Notes"}));
  ASSERT_EQ(p.Rows.size(), 2u);  // the blank row is not one
  EXPECT_EQ(p.Rows[0], (std::vector<std::string>{"a;b", "\xC3\xA9"}));
  EXPECT_EQ(p.Columns, (std::vector<TImportTarget>{TImportTarget::Field1, TImportTarget::Notes}));
  for (const char* tabbed : {"a\tb,c\td\n", "x,y\n"}) {
    TMemoryStream s(TBytes(tabbed, tabbed + std::strlen(tabbed)));
    EXPECT_EQ(PreviewImport(s, TImportOptions{}, 5).Format,
              tabbed[1] == '\t' ? TImportFormat::TabSeparated : TImportFormat::CommaSeparated);
  }
}

// What export writes comes back as the same list.
class ImportRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.SetNames("Hostile & <List>", "Na,me \"1\"", "Phone\t2");
    doc.Categories().Add("Home & <Garden>");
    doc.Categories().Add("Work");
    doc.AddRecord()->Assign("a,b \"quoted\"", " tab\there ", "line1\r\nline2, \"x\"\r\n<&>]]>{}\\",
                            1);
    doc.AddRecord()->Assign("\x80\x81\x9F\xA0\xE9\xFF", "", std::string(4095, 'n'), 2);
    doc.AddRecord()->Assign("\"", "=1+2", "\r\n", -1);
    doc.AddRecord()->Assign("lone\rCR", "\x01\x1F", "'\\t", 2);
  }
  TImported RoundTrip(TExportFormat format, const TImportOptions& options, bool titles) {
    TExportOptions out;
    out.Format = format;
    out.Fields = {TExportField::Field1, TExportField::Field2, TExportField::Notes,
                  TExportField::CategoryName};
    out.ColumnTitles = titles;
    out.FieldSeparator = "|\\t|";
    out.RecordSeparator = "\\r\\n#\\r\\n";
    TMemoryStream stream;
    ExportRecords(doc, RecordsToExport(doc, std::nullopt), out, stream);
    const TBytes& bytes = stream.Bytes();
    return Import(std::string(bytes.begin(), bytes.end()), options);
  }
  void ExpectSame(const TImported& t, bool controlsLost = false) {
    ASSERT_EQ(t.doc->RecordCount(), doc.RecordCount());
    for (int i = 0; i < doc.RecordCount(); ++i) {
      const TListRecord* r = doc.GetRecord(i);
      const bool lost = controlsLost && i == 3;
      EXPECT_EQ(t.Value(i, 0), r->Field1()) << i;
      EXPECT_EQ(t.Value(i, 1), lost ? "??" : r->Field2()) << i;
      EXPECT_EQ(t.Value(i, 2), r->Notes()) << i;
      EXPECT_EQ(t.Value(i, 3), r->CategoryName()) << i;
    }
    EXPECT_EQ(t.doc->Categories().Count(), 3);
    EXPECT_EQ(t.report.Replaced.Count, controlsLost ? 2u : 0u);
    EXPECT_EQ(t.report.Lossless(), !controlsLost);
  }
  TListDBData doc;
};

TEST_F(ImportRoundTrip, DelimitedFormats) {
  for (TExportFormat format : {TExportFormat::CommaSeparated, TExportFormat::TabSeparated}) {
    const TImported t = RoundTrip(format, TImportOptions{}, true);  // everything guessed
    ExpectSame(t);
    EXPECT_EQ(t.doc->CustomField1(), doc.CustomField1());
    EXPECT_EQ(t.doc->CustomField2(), doc.CustomField2());
  }
  TImportOptions text;
  text.Format = TImportFormat::SeparatedText;
  text.FieldSeparator = "|\\t|";
  text.RecordSeparator = "\\r\\n#\\r\\n";
  text.FirstRowTitles = false;
  ExpectSame(RoundTrip(TExportFormat::SeparatedText, text, false));
}

TEST_F(ImportRoundTrip, XmlAndJson) {
  for (TExportFormat format : {TExportFormat::Xml, TExportFormat::Json}) {
    const TImported t = RoundTrip(format, TImportOptions{}, false);
    // XML cannot hold control characters; export writes U+FFFD for them.
    ExpectSame(t, format == TExportFormat::Xml);
    EXPECT_EQ(t.doc->DatabaseName(), doc.DatabaseName());
    EXPECT_EQ(t.doc->CustomField1(), doc.CustomField1());
    EXPECT_EQ(t.doc->CustomField2(), doc.CustomField2());
  }
}

TEST(ImportMarkup, ReferencesSectionsAndRefusals) {
  TImportOptions options;
  TImported t = Import(
      "<?xml version=\"1.0\"?><!-- c --><list><record a='>'><field2>&#x20AC;&#233;&#x4E2D;"
      "<![CDATA[<&>]]>&unknown;</field2><other><field1>no</field1></other></record>"
      "<record/></list>",
      options);
  ASSERT_EQ(t.doc->RecordCount(), 2);
  EXPECT_EQ(t.Value(0, 1), "\x80\xE9?<&>&unknown;");
  EXPECT_EQ(t.Value(0, 0), "");  // only the record's own field elements count
  EXPECT_EQ(t.report.Replaced.FirstRows, std::vector<size_t>{1});
  EXPECT_NE(
      MessageOf<EListDBError>([&] { Import("<html><body/></html>", options); }).find("not a list"),
      std::string::npos);

  t = Import("[{\"field1\": \"\\u00e9\\ud83d\\ude00\\\"\", \"x\": [1, {\"y\": null}]}, {}]",
             options);
  ASSERT_EQ(t.doc->RecordCount(), 2);
  EXPECT_EQ(t.Value(0, 0), "\xE9?\"");
  EXPECT_EQ(MessageOf<EListDBError>([&] { Import("{\"records\": [{\"field1\" 1}]}", options); }),
            "The JSON file cannot be read: a character is missing or out of place");
  EXPECT_NE(MessageOf<EListDBError>([&] { Import("{\"records\": [\"open", options); }), "<none>");
}

}  // namespace
