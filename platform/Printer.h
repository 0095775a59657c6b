// A printer as the program prints on it: a canvas measured and drawn in the
// printer's pixels, the page size, and the print job (begin, new page, end or
// abort). One implementation drives a QPrinter (a real printer or a PDF file),
// another records pages and drawing for tests.
#pragma once

#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/Canvas.h"

class QPainter;
class QPrinter;

// A failure of the printer or of its print job; the message is Windows-1252
// text, as every message the error box shows.
class EPrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPrinter {
 public:
  virtual ~TPrinter() = default;

  // Measures in the printer's pixels at any time; draws only during a job.
  virtual TCanvas& Canvas() = 0;
  // The printable area of a page, in printer pixels.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;
  // The page being printed, counted from 1; 0 outside a job.
  virtual int PageNumber() const = 0;
  virtual bool Printing() const = 0;

  // Starts a job on its first page. Raises EPrinterError when it cannot.
  virtual void BeginDoc(const QString& title) = 0;
  virtual void NewPage() = 0;
  // Finishes the job and hands it to the printer (or writes the file).
  virtual void EndDoc() = 0;
  // Drops the job: nothing of it is printed, no file is left behind.
  virtual void Abort() = 0;
};

// Prints on a QPrinter (not owned).
class TQtPrinter : public TPrinter {
 public:
  explicit TQtPrinter(QPrinter& printer);
  ~TQtPrinter() override;

  TCanvas& Canvas() override { return canvas_; }
  int PageWidth() const override;
  int PageHeight() const override;
  int PageNumber() const override { return pageNumber_; }
  bool Printing() const override { return painter_ != nullptr; }

  void BeginDoc(const QString& title) override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;

 private:
  QPrinter& printer_;
  TQPainterCanvas canvas_;
  std::unique_ptr<QPainter> painter_;
  int pageNumber_ = 0;
};

// The application's current printer (see ApplicationPrinter) as a TPrinter.
TPrinter& ApplicationPrinterTarget();

// Records a job on a TRecordingCanvas: each page's drawing calls, and how
// the job ended.
class TRecordingPrinter : public TPrinter {
 public:
  TRecordingPrinter(int pageWidth = 1000, int pageHeight = 1400)
      : pageWidth_(pageWidth), pageHeight_(pageHeight) {}

  TRecordingCanvas& Recorder() { return canvas_; }
  TCanvas& Canvas() override { return canvas_; }
  int PageWidth() const override { return pageWidth_; }
  int PageHeight() const override { return pageHeight_; }
  int PageNumber() const override { return Printing() ? static_cast<int>(pageStarts_.size()) : 0; }
  bool Printing() const override { return state_ == State::Printing; }

  void BeginDoc(const QString& title) override;
  void NewPage() override;
  void EndDoc() override;
  void Abort() override;

  enum class State { Idle, Printing, Ended, Aborted };
  State JobState() const { return state_; }
  QString Title() const { return title_; }
  int Pages() const { return static_cast<int>(pageStarts_.size()); }
  // The drawing calls of page n (from 1), and its text outputs.
  std::vector<TRecordingCanvas::Op> PageOps(int page) const;
  std::vector<TRecordingCanvas::Op> PageTexts(int page) const;

 private:
  TRecordingCanvas canvas_;
  int pageWidth_, pageHeight_;
  State state_ = State::Idle;
  QString title_;
  std::vector<size_t> pageStarts_;  // index of each page's first call
};
