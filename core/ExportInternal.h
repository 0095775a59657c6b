// What the export's format writers share: the buffered output with its
// progress and cancel, and the writer of each format family.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ListExport.h"

namespace export_internal {

// Collects the text in memory and hands it to the stream in large pieces;
// reports progress per record and raises EExportCancelled when asked to stop.
class TExportSink {
 public:
  TExportSink(TStream& out, size_t total, const std::function<bool(size_t, size_t)>& progress);
  std::string& Text() { return buffer_; }
  // The UTF-8 byte order mark, when the options ask for it.
  void ByteOrderMark(const TExportOptions& options);
  void RecordDone();
  // Writes what is left and reports the end.
  void Finish();

 private:
  void Flush();

  TStream& out_;
  size_t total_, done_ = 0;
  const std::function<bool(size_t, size_t)>& progress_;
  std::string buffer_;
};

// Calls f with every line of the text; CR LF, a lone CR and a lone LF each
// end a line, and a break at the very end starts no further line.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  size_t start = 0, i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      f(text.substr(start, i - start));
      i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) f(text.substr(start));
}

using TRecords = std::vector<const TListRecord*>;

// Comma and tab separated values and separated text.
void WriteDelimited(const TListDBData& data, const TRecords& records, const TExportOptions& options,
                    TExportSink& sink);
// Plain text and RTF.
void WritePlainText(const TRecords& records, const TExportOptions& options, TExportSink& sink);
void WriteRichText(const TRecords& records, const TExportOptions& options, TExportSink& sink);
// XML and JSON.
void WriteXml(const TListDBData& data, const TRecords& records, const TExportOptions& options,
              TExportSink& sink);
void WriteJson(const TListDBData& data, const TRecords& records, const TExportOptions& options,
               TExportSink& sink);

}  // namespace export_internal
