#include "components/ListViewPrints.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <cmath>

#include "components/QRXHtmlControls.h"
#include "platform/Canvas.h"
#include "platform/Printer.h"
#include "platform/TextLines.h"
#include "platform/TextWrap.h"

namespace {

// Rounds to the nearest integer, halves to the even one.
int RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff > 0.5) return static_cast<int>(floor) + 1;
  if (diff < 0.5) return static_cast<int>(floor);
  const auto f = static_cast<long long>(floor);
  return static_cast<int>(f % 2 == 0 ? f : f + 1);
}

// Without leading and trailing characters of codes 0 to 32.
QString Trimmed(const QString& text) {
  qsizetype from = 0, to = text.size();
  while (from < to && text.at(from).unicode() <= 32) ++from;
  while (to > from && text.at(to - 1).unicode() <= 32) --to;
  return text.mid(from, to - from);
}

// The font as printed: Latin text needs no shaping, and without it the
// font's ligatures are not applied ("fi" stays two letters, so a PDF's text
// reads and searches as typed), which also spares the shaping.
QFont Printed(QFont font) {
  font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
  return font;
}

bool HasLineBreak(const QString& text) { return text.contains(u'\r') || text.contains(u'\n'); }

// The standard 16-colour palette.
const QList<QRgb>& Palette16() {
  static const QList<QRgb> colors = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000,
                                     0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
                                     0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                     0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  return colors;
}

// A heading is cut to no fewer letters than this (and an ellipsis) before
// its column takes more than its share of the width.
constexpr int kHeadingLetters = 4;
const QString kEllipsis = QStringLiteral("\u2026");

// Widths in proportion to the natural ones that add up to available, none
// below its minimum: a column that would fall below keeps its minimum and the
// others share the rest in proportion. When even the minimums do not fit,
// they are scaled alike. The last column takes what rounding leaves, so the
// columns end exactly at available.
std::vector<int> FitColumns(const std::vector<long long>& natural, const std::vector<int>& minimum,
                            int available) {
  const size_t n = natural.size();
  std::vector<double> width(n, 0);
  std::vector<bool> atMinimum(n, false);
  bool fitted = false;
  while (!fitted) {
    double rest = available;
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
      if (atMinimum[i])
        rest -= minimum[i];
      else
        sum += static_cast<double>(natural[i]);
    }
    if (sum <= 0 || rest <= 0) break;
    const double factor = rest / sum;
    fitted = true;
    for (size_t i = 0; i < n; ++i) {
      if (atMinimum[i]) continue;
      width[i] = static_cast<double>(natural[i]) * factor;
      if (width[i] < minimum[i]) {
        atMinimum[i] = true;
        fitted = false;
      }
    }
  }
  if (fitted) {
    for (size_t i = 0; i < n; ++i)
      if (atMinimum[i]) width[i] = minimum[i];
  } else {
    long long sum = 0;
    for (const int m : minimum) sum += m;
    for (size_t i = 0; i < n; ++i)
      width[i] =
          sum > 0 ? static_cast<double>(minimum[i]) * available / static_cast<double>(sum) : 0;
  }
  std::vector<int> widths(n, 0);
  long long total = 0;
  for (size_t i = 0; i < n; ++i) {
    widths[i] = RoundHalfEven(width[i]);
    total += widths[i];
  }
  if (n > 0 && (fitted || total > 0)) widths[n - 1] += static_cast<int>(available - total);
  return widths;
}

}  // namespace

TS_ListViewPrint::TS_ListViewPrint(QAbstractItemView* listView) : listView_(listView) {
  if (!listView) throw ES_ListViewPrintError("ListView can not be a NULL");
  auto* tree = qobject_cast<QTreeView*>(listView);
  auto* table = qobject_cast<QTableView*>(listView);
  if (!tree && !table) throw ES_ListViewPrintError("List view must be in vsReport mode...");
  bodyFont_ = listView->font();
  titleFont_ = listView->font();
  const QSize iconSize = listView->iconSize();
  PrintImages = iconSize.isValid() && iconSize.width() > 0;
  imageWidth_ = PrintImages ? iconSize.width() : 0;
  GridLines = table ? table->showGrid() : listView->property("gridLines").toBool();
  ShowColumnHeaders = tree ? !tree->isHeaderHidden() : !table->horizontalHeader()->isHidden();
  SetPrinter(ApplicationPrinterTarget());
}

