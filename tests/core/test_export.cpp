#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/ListExport.h"
#include "core/Windows1252.h"
#include "core_test_util.h"

namespace {

namespace fs = std::filesystem;
using TRows = std::vector<std::vector<std::string>>;  // UTF-8

// A list whose values hold everything the formats must escape.
class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.SetNames("Hostile & <List>", "Na,me \"1\"", "Phone\t2");
    doc.Categories().Add("Home & <Garden>");
    doc.Categories().Add("Work");
    Add("a,b \"quoted\"", "tab\there", "line1\r\nline2, \"x\"\r\n<&>]]>{}\\", 1);
    Add("\x80\x81\x9F\xA0\xE9\xFF", "", std::string(4095, 'n'), 2);
    Add("", "=1+2", "", -1);
    Add("lone\rCR", "\x01\x1F", "\"", 2);
  }
  void Add(const std::string& f1, const std::string& f2, const std::string& notes, int category) {
    doc.AddRecord()->Assign(f1, f2, notes, category);
  }
  // The values a reader should find, in UTF-8.
  TRows Expected(const std::vector<TExportField>& fields, bool titles = false) const {
    TRows rows;
    if (titles) {
      rows.emplace_back();
      for (TExportField f : fields) rows.back().push_back(Windows1252ToUtf8(ExportTitle(doc, f)));
    }
    TExportValues values(doc);
    for (int i = 0; i < doc.RecordCount(); ++i) {
      rows.emplace_back();
      for (TExportField f : fields)
        rows.back().push_back(Windows1252ToUtf8(values.Value(*doc.GetRecord(i), f)));
    }
    return rows;
  }
  std::string Export(const TExportOptions& options) const {
    TMemoryStream out;
    ExportRecords(doc, RecordsToExport(doc, std::nullopt), options, out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  }
  static TExportOptions Options(TExportFormat format, std::vector<TExportField> fields = kAll) {
    TExportOptions options;
    options.Format = format;
    options.Fields = std::move(fields);
    return options;
  }

  static inline const std::vector<TExportField> kAll = {
      TExportField::Field1, TExportField::Field2, TExportField::Notes, TExportField::CategoryName};
  TListDBData doc;
};

// Runs a Python script on the file; the script prints every value as its
// UTF-8 bytes in hex ("-" when empty), one row a line. Empty when Python is
// missing.
std::optional<TRows> ReadBack(const std::string& text, const std::string& script) {
#ifdef _WIN32
  (void)text, (void)script;
  return std::nullopt;
#else
  if (std::system("test -x /usr/bin/python3") != 0) return std::nullopt;
  const fs::path dir = fs::temp_directory_path() / ("vornik_export_" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "data", std::ios::binary) << text;
  std::ofstream(dir / "read.py") << "import sys, csv, json, xml.etree.ElementTree as ET\n"
                                 << "p = sys.argv[1]\n"
                                 << "def out(row): print(' '.join(v.encode().hex() or '-' "
                                    "for v in row))\n"
                                 << script;
  const std::string command =
      "/usr/bin/python3 " + (dir / "read.py").string() + " " + (dir / "data").string() + " 2>&1";
  TRows rows;
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  fs::remove_all(dir);
  EXPECT_EQ(status, 0) << output;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::istringstream values(line);
    for (std::string hex; values >> hex;) {
      std::string value;
      for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
        value += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
      rows.back().push_back(value);
    }
  }
  return rows;
#endif
}

bool HasTool(const char* name) {
#ifdef _WIN32
  (void)name;
  return false;
#else
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

TEST(Windows1252, EveryByteRoundTripsThroughUtf8) {
  EXPECT_EQ(Windows1252ToUtf8("\x80\x81\xE9"), "\xE2\x82\xAC\xC2\x81\xC3\xA9");
  for (int b = 1; b < 256; ++b) {
    const std::string utf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
    size_t at = 0;
    EXPECT_EQ(Windows1252Byte(NextUtf8CodePoint(utf8, at)), b);
    EXPECT_EQ(at, utf8.size());
  }
  for (std::string bad : {"\xC0\x80", "\xED\xA0\x80", "\xE2\x82", "\xFF"}) {
    size_t at = 0;
    EXPECT_EQ(NextUtf8CodePoint(bad, at), 0xFFFDu) << bad;
    EXPECT_EQ(at, 1u);
  }
}

// The one-pass writer gives what the sizing writer gives, for texts of every
// length with a byte to escape, a marked byte or a code page byte at every
// place, when it may read on past the text into bytes that need escaping or
// into plain ones.
TEST(Windows1252, OnePassEscapingMatchesTheSizedOne) {
  const TUtf8Escapes escapes(
      {{'&', "&amp;"}, {'<', "&lt;"}, {'\r', "&#13;"}, {'\x01', "\xEF\xBF\xBD"}}, ",\n");
  for (const char* after : {"&<\x80"
                            "bbbbbbbbbbbbbbbbbb",
                            "bbbbbbbbbbbbbbbbbbbb"}) {
    for (char odd : {'&', '<', ',', '\n', '\r', '\x01', '\x80', '\xE9', 'x'}) {
      for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
          std::string bytes = std::string(length, 'a') + after;
          if (at < length) bytes[at] = odd;
          const std::string_view text(bytes.data(), length);
          std::string sized;
          escapes.Append(sized, text);
          std::string room(TUtf8Escapes::Room(length), '\0');
          bool marked = false;
          const char* const end =
              escapes.Put(room.data(), text, marked, bytes.data() + bytes.size());
          ASSERT_EQ(std::string(room.c_str(), end), sized)
              << length << " " << at << " " << int(odd);
          EXPECT_EQ(marked, escapes.Measure(text).Marked);
        }
      }
    }
  }
}

