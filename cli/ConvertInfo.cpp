// info: what a list holds (names, categories with their record counts, the
// header's dates and flags) and what the reader mended to load it.
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Convert.h"
#include "core/Windows1252.h"

const char kInfoHelp[] =
    "Usage: vornik-convert info FILE...\n"
    "\n"
    "Describes each list file: its name and field names, its categories with the\n"
    "number of records in each, the number of records, the dates and flags of the\n"
    "file's header, what the reader had to mend to load the file, and values that\n"
    "are longer than the list's limits. Texts are printed as UTF-8.\n"
    "\n"
    "A file that cannot be read or is not a list gets a message on standard error;\n"
    "the others are still described, and the exit status is 1.\n";

namespace {

// A header date as YYYY-MM-DD HH:MM:SS (the local clock it was stored in).
std::string FormatDate(TDateTime date) {
  using namespace std::chrono;
  const double wholeDays = std::floor(date);
  auto seconds = static_cast<long long>(std::llround((date - wholeDays) * 86400.0));
  sys_days day = sys_days(year{1899} / December / 30) + days(static_cast<long long>(wholeDays));
  if (seconds >= 86400) {
    day += days(1);
    seconds -= 86400;
  }
  const year_month_day ymd(day);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld",
                static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                static_cast<unsigned>(ymd.day()), seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

// The header's flag bits by name.
std::string AttributeNames(uint16_t attributes) {
  static const struct {
    uint16_t bit;
    const char* name;
  } kFlags[] = {{0x0001, "resource"},      {0x0002, "read-only"},
                {0x0004, "info changed"},  {0x0008, "backup"},
                {0x0010, "install newer"}, {0x0020, "reset after install"},
                {0x0040, "no copy"},       {0x0080, "stream"},
                {0x0100, "hidden"},        {0x0200, "launchable data"},
                {0x0400, "recyclable"},    {0x0800, "bundle"},
                {0x8000, "open"}};
  std::string names;
  uint16_t known = 0;
  for (const auto& flag : kFlags) {
    known |= flag.bit;
    if (!(attributes & flag.bit)) continue;
    names += names.empty() ? "" : ", ";
    names += flag.name;
  }
  if (attributes & ~known) {
    char other[24];
    std::snprintf(other, sizeof other, "%sother 0x%04X", names.empty() ? "" : ", ",
                  static_cast<unsigned>(attributes & ~known));
    names += other;
  }
  return names.empty() ? "none" : names;
}

std::string Quoted(const std::string& bytes) {
  return "\"" + PrintableText(Windows1252ToUtf8(bytes)) + "\"";
}

std::string Count(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

void Describe(const std::string& path, const TListDBData& list, const TListFileFacts& facts) {
  const TListDBCategories& categories = list.Categories();
  std::vector<int> perCategory(static_cast<size_t>(categories.Count()), 0);
  int overlongFields = 0, overlongNotes = 0, unsaveable = 0;
  for (int i = 0; i < list.RecordCount(); ++i) {
    const TListRecord* record = list.GetRecord(i);
    // Ids equal positions once compacted; a record without a category shows
    // as the first entry, "Unfiled".
    const int index = categories.IndexOfID(record->CategoryID());
    ++perCategory[static_cast<size_t>(index < 0 ? 0 : index)];
    const size_t f1 = record->Field1().size(), f2 = record->Field2().size();
    overlongFields += f1 > kMaxFieldValue || f2 > kMaxFieldValue;
    overlongNotes += record->Notes().size() > kMaxNotes;
    unsaveable += f1 + f2 > kMaxFileFieldsTogether;
  }

  std::printf("%s\n", path == "-" ? "(standard input)" : path.c_str());
  std::printf("  Name:          %s\n", Quoted(list.DatabaseName()).c_str());
  std::printf("  Field names:   %s, %s\n", Quoted(list.CustomField1()).c_str(),
              Quoted(list.CustomField2()).c_str());
  std::printf("  Records:       %d\n", list.RecordCount());
  std::printf("  Categories:    %d\n", categories.Count());
  for (int i = 0; i < categories.Count(); ++i)
    std::printf("    %-20s %d\n", Quoted(categories.NameAt(i)).c_str(), perCategory[i]);
  std::printf("  Created:       %s\n", FormatDate(list.CreationDate).c_str());
  std::printf("  Modified:      %s\n", FormatDate(list.ModificationDate).c_str());
  std::printf("  Backed up:     %s\n", FormatDate(facts.BackupDate).c_str());
  std::printf("  Attributes:    0x%04X (%s)\n", facts.Attributes,
              AttributeNames(facts.Attributes).c_str());
  std::printf("  Version:       %u, modification number %u\n", facts.Version,
              facts.ModificationNumber);

  std::vector<std::string> mended;
  if (facts.AppInfoOffset != facts.AppInfoFoundAt)
    mended.push_back("the header's category block offset " + std::to_string(facts.AppInfoOffset) +
                     " ignored: the block is at " + std::to_string(facts.AppInfoFoundAt));
  if (facts.RenumberedCategories)
    mended.push_back(Count(facts.RenumberedCategories, "category", "categories") +
                     " given a new id (another category had the same)");
  if (facts.ClosedUpSlots)
    mended.push_back(Count(facts.ClosedUpSlots, "empty category slot", "empty category slots") +
                     " closed up");
  if (facts.RecordsInEmptySlots)
    mended.push_back(Count(facts.RecordsInEmptySlots, "record", "records") +
                     " filed under an empty category slot, now unfiled");
  if (facts.TrimmedRecords)
    mended.push_back(Count(facts.TrimmedRecords, "record", "records") +
                     " with leading or trailing blanks, removed");
  if (mended.empty()) {
    std::printf("  Mended:        nothing\n");
  } else {
    std::printf("  Mended:\n");
    for (const std::string& line : mended) std::printf("    %s\n", line.c_str());
  }
  if (overlongFields)
    std::printf("  Over limits:   %s with a field longer than %d characters\n",
                Count(overlongFields, "record", "records").c_str(), kMaxFieldValue);
  if (overlongNotes)
    std::printf("  Over limits:   %s with a note longer than %d characters\n",
                Count(overlongNotes, "record", "records").c_str(), kMaxNotes);
  if (unsaveable)
    std::printf(
        "  Over limits:   %s whose two fields together are longer than %d characters "
        "(the list cannot be saved as it is)\n",
        Count(unsaveable, "record", "records").c_str(), kMaxFileFieldsTogether);
}

}  // namespace

int RunInfo(const std::vector<std::string>& args) {
  const TCommandLine line(args, {});
  if (line.Arguments().empty()) throw EUsageError("no list file named");
  int status = kExitOk;
  bool first = true;
  for (const std::string& path : line.Arguments()) {
    errno = 0;
    try {
      TListFileFacts facts;
      const auto list = ReadListFile(path, &facts);
      if (!first) std::printf("\n");
      first = false;
      Describe(path, *list, facts);
      std::fflush(stdout);
    } catch (const std::exception& error) {
      ReportFileError(path, FailureCause(error, errno));
      status = kExitFailed;
    }
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    ReportFileError("(standard output)", std::string("cannot write: ") + std::strerror(errno));
    return kExitFailed;
  }
  return status;
}
