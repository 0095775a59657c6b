// Prints the rows of a report list as a ruled table: a centred title on the
// first page, a band of bold column headings at the top of every page, one
// table row per item with long cells word-wrapped inside their column, grid
// lines, the item's image in the first column, a page label with the page
// number at the bottom right of every page and a bold closing line. Column
// widths follow the content and are scaled to fill the printable width.
// Everything is measured and drawn in the printer's pixels.
//
// The list is any Qt view that shows columns (a QTreeView or QTableView): its
// model's rows under the view's root are the items, column 0 the caption, the
// further columns the sub-items (an invalid value: the item has none), the
// decoration of column 0 the image. At creation the printer takes the view's
// font, its grid lines (QTableView::showGrid, else the view's "gridLines"
// property), whether its header is shown, and whether it has images (an icon
// size set on the view; its width is the image width).
#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/TextWrap.h"

class QAbstractItemView;
class TCanvas;
class TPrinter;

class ES_ListViewPrintError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TS_ListViewPrint {
 public:
  // Refuses a missing view, and one that does not show columns. Prints on
  // the application's printer until SetPrinter names another.
  explicit TS_ListViewPrint(QAbstractItemView* listView);
  virtual ~TS_ListViewPrint();
  TS_ListViewPrint(const TS_ListViewPrint&) = delete;
  TS_ListViewPrint& operator=(const TS_ListViewPrint&) = delete;

  // Takes the printer (not owned) and measures the margins and the page on it.
  void SetPrinter(TPrinter& printer);
  TPrinter& Printer() const { return *printer_; }

  QFont& TitleFont() { return titleFont_; }
  QFont& BodyFont() { return bodyFont_; }

  QString Title;     // may hold several lines; empty: no title
  QString EndText;   // printed once after the last row; empty: none
  QString PageText;  // the page label; empty: none
  bool PrintImages = false;
  bool GridLines = false;
  bool PrintPageNumbers = true;
  bool ShowColumnHeaders = true;

  // Called after each printed row with the rows printed and their number,
  // and after each row whose cells were measured for the column widths (0
  // printed then); returning false stops printing.
  std::function<bool(int printed, int total)> OnProgress;

  // Prints the whole list as one print job. Returns false when OnProgress
  // stopped it: the job is then aborted, nothing of it printed. A failure of
  // the printer aborts the job too and propagates.
  bool Print();

  // The column widths as Print computes them first (kept for reading): each
  // column's natural width (its widest text) scaled so that the columns span
  // the printable width exactly, none narrower than its heading's first
  // letters need. Returns false when OnProgress stopped it.
  bool ComputeColumnWidths();
  const std::vector<int>& ColumnWidths() const { return columnWidths_; }

  int TopMargin() const { return topMargin_; }
  int LeftMargin() const { return leftMargin_; }
  int RightMargin() const { return rightMargin_; }
  int BottomMargin() const { return bottomMargin_; }

 private:
  struct Cell;

  TCanvas& Canvas() const;
  int W() const;  // width of "W" in the canvas's current font
  int H() const;  // height of "jXy" in the canvas's current font
  int ColumnCount() const;
  int RowCount() const;
  QString Caption(int column) const;
  QString CellText(int row, int column, bool* present = nullptr) const;
  const QImage& ItemImage(int row);
  int FirstCellOffset() const;
  int FirstCellOffset(int w) const;
  // The blank kept between a cell's text and the column's right edge.
  static int RightPad(int w);
  // The caption cut with an ellipsis to fit space, in the canvas's font.
  QString FitHeading(const QString& caption, int space);
  // The estimator and the measured widths follow the canvas's font.
  void FollowCanvasFont();
  // Whether the text followed by "WW" is narrower than space, in the
  // canvas's current font.
  bool CellFits(const QString& text, int space);

  bool PrintJob();
  void EnsurePage();
  void BreakPage();
  void PrintTitle();
  void PrintHeading();
  void PrintRow(int row);
  void PrintPageLabel();
  void HorizontalRule(int y, int width);
  void VerticalLines(int top, int bottom);

  TPrinter* printer_ = nullptr;
  QFont bodyFont_;
  QFont titleFont_;
  QAbstractItemView* listView_;
  std::vector<int> columnWidths_;
  int imageWidth_ = 0;
  int pageWidth_ = 0, pageHeight_ = 0;
  int topMargin_ = 0, leftMargin_ = 0, rightMargin_ = 0, bottomMargin_ = 0;

  // Print state.
  int y_ = 0;
  bool headingPending_ = false;  // the next row starts a page: headings first
  bool pagePending_ = false;     // the page is full: the next output starts one
  int rowsOnPage_ = 0;
  TWidthEstimator estimator_;
  QHash<QString, int> widths_;     // measured by CellFits, in widthsFont_
  std::vector<QString> headings_;  // the captions as they fit their columns
  QFont widthsFont_;
  qint64 imageKey_ = -1;  // the icon whose page image is cached
  QImage image_;
};