TEST(ExportSeparators, EscapesAreUnescapedOthersKept) {
  EXPECT_EQ(UnescapeSeparator("\\t"), "\t");
  EXPECT_EQ(UnescapeSeparator("\\r\\n;\\\\"), "\r\n;\\");
  EXPECT_EQ(UnescapeSeparator("\\x\\"), "\\x\\");
  EXPECT_EQ(UnescapeSeparator("\\\\t"), "\\t");
}

TEST_F(ExportTest, RecordFilterFollowsTheListsCategories) {
  doc.GetRecord(2)->SetCategoryID(0);
  EXPECT_EQ(RecordsToExport(doc, std::nullopt).size(), 4u);
  const auto work = RecordsToExport(doc, 2);
  ASSERT_EQ(work.size(), 2u);
  EXPECT_EQ(work[0], doc.GetRecord(1));
  EXPECT_EQ(work[1], doc.GetRecord(3));
  // "Unfiled" also takes a record whose category was deleted.
  doc.Categories().Delete(1);
  const auto unfiled = RecordsToExport(doc, 0);
  ASSERT_EQ(unfiled.size(), 2u);
  EXPECT_EQ(unfiled[0], doc.GetRecord(0));
}

TEST_F(ExportTest, CommaAndTabSeparatedReadBackWithEveryCharacter) {
  std::string csv = Export(Options(TExportFormat::CommaSeparated));
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(csv.substr(3, 34), "\"a,b \"\"quoted\"\"\",tab\there,\"line1\r\n");
  EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n");
  auto rows =
      ReadBack(csv, "for r in csv.reader(open(p, newline='', encoding='utf-8-sig')): out(r)\n");
  if (!rows) GTEST_SKIP() << "python3 is missing";
  EXPECT_EQ(*rows, Expected(kAll));

  TExportOptions options = Options(TExportFormat::TabSeparated);
  options.ColumnTitles = true;
  rows = ReadBack(Export(options),
                  "for r in csv.reader(open(p, newline='', encoding='utf-8-sig'), "
                  "dialect='excel-tab'): out(r)\n");
  EXPECT_EQ(*rows, Expected(kAll, true));
}

TEST_F(ExportTest, SeparatedTextUsesTheTypedSeparatorsInTheChosenOrder) {
  doc.ClearRecords();
  Add("a", "b", "n1\r\nn2", 1);
  Add("", "c\\d", "", -1);
  TExportOptions options =
      Options(TExportFormat::SeparatedText,
              {TExportField::CategoryName, TExportField::Field2, TExportField::Field1});
  options.FieldSeparator = "\\t|";
  options.RecordSeparator = "\\r\\n--\\n";
  options.ColumnTitles = true;
  options.ByteOrderMark = false;
  EXPECT_EQ(Export(options),
            "Category\t|Phone\t2\t|Na,me \"1\"\r\n--\n"
            "Home & <Garden>\t|b\t|a\r\n--\nUnfiled\t|c\\d\t|\r\n--\n");
}

TEST_F(ExportTest, PlainTextLaysOutEachRecordAsItsClipboardText) {
  doc.ClearRecords();
  Add("x\xE9", "", "one\r\ntwo", 1);
  Add("y", "z", "", -1);
  TExportOptions options = Options(TExportFormat::PlainText, ClipboardRecordFields());
  EXPECT_EQ(Export(options),
            "\xEF\xBB\xBF\r\nHome & <Garden>\r\nNa,me \"1\":\r\nx\xC3\xA9\r\nPhone\t2:\r\n\r\n"
            "Note:\r\none\r\ntwo\r\n"
            "\r\nUnfiled\r\nNa,me \"1\":\r\ny\r\nPhone\t2:\r\nz\r\nNote:\r\n\r\n");
  options.Fields = {TExportField::Notes, TExportField::Field1};
  options.ByteOrderMark = false;
  EXPECT_EQ(Export(options).substr(0, 31), "\r\nNote:\r\none\r\ntwo\r\nNa,me \"1\":\r\n");
}