TS_ListViewPrint::~TS_ListViewPrint() = default;

void TS_ListViewPrint::SetPrinter(TPrinter& printer) {
  printer_ = &printer;
  topMargin_ = 2 * H();
  bottomMargin_ = 2 * H();
  leftMargin_ = 4 * W();
  rightMargin_ = W();
  pageWidth_ = printer.PageWidth();
  pageHeight_ = printer.PageHeight();
}

TCanvas& TS_ListViewPrint::Canvas() const { return printer_->Canvas(); }
int TS_ListViewPrint::W() const { return Canvas().TextWidth(QStringLiteral("W")); }
int TS_ListViewPrint::H() const { return Canvas().TextHeight(QStringLiteral("jXy")); }

int TS_ListViewPrint::ColumnCount() const {
  const QAbstractItemModel* model = listView_->model();
  return model ? model->columnCount(listView_->rootIndex()) : 0;
}

int TS_ListViewPrint::RowCount() const {
  const QAbstractItemModel* model = listView_->model();
  return model && ColumnCount() > 0 ? model->rowCount(listView_->rootIndex()) : 0;
}

QString TS_ListViewPrint::Caption(int column) const {
  return listView_->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString TS_ListViewPrint::CellText(int row, int column, bool* present) const {
  const QAbstractItemModel* model = listView_->model();
  const QVariant value = model->data(model->index(row, column, listView_->rootIndex()));
  if (present) *present = value.isValid();
  return value.toString();
}

const QImage& TS_ListViewPrint::ItemImage(int row) {
  const QAbstractItemModel* model = listView_->model();
  const QVariant value =
      model->data(model->index(row, 0, listView_->rootIndex()), Qt::DecorationRole);
  QIcon icon;
  if (value.userType() == QMetaType::QIcon)
    icon = value.value<QIcon>();
  else if (value.userType() == QMetaType::QPixmap)
    icon = QIcon(value.value<QPixmap>());
  else if (value.userType() == QMetaType::QImage)
    icon = QIcon(QPixmap::fromImage(value.value<QImage>()));
  const qint64 key = icon.isNull() ? 0 : icon.cacheKey();
  if (key != imageKey_) {
    imageKey_ = key;
    image_ = QImage();
    if (!icon.isNull() && imageWidth_ > 0) {
      // Drawn into a bitmap of the image's own size, reduced to the 16
      // standard colours, with no background: what the icon leaves empty
      // stays transparent, so the rules around it stay whole. The same image
      // for every row of the same icon.
      const QSize size = listView_->iconSize();
      QImage drawn(size, QImage::Format_ARGB32);
      drawn.fill(Qt::transparent);
      QPainter painter(&drawn);
      icon.paint(&painter, QRect(QPoint(0, 0), size));
      painter.end();
      image_ = drawn.convertToFormat(QImage::Format_RGB32)
                   .convertToFormat(QImage::Format_Indexed8, Palette16(),
                                    Qt::ThresholdDither | Qt::AvoidDither);
      const int transparent = image_.colorCount();
      image_.setColorCount(transparent + 1);
      image_.setColor(transparent, qRgba(0, 0, 0, 0));
      for (int y = 0; y < size.height(); ++y) {
        const auto* alpha = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        uchar* index = image_.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
          if (qAlpha(alpha[x]) < 128) index[x] = static_cast<uchar>(transparent);
      }
    }
  }
  return image_;
}

int TS_ListViewPrint::FirstCellOffset() const { return FirstCellOffset(W()); }

int TS_ListViewPrint::FirstCellOffset(int w) const { return PrintImages ? w + w + imageWidth_ : w; }

int TS_ListViewPrint::RightPad(int w) { return w / 4 + 2; }

bool TS_ListViewPrint::ComputeColumnWidths() {
  TCanvas& c = Canvas();
  const int columns = ColumnCount();
  const int rows = RowCount();
  const int w = W();
  const int firstOffset = FirstCellOffset();
  estimator_.Reset(c);
  // Only a text that could be wider than the widest so far is measured, and
  // a text met again (a recurring long note) only once.
  QHash<QString, int> measured;
  auto measure = [&](const QString& text) {
    const auto found = measured.constFind(text);
    if (found != measured.cend()) return *found;
    const int width = c.TextWidth(text);
    if (measured.size() < 10000) measured.insert(text, width);
    return width;
  };
  std::vector<int> widest(static_cast<size_t>(columns), 0);
  for (int i = 0; i < columns; ++i)
    widest[static_cast<size_t>(i)] = c.TextWidth(Caption(i) + QStringLiteral("WW"));
  for (int r = 0; r < rows; ++r) {
    for (int i = 0; i < columns; ++i) {
      int& width = widest[static_cast<size_t>(i)];
      bool present = false;
      const QString text = CellText(r, i, &present);
      if (i == 0) {
        if (estimator_.MayExceed(text, width - firstOffset, w))
          width = std::max(width, firstOffset + measure(text));
      } else if (present && estimator_.MayExceed(text, width - estimator_.W(), w)) {
        // The last line is measured one "W" wider.
        const QString last = text + QStringLiteral("W");
        if (!HasLineBreak(last)) {
          width = std::max(width, measure(last));
        } else {
          for (const QString& line : SplitLines(last))
            if (estimator_.MayExceed(line, width, w)) width = std::max(width, measure(line));
        }
      }
    }
    if (OnProgress && !OnProgress(0, rows)) return false;
  }

  // The least each column needs: its heading's first letters (bold, as the
  // band prints them) and a character of its cells.
  std::vector<int> minimum(static_cast<size_t>(columns), 0);
  const QFont font = c.Font();
  c.SetFont(Printed(listView_->font()));
  c.SetFontStyle(fsBold);
  const int boldW = W();
  for (int i = 0; i < columns; ++i) {
    const QString caption = Caption(i);
    const int heading =
        std::min(c.TextWidth(caption), c.TextWidth(caption.left(kHeadingLetters) + kEllipsis));
    const int cell = (i == 0 ? firstOffset : w) + 2 + w + RightPad(w);
    minimum[static_cast<size_t>(i)] = std::max(boldW + 2 + heading + RightPad(boldW), cell);
  }
  c.SetFont(font);

  std::vector<long long> natural(static_cast<size_t>(columns), 0);
  for (int i = 0; i < columns; ++i)
    natural[static_cast<size_t>(i)] = widest[static_cast<size_t>(i)] + 2LL * w;
  columnWidths_ = FitColumns(natural, minimum, pageWidth_ - rightMargin_ - leftMargin_);
  return true;
}

bool TS_ListViewPrint::Print() {
  if (!ComputeColumnWidths()) return false;
  imageKey_ = -1;
  widths_.clear();
  widthsFont_ = QFont();
  headings_.clear();
  printer_->BeginDoc(Trimmed(Title).isEmpty() ? QStringLiteral("List") : Trimmed(Title));
  bool finished = false;
  try {
    finished = PrintJob();
  } catch (...) {
    printer_->Abort();
    throw;
  }
  if (!finished) {
    printer_->Abort();
    return false;
  }
  printer_->EndDoc();
  return true;
}

bool TS_ListViewPrint::PrintJob() {
  TCanvas& c = Canvas();
  c.SetFont(Printed(bodyFont_));
  c.SetFont(Printed(listView_->font()));
  c.SetFontStyle(0);
  c.SetBrushStyle(TBrushStyle::Clear);
  const int rowReserve = H() + 5;
  y_ = topMargin_;
  headingPending_ = true;
  pagePending_ = false;
  rowsOnPage_ = 0;

  if (!Trimmed(Title).isEmpty()) PrintTitle();

  const int rows = RowCount();
  for (int r = 0; r < rows; ++r) {
    if (headingPending_) {
      EnsurePage();
      PrintHeading();
      headingPending_ = false;
    }
    PrintRow(r);
    if (y_ >= pageHeight_ - topMargin_ - bottomMargin_ - 2 * rowReserve) {
      PrintPageLabel();
      BreakPage();
    }
    if (OnProgress && !OnProgress(r + 1, rows)) return false;
  }

  if (!EndText.isEmpty()) {
    EnsurePage();
    c.SetFontStyle(fsBold);
    y_ += 2 * H();
    c.TextOut(leftMargin_, y_, EndText);
    y_ += c.TextHeight(EndText);
    c.SetFontStyle(0);
  }
  PrintPageLabel();
  return true;
}

// A page break goes to the printer when something is printed after it, so a
// job never ends on a page with nothing on it.
void TS_ListViewPrint::BreakPage() {
  pagePending_ = true;
  headingPending_ = true;
  y_ = topMargin_;
  rowsOnPage_ = 0;
}

void TS_ListViewPrint::EnsurePage() {
  if (!pagePending_) return;
  pagePending_ = false;
  printer_->NewPage();
}

void TS_ListViewPrint::PrintTitle() {
  TCanvas& c = Canvas();
  const int h = H();
  c.SetFont(Printed(titleFont_));
  for (const QString& line : SplitLines(Trimmed(Title))) {
    c.TextOut(leftMargin_ + (pageWidth_ - leftMargin_ - rightMargin_ - c.TextWidth(line)) / 2, y_,
              line);
    y_ += c.TextHeight(line) + h / 4;
  }
  y_ += h;
  c.SetFont(Printed(bodyFont_));
}

QString TS_ListViewPrint::FitHeading(const QString& caption, int space) {
  TCanvas& c = Canvas();
  if (c.TextWidth(caption) <= space) return caption;
  // The longest start that fits with the ellipsis.
  qsizetype low = 0, high = caption.size() - 1;
  while (low < high) {
    const qsizetype mid = (low + high + 1) / 2;
    if (c.TextWidth(caption.left(mid) + kEllipsis) <= space)
      low = mid;
    else
      high = mid - 1;
  }
  return caption.left(low) + kEllipsis;
}

void TS_ListViewPrint::PrintHeading() {
  TCanvas& c = Canvas();
  if (!ShowColumnHeaders) {
    if (GridLines) HorizontalRule(y_, 1);
    return;
  }
  const int bandTop = y_;
  c.SetFontStyle(fsBold);
  try {
    HorizontalRule(y_, 5);
    y_ += 4;
    const int w = W();
    const int columns = ColumnCount();
    if (headings_.empty()) {
      // The same font on every page: the captions are fitted once.
      for (int i = 0; i < columns; ++i)
        headings_.push_back(
            FitHeading(Caption(i), columnWidths_[static_cast<size_t>(i)] - w - 2 - RightPad(w)));
    }
    int x = leftMargin_;
    for (int i = 0; i < columns; ++i) {
      c.TextOut(x + w + 2, y_ + 2, headings_[static_cast<size_t>(i)]);
      x += columnWidths_[static_cast<size_t>(i)];
    }
    y_ += H() + 4;
    y_ += 4;
    HorizontalRule(y_, 5);
    if (GridLines) VerticalLines(bandTop, y_);
  } catch (...) {
    c.SetFontStyle(0);
    throw;
  }
  c.SetFontStyle(0);
}

struct TS_ListViewPrint::Cell {
  int x = 0;  // where the text starts
  QStringList lines;
};

void TS_ListViewPrint::PrintRow(int row) {
  TCanvas& c = Canvas();
  FollowCanvasFont();
  const int w = estimator_.W();
  const int h = H();
  const int lineStep = h + 4;
  const int columns = ColumnCount();
  const int pad = RightPad(w);
  const int firstOffset = FirstCellOffset(w);

  // Lay the cells out first: a row that would run past the bottom margin
  // starts the next page, and one taller than a page continues on the next.
  std::vector<Cell> cells(static_cast<size_t>(columns));
  int rowLines = 1;
  int x = leftMargin_;
  for (int i = 0; i < columns; ++i) {
    const int width = columnWidths_[static_cast<size_t>(i)];
    const QString text = CellText(row, i);
    const int offset = i == 0 ? firstOffset : w;
    Cell& cell = cells[static_cast<size_t>(i)];
    cell.x = x + offset + 2;
    if (!text.isEmpty()) {
      if (CellFits(text, width - offset)) {
        // Fits in one piece; its own line breaks still start new lines.
        cell.lines = HasLineBreak(text) ? SplitLines(text) : QStringList{text};
      } else {
        // Broken at blanks to the characters the column holds; what is
        // still wider than the cell (a long word, wide letters) is broken
        // again where the cell ends.
        const int maxChars = w > 0 ? width / w : width;
        const int room = std::max(width - offset - 2 - pad, 1);
        auto add = [&cell](const QString& part) {
          // The blank a line was broken after shows nothing: not drawn.
          qsizetype size = part.size();
          while (size > 1 && (part.at(size - 1) == u' ' || part.at(size - 1) == u'\t')) --size;
          cell.lines << (size == part.size() ? part : part.left(size));
        };
        for (const QString& line : SplitLines(text)) {
          for (const QString& part : WrapTextLine(line, maxChars)) {
            if (!estimator_.MayExceed(part, room, w) || c.TextWidth(part) <= room) {
              add(part);
            } else {
              for (const QString& piece : BreakToWidth(part, room, c, estimator_)) add(piece);
            }
          }
        }
      }
      rowLines = std::max(rowLines, static_cast<int>(cell.lines.size()));
    }
    x += width;
  }

  const int bottomLimit = pageHeight_ - bottomMargin_;
  const int gridExtra = GridLines ? 2 : 0;
  if (rowsOnPage_ > 0 && y_ + rowLines * lineStep + 2 + gridExtra > bottomLimit) {
    PrintPageLabel();
    BreakPage();
    EnsurePage();
    PrintHeading();
    headingPending_ = false;
  }

  int first = 0;
  while (true) {
    const int rowTop = y_;
    const int room = (bottomLimit - y_ - 2 - gridExtra) / lineStep;
    const int count = std::min(rowLines - first, std::max(room, 1));
    if (first == 0 && PrintImages) {
      const QImage& image = ItemImage(row);
      if (!image.isNull()) {
        const int right = leftMargin_ + firstOffset - h / 3;
        const int left = right - h + 2;
        c.StretchDraw(QRect(left, y_ + 2, right - left, h - 2), image);
      }
    }
    for (const Cell& cell : cells) {
      const int last = std::min(first + count, static_cast<int>(cell.lines.size()));
      for (int j = first; j < last; ++j)
        c.TextOut(cell.x, y_ + (j - first) * lineStep + 2, cell.lines[j]);
    }
    y_ += count * lineStep + 2;
    if (GridLines) {
      HorizontalRule(y_, 1);
      y_ += 2;
      VerticalLines(rowTop, y_);
    }
    ++rowsOnPage_;
    first += count;
    if (first >= rowLines) break;
    PrintPageLabel();
    BreakPage();
    EnsurePage();
    PrintHeading();
    headingPending_ = false;
  }
}

void TS_ListViewPrint::FollowCanvasFont() {
  TCanvas& c = Canvas();
  if (c.Font() == widthsFont_) return;
  widths_.clear();
  widthsFont_ = c.Font();
  estimator_.Reset(c);
}

bool TS_ListViewPrint::CellFits(const QString& text, int space) {
  TCanvas& c = Canvas();
  FollowCanvasFont();
  // Measured only when the estimate is close to the space.
  const int w = estimator_.W();
  const int estimate = estimator_.Estimate(text);
  if (estimate >= 0 && std::abs(estimate + 2 * w - space) > w) return estimate + 2 * w < space;
  // Texts recur down a list (categories, notes): each is measured once.
  const auto found = widths_.constFind(text);
  if (found != widths_.cend()) return *found < space;
  const int width = c.TextWidth(text + QStringLiteral("WW"));
  if (widths_.size() < 100000) widths_.insert(text, width);
  return width < space;
}

void TS_ListViewPrint::PrintPageLabel() {
  if (PageText.isEmpty()) return;
  EnsurePage();
  QString label = PageText;
  if (PrintPageNumbers) label += QStringLiteral(" ") + QString::number(printer_->PageNumber());
  TCanvas& c = Canvas();
  c.TextOut(pageWidth_ - rightMargin_ - c.TextWidth(label), pageHeight_ - c.TextHeight(label),
            label);
}

void TS_ListViewPrint::HorizontalRule(int y, int width) {
  TCanvas& c = Canvas();
  const int previous = c.PenWidth();
  c.SetPenWidth(width);
  c.DrawLine(leftMargin_, y, pageWidth_ - rightMargin_, y);
  c.SetPenWidth(previous);
}

void TS_ListViewPrint::VerticalLines(int top, int bottom) {
  TCanvas& c = Canvas();
  const int previous = c.PenWidth();
  c.SetPenWidth(1);
  QList<QLine> lines;
  int x = leftMargin_;
  lines.append(QLine(x, top, x, bottom));
  for (const int width : columnWidths_) {
    x += width;
    lines.append(QLine(x, top, x, bottom));
  }
  c.DrawLines(lines);
  c.SetPenWidth(previous);
}
