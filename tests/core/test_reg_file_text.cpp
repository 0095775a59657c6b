// Registry export files: encodings, round trips of awkward strings, damaged
// and hostile files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RegFileText.h"

using regfile::TEncoding;
using regfile::TKey;
using regfile::TProblem;
using regfile::TValue;

namespace {

std::vector<TKey> Read(const std::string& bytes, TProblem expected = TProblem::None,
                       TEncoding* encoding = nullptr) {
  std::vector<TKey> keys;
  const regfile::TReadResult result = regfile::Parse(bytes, keys);
  EXPECT_EQ(result.problem, expected);
  if (encoding) *encoding = result.encoding;
  return keys;
}

std::u16string StringOf(const std::vector<TKey>& keys, std::u16string_view name) {
  for (const TKey& key : keys)
    for (const auto& [n, v] : key.values)
      if (n == name) return v.text;
  ADD_FAILURE() << "no value";
  return {};
}

std::string Utf16LE(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

}  // namespace

TEST(RegFileText, EveryStringRoundTripsInTheEncodingThatHoldsIt) {
  const std::vector<std::u16string> ansiTexts = {
      u"",
      u"plain",
      u"Mein Caf\u00E9.pdb \u20AC\u0081",
      u"\\\\server\\share\\",             // backslashes first, inside and last
      u"\\\"quoted\\\" \\n not a break",  // backslash before quote and letters
      u"line\r\nbreak\ttab",
      u"ends in NUL" + std::u16string(1, u'\0'),
      std::u16string(2, u'\0'),
      u"\u00C3\u00A9 looks like UTF-8",
  };
  const std::vector<std::u16string> wideTexts = {
      u"\u041C\u043E\u0439 \u0444\u0430\u0439\u043B",  // Cyrillic
      u"\uFEFFleading byte order mark",
      u"\uFEFF\r\nand a break",
      u"pair \U0001F600 and lone \xD800 surrogate",
      u"\u0100 wide with NUL" + std::u16string(1, u'\0'),
  };
  for (bool wide : {false, true}) {
    std::vector<TKey> keys = {{u"", {{u"", TValue::String(u"root")}}},
                              {u"Software\\Maker", {{u"N", TValue::Integer(-2)}}}};
    const auto& texts = wide ? wideTexts : ansiTexts;
    for (size_t i = 0; i < texts.size(); ++i)
      keys.back().values.emplace_back(u"v" + std::u16string(1, u'a' + i), TValue::String(texts[i]));
    keys.push_back({u"Software\\Maker\\Empty \\\"key\\\"", {}});
    const std::string bytes = regfile::Format(keys);
    TEncoding encoding;
    std::vector<TKey> back = Read(bytes, TProblem::None, &encoding);
    EXPECT_EQ(back, keys) << (wide ? "wide" : "ansi");
    EXPECT_EQ(encoding, wide ? TEncoding::Utf16LE : TEncoding::Ansi);
    EXPECT_TRUE(wide ? bytes.starts_with(std::string_view("\xFF\xFEW\0i\0n\0", 8))
                     : bytes.starts_with("REGEDIT4\r\n"));
    if (!wide) {
      EXPECT_NE(bytes.find("Caf\xE9.pdb \x80\x81"), std::string::npos);
    }
    EXPECT_EQ(regfile::Format(back), bytes);
  }
}

TEST(RegFileText, AnsiTextThatWouldReadAsUtf8IsWrittenAsUtf16) {
  const std::vector<TKey> keys = {{u"A", {{u"V", TValue::String(u"\u00C3\u00A9 reads as UTF-8")}}}};
  const std::string bytes = regfile::Format(keys);
  EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
  EXPECT_EQ(Read(bytes), keys);
}

TEST(RegFileText, ReadsAnsiUtf16EitherOrderAndTheOldUtf8Files) {
  TEncoding encoding;
  const std::string ansi =
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"F\"=\"Mein Caf\xE9.pdb\"\r\n"
      "\"H\"=hex(1):43,61,66,e9,00\r\n";
  auto keys = Read(ansi, TProblem::None, &encoding);
  EXPECT_EQ(encoding, TEncoding::Ansi);
  EXPECT_EQ(StringOf(keys, u"F"), u"Mein Caf\u00E9.pdb");
  EXPECT_EQ(StringOf(keys, u"H"), u"Caf\u00E9");

  const std::u16string wide =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n"
      u"\"F\"=\"\u041C\u00E9\"\r\n\"H\"=hex(1):1c,04,00,00\r\n";
  EXPECT_EQ(StringOf(Read(Utf16LE(wide)), u"F"), u"\u041C\u00E9");
  std::string be = "\xFE\xFF";
  for (char16_t c : wide) be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  keys = Read(be, TProblem::None, &encoding);
  EXPECT_EQ(encoding, TEncoding::Utf16BE);
  EXPECT_EQ(StringOf(keys, u"F"), u"\u041C\u00E9");
  EXPECT_EQ(StringOf(keys, u"H"), u"\u041C");  // registry data stays little-endian

  // As this program wrote them before: REGEDIT4 in UTF-8, with or without a
  // byte order mark, hex(1) bytes in UTF-8 too.
  const std::string utf8 =
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"F\"=\"Caf\xC3\xA9\"\n\"H\"=hex(1):e2,82,ac,0a,00\n";
  for (const std::string& old : {utf8, "\xEF\xBB\xBF" + utf8}) {
    keys = Read(old, TProblem::None, &encoding);
    EXPECT_EQ(encoding, TEncoding::Utf8);
    EXPECT_EQ(StringOf(keys, u"F"), u"Caf\u00E9");
    EXPECT_EQ(StringOf(keys, u"H"), u"\u20AC\n");
  }
  // Lines end in CR LF, LF or CR alike; a lone backslash stands for itself,
  // \r and \n are line breaks as registry editors export them.
  keys = Read(
      "REGEDIT4\r[HKEY_CURRENT_USER\\A]\r\"P\"=\"\\\\server\\share\\x\"\n\"B\"=\"a\\r\\nb\"\n");
  EXPECT_EQ(StringOf(keys, u"P"), u"\\server\\share\\x");
  EXPECT_EQ(StringOf(keys, u"B"), u"a\r\nb");
}

TEST(RegFileText, FilesThatAreNotRegistryTextAreRefusedWhole) {
  EXPECT_TRUE(Read("").empty());
  EXPECT_TRUE(Read(" \r\n\t\n").empty());
  for (const std::string& bytes :
       {std::string("[HKEY_CURRENT_USER\\A]\n\"x\"=dword:1\n"), std::string("REGEDIT5\n"),
        std::string("\x7F"
                    "ELF\x02\x01\x01\0\0\0",
                    10)})
    EXPECT_TRUE(Read(bytes, TProblem::UnknownHeader).empty());
  // A UTF-16 file of an odd length, UTF-8 announced but broken.
  EXPECT_TRUE(
      Read(Utf16LE(u"REGEDIT4\r\n[HKEY_CURRENT_USER\\A]") + "x", TProblem::Undecodable).empty());
  EXPECT_TRUE(
      Read("\xEF\xBB\xBFREGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"F\"=\"\xC3\"\n", TProblem::Undecodable)
          .empty());
}

TEST(RegFileText, WhatExceedsALimitIsSkippedWholeAndTheRestRead) {
  const std::string tail = "[HKEY_CURRENT_USER\\Ok]\n\"Kept\"=dword:00000001\n";
  // A key exactly at the depth and name limits is read.
  std::string limit = "REGEDIT4\n[HKEY_CURRENT_USER";
  for (size_t i = 0; i < regfile::kMaxKeyDepth; ++i) limit += "\\" + std::string(255, 'n');
  auto keys = Read(limit + "]\n");
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].path.size(), regfile::kMaxKeyDepth * 256 - 1);

  // Too long a name, a string and hex data: each skipped, nothing cut short.
  const std::string longName(regfile::kMaxValueNameLength + 1, 'n');
  const std::string longText(regfile::kMaxValueLength + 1, 't');
  std::string hex = "\"Bin\"=hex:00";
  for (size_t i = 0; i < regfile::kMaxValueLength; ++i) hex += i % 1000 ? ",01" : ",01\\\n  ";
  for (const std::string& line :
       {"\"" + longName + "\"=dword:1", "\"Text\"=\"" + longText + "\"", hex}) {
    keys = Read("REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"Before\"=dword:2\n" + line + "\n" + tail,
                TProblem::OverLimit);
    ASSERT_EQ(keys.size(), 2u);
    ASSERT_EQ(keys[0].values.size(), 1u);
    EXPECT_EQ(keys[0].values[0].first, u"Before");
    EXPECT_EQ(keys[1].values.size(), 1u);
  }
}

TEST(RegFileText, LongContinuationsAndBlankLinesReadInLinearTime) {
  // With the joined line scanned again for each continuation, 40,000 lines
  // after a long name took seconds.
  std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"" + std::string(16000, 'n') + "\"=hex:00";
  for (int i = 0; i < 40000; ++i) text += ",\\\n  01";
  text += "\n" + std::string(8 << 20, '\n') + "\"After\"=\"x\"\n";
  const auto keys = Read(text);
  ASSERT_EQ(keys.size(), 1u);
  ASSERT_EQ(keys[0].values.size(), 2u);
  EXPECT_EQ(keys[0].values[0].second.text.size(), 40001u * 3 - 1 + 4);  // hex:00,01,...
  EXPECT_EQ(StringOf(keys, u"After"), u"x");
}