TEST_F(ExportTest, RichTextIsOneDocumentAWordProcessorReads) {
  doc.GetRecord(1)->SetField1("\x80\x9F\xA0\xE9\xFF");  // the reader drops undefined bytes
  TExportOptions options = Options(TExportFormat::RichText, ClipboardRecordFields());
  options.RichTextFont.Face = "Odd;Face";
  const std::string rtf = Export(options);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
  EXPECT_NE(rtf.find("Odd\\'3bFace;"), std::string::npos);
  EXPECT_NE(rtf.find("<&>]]>\\{\\}\\\\\\par"), std::string::npos);
  EXPECT_NE(rtf.find("\\'80\\'9f\\'a0\\'e9\\'ff\\par"), std::string::npos);
  EXPECT_EQ(rtf.find('\n', rtf.find("line1")), rtf.find("\\par\r\n", rtf.find("line1")) + 5);
  if (!HasTool("unrtf")) GTEST_SKIP() << "unrtf is missing";
  // The HTML form: the text form of this reader leaves out every byte from 0x80.
  const auto lines = ReadBack(rtf,
                              "import subprocess, re, html\n"
                              "t = subprocess.run(['unrtf', '--html', p], capture_output=True, "
                              "check=True).stdout.decode()\n"
                              "t = t[t.index('<body>'):].replace('\\n', '')\n"
                              "t = html.unescape(re.sub('<[^>]*>', '', t.replace('<br>', '\\n')))\n"
                              "for l in t.split('\\n'): out([l])\n");
  std::string text;
  for (const auto& line : *lines) text += (line.empty() ? "" : line[0]) + "\n";
  EXPECT_NE(text.find("Home & <Garden>\nNa,me \"1\":\na,b \"quoted\"\nPhone"), std::string::npos)
      << text;
  EXPECT_NE(text.find("line1\nline2, \"x\"\n<&>]]>{}\\\n"), std::string::npos);
  EXPECT_NE(text.find("\nWork\nNa,me \"1\":\n\u20AC\u0178\u00A0\u00E9\u00FF\n"), std::string::npos);
  EXPECT_EQ(text.find("\\'"), std::string::npos);
}

TEST_F(ExportTest, XmlIsWellFormedAndKeepsEveryValue) {
  const std::string xml = Export(Options(TExportFormat::Xml));
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n", 0), 0u);
  EXPECT_NE(xml.find("<field1>a,b &quot;quoted&quot;</field1>"), std::string::npos);
  if (HasTool("xmllint")) {
    const auto lint = ReadBack(xml,
                               "import subprocess\n"
                               "subprocess.run(['xmllint', '--noout', p], check=True)\n");
    ASSERT_TRUE(lint && lint->empty());
  }
  const auto rows = ReadBack(xml,
                             "r = ET.parse(p).getroot()\n"
                             "out([r.find('name').text, r.find('fields/field1').text, "
                             "r.find('fields/field2').text])\n"
                             "for rec in r.iter('record'): out([c.text or '' for c in rec])\n");
  if (!rows) GTEST_SKIP() << "python3 is missing";
  TRows expected = Expected(kAll);
  expected[3][1] = "\xEF\xBF\xBD\xEF\xBF\xBD";  // control characters XML cannot hold
  expected.insert(expected.begin(), {"Hostile & <List>", "Na,me \"1\"", "Phone\t2"});
  EXPECT_EQ(*rows, expected);
}

// Values of every length around the sixteen bytes copied at a time, next to
// values that start or end with bytes to escape, and notes at their longest
// once escaped: the output reaches the stream in several pieces, every byte
// in its place.
TEST_F(ExportTest, ShortAndLongValuesKeepEveryByteAcrossPieces) {
  const std::string plain = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ";
  for (size_t n = 0; n <= 40; ++n) {
    const std::string cut = plain.substr(0, n);
    Add(cut, "\"&," + cut + "<", cut + "\xE9" + cut + "\r\n" + cut, n % 2 ? 1 : -1);
  }
  for (int i = 0; i < 50; ++i) Add("\x80", std::string(112, '&'), std::string(4095, '\x80'), 2);
  const std::string csv = Export(Options(TExportFormat::CommaSeparated));
  const std::string xml = Export(Options(TExportFormat::Xml));
  EXPECT_GT(csv.size(), 600000u);
  auto rows =
      ReadBack(csv, "for r in csv.reader(open(p, newline='', encoding='utf-8-sig')): out(r)\n");
  if (!rows) GTEST_SKIP() << "python3 is missing";
  TRows expected = Expected(kAll);
  EXPECT_EQ(*rows, expected);
  rows = ReadBack(xml,
                  "for rec in ET.parse(p).getroot().iter('record'): "
                  "out([c.text or '' for c in rec])\n");
  expected[3][1] = "\xEF\xBF\xBD\xEF\xBF\xBD";  // control characters XML cannot hold
  EXPECT_EQ(*rows, expected);
}

