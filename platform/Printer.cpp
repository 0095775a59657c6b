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
// A PDF page is compressed as it is finished, through buffers of 16 MB
// allocated and freed once a page. By default the C library maps buffers of
// that size from the system and gives them back when they are freed (or
// gives the freed top of the heap back), and the next page faults them in
// again, which costs more than the drawing on long jobs. During a job they
// come from the heap, which keeps up to 64 MB free; after it the heap is
// given back.
void KeepHeapForLongJobs() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(sizeof(long)) * (4 << 20));
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

void ReleaseHeap() {
#if defined(__GLIBC__)
  malloc_trim(0);
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
  canvas_.SetCollectText(true);
  pageNumber_ = 1;
}

void TQtPrinter::NewPage() {
  if (!painter_) throw EPrinterError("Printer is not printing");
  canvas_.Flush();
  if (!printer_.newPage()) throw EPrinterError("The printer could not start a new page");
  ++pageNumber_;
}

void TQtPrinter::EndDoc() {
  if (!painter_) throw EPrinterError("Printer is not printing");
  canvas_.SetCollectText(false);
  canvas_.SetPainter(nullptr);
  const bool ok = painter_->end();
  painter_.reset();
  pageNumber_ = 0;
  ReleaseHeap();
  if (!ok) throw EPrinterError("The printer could not finish printing");
}

void TQtPrinter::Abort() {
  if (!painter_) return;
  canvas_.SetCollectText(false);
  canvas_.SetPainter(nullptr);
  // A file is written as the pages go: the aborted job leaves none behind.
  const bool toFile =
      printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
  printer_.abort();
  painter_->end();
  painter_.reset();
  pageNumber_ = 0;
  ReleaseHeap();
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
