#include "platform/Printer.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

#include "platform/AnsiText.h"
#include "platform/Prompts.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
// A PDF page is compressed as it is finished, with buffers of a few hundred
// kilobytes allocated and freed once a page. By default the C library gives
// the freed top of the heap back to the system each time and faults it in
// again on the next page, which costs more than the drawing on long jobs:
// keep up to 64 MB of free heap instead.
void KeepHeapForLongJobs() {
#if defined(__GLIBC__)
  static const bool done = mallopt(M_TRIM_THRESHOLD, 64 << 20) != 0;
  (void)done;
#endif
}
}  // namespace

// --- TQtPrinter ---

TQtPrinter::TQtPrinter(QPrinter& printer) : printer_(printer), canvas_(&printer) {}

TQtPrinter::~TQtPrinter() {
  if (painter_) Abort();
}

int TQtPrinter::PageWidth() const { return printer_.width(); }

int TQtPrinter::PageHeight() const { return printer_.height(); }

void TQtPrinter::BeginDoc(const QString& title) {
  if (painter_) throw EPrinterError("Printing in progress");
  KeepHeapForLongJobs();
  printer_.setDocName(title);
  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(&printer_)) {
    const QString file = printer_.outputFileName();
    throw EPrinterError(file.isEmpty() || printer_.outputFormat() != QPrinter::PdfFormat
                            ? std::string("The printer could not start printing")
                            : "Cannot create file \"" + QStringToAnsi(file) + "\"");
  }
  painter_ = std::move(painter);
  canvas_.SetPainter(painter_.get());
  pageNumber_ = 1;
}

void TQtPrinter::NewPage() {
  if (!painter_) throw EPrinterError("Printer is not printing");
  if (!printer_.newPage()) throw EPrinterError("The printer could not start a new page");
  ++pageNumber_;
}

void TQtPrinter::EndDoc() {
  if (!painter_) throw EPrinterError("Printer is not printing");
  canvas_.SetPainter(nullptr);
  const bool ok = painter_->end();
  painter_.reset();
  pageNumber_ = 0;
  if (!ok) throw EPrinterError("The printer could not finish printing");
}

void TQtPrinter::Abort() {
  if (!painter_) return;
  canvas_.SetPainter(nullptr);
  // A file is written as the pages go: the aborted job leaves none behind.
  const bool toFile =
      printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
  printer_.abort();
  painter_->end();
  painter_.reset();
  pageNumber_ = 0;
  if (toFile) QFile::remove(printer_.outputFileName());
}

TPrinter& ApplicationPrinterTarget() {
  static TQtPrinter target(ApplicationPrinter());
  return target;
}

// --- TRecordingPrinter ---

void TRecordingPrinter::BeginDoc(const QString& title) {
  if (Printing()) throw EPrinterError("Printing in progress");
  state_ = State::Printing;
  title_ = title;
  canvas_.Clear();
  pageStarts_.assign(1, 0);
}

void TRecordingPrinter::NewPage() {
  if (!Printing()) throw EPrinterError("Printer is not printing");
  pageStarts_.push_back(canvas_.Ops().size());
}

void TRecordingPrinter::EndDoc() {
  if (!Printing()) throw EPrinterError("Printer is not printing");
  state_ = State::Ended;
}

void TRecordingPrinter::Abort() {
  if (Printing()) state_ = State::Aborted;
}

std::vector<TRecordingCanvas::Op> TRecordingPrinter::PageOps(int page) const {
  if (page < 1 || page > Pages()) return {};
  const auto& ops = canvas_.Ops();
  const size_t from = pageStarts_[page - 1];
  const size_t to = page < Pages() ? pageStarts_[page] : ops.size();
  return {ops.begin() + static_cast<std::ptrdiff_t>(from),
          ops.begin() + static_cast<std::ptrdiff_t>(to)};
}

std::vector<TRecordingCanvas::Op> TRecordingPrinter::PageTexts(int page) const {
  std::vector<TRecordingCanvas::Op> out;
  for (const auto& op : PageOps(page))
    if (op.kind == TRecordingCanvas::Op::Text) out.push_back(op);
  return out;
}