TEST_F(ExportTest, JsonReadsBackWithNamesAndRecords) {
  const std::string json =
      Export(Options(TExportFormat::Json, {TExportField::Notes, TExportField::Field2}));
  EXPECT_EQ(json[0], '{');
  const auto rows =
      ReadBack(json,
               "d = json.load(open(p, encoding='utf-8'))\n"
               "out([d['name'], d['fields']['field1'], d['fields']['field2']])\n"
               "for rec in d['records']: out(list(rec.keys()) + list(rec.values()))\n");
  if (!rows) GTEST_SKIP() << "python3 is missing";
  TRows expected = Expected({TExportField::Notes, TExportField::Field2});
  for (auto& row : expected) row.insert(row.begin(), {"notes", "field2"});
  expected.insert(expected.begin(), {"Hostile & <List>", "Na,me \"1\"", "Phone\t2"});
  EXPECT_EQ(*rows, expected);
}

TEST_F(ExportTest, EmptySelectionWritesTitlesOnlyAndNoFieldsIsRefused) {
  TExportOptions options = Options(TExportFormat::CommaSeparated, {TExportField::Field1});
  options.ColumnTitles = true;
  TMemoryStream out;
  ExportRecords(doc, {}, options, out);
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()),
            "\xEF\xBB\xBF\"Na,me \"\"1\"\"\"\r\n");
  options.Fields.clear();
  EXPECT_EQ(MessageOf<EListDBError>([&] { ExportRecords(doc, {}, options, out); }),
            "Choose at least one field to export");
  options.Format = TExportFormat::Json;
  options.Fields = {TExportField::Field1};
  TMemoryStream json;
  ExportRecords(doc, {}, options, json);
  EXPECT_NE(std::string(json.Bytes().begin(), json.Bytes().end()).find("\"records\": []\n}"),
            std::string::npos);
}

// Records given a batch at a time (some batches empty, as a category's
// records may leave them) give the text of all records at once, in every
// format.
TEST_F(ExportTest, BatchesGiveTheTextOfOneGo) {
  for (int i = 0; i < 20; ++i) Add("r" + std::to_string(i), "\xE9", i % 2 ? "n\r\n" : "", i % 3);
  for (int format = 0; format < kExportFormatCount; ++format) {
    for (const std::optional<int> category : {std::optional<int>(), std::optional<int>(2)}) {
      SCOPED_TRACE(testing::Message() << format << " " << category.value_or(-1));
      TExportOptions options = Options(static_cast<TExportFormat>(format));
      options.ColumnTitles = true;
      const std::vector<const TListRecord*> all = RecordsToExport(doc, category);
      TMemoryStream once;
      ExportRecords(doc, all, options, once);
      TMemoryStream batched;
      TRecordExport run(doc, options, batched, all.size());
      run.Write({});
      for (size_t at = 0, size = 1; at < all.size(); at += size, size = size * 2 + 1) {
        run.Write({all.begin() + static_cast<long>(at),
                   all.begin() + static_cast<long>(std::min(all.size(), at + size))});
        run.Write({});
      }
      run.Finish();
      EXPECT_EQ(batched.Bytes(), once.Bytes());
    }
  }
}

TEST_F(ExportTest, CancelRaisesAndTheSafeReplacementKeepsTheOldFile) {
  for (int i = 0; i < 1000; ++i) Add("v", "w", "", -1);
  const fs::path path = fs::temp_directory_path() / "vornik_export_cancel.csv";
  std::ofstream(path) << "old";
  std::vector<size_t> calls;
  auto progress = [&](size_t done, size_t total) {
    calls.push_back(done);
    EXPECT_EQ(total, 1004u);
    return done < 512;
  };
  EXPECT_THROW(SafeReplaceFile(path.string(),
                               [&](TStream& out) {
                                 ExportRecords(doc, RecordsToExport(doc, std::nullopt),
                                               Options(TExportFormat::Xml), out, progress);
                               }),
               EExportCancelled);
  EXPECT_EQ(calls, (std::vector<size_t>{256, 512}));
  {
    std::ifstream in(path);  // closed before the file is removed, as Windows needs
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
  }
  fs::remove(path);
  for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
    EXPECT_EQ(entry.path().filename().string().find(".vornik_export_cancel"), std::string::npos);
}

}  // namespace
