#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>

int TCanvas::FontStyle() const {
  int s = 0;
  if (font_.bold()) s |= fsBold;
  if (font_.italic()) s |= fsItalic;
  if (font_.underline()) s |= fsUnderline;
  if (font_.strikeOut()) s |= fsStrikeOut;
  return s;
}

void TCanvas::SetFontStyle(int styles) {
  QFont f = font_;
  f.setBold(styles & fsBold);
  f.setItalic(styles & fsItalic);
  f.setUnderline(styles & fsUnderline);
  f.setStrikeOut(styles & fsStrikeOut);
  SetFont(f);
}

// --- TQPainterCanvas ---

TQPainterCanvas::TQPainterCanvas(QPainter* painter)
    : painter_(painter), device_(painter ? painter->device() : nullptr) {
  if (painter_) font_ = painter_->font();
}

TQPainterCanvas::TQPainterCanvas(QPaintDevice* measureDevice) : device_(measureDevice) {}

void TQPainterCanvas::SetPainter(QPainter* painter) {
  Flush();
  painter_ = painter;
  if (painter_ && painter_->device() != device_) {
    device_ = painter_->device();
    metrics_.reset();
  }
}

void TQPainterCanvas::SetFont(const QFont& font) {
  if (font == font_) return;
  Flush();
  TCanvas::SetFont(font);
  metrics_.reset();
  rawFont_.reset();
}

void TQPainterCanvas::SetCollectText(bool collect) {
  if (!collect) Flush();
  collect_ = collect;
}

void TQPainterCanvas::Flush() {
  if (runGlyphs_.isEmpty()) return;
  if (painter_ && rawFont_) {
    QGlyphRun run;
    run.setRawFont(*rawFont_);
    run.setGlyphIndexes(runGlyphs_);
    run.setPositions(runPositions_);
    painter_->setPen(runColor_);
    painter_->drawGlyphRun(QPointF(0, 0), run);
  }
  runGlyphs_.clear();
  runPositions_.clear();
}

bool TQPainterCanvas::Collect(int x, int y, const QString& text) {
  if (!rawFont_) {
    rawFont_ = QRawFont::fromFont(device_ ? QFont(font_, device_) : font_);
    if (!rawFont_->isValid()) return false;
  }
  if (!rawFont_->isValid()) return false;
  const QList<quint32> glyphs = rawFont_->glyphIndexesForString(text);
  if (glyphs.size() != text.size() || glyphs.contains(0)) return false;
  if (!runGlyphs_.isEmpty() && runColor_ != fontColor_) Flush();
  runColor_ = fontColor_;
  const QList<QPointF> advances = rawFont_->advancesForGlyphIndexes(
      glyphs, font_.kerning() ? QRawFont::KernedAdvances : QRawFont::SeparateAdvances);
  QPointF pen(x, y + Metrics().ascent());
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    runGlyphs_.append(glyphs[i]);
    runPositions_.append(pen);
    pen += advances[i];
  }
  return true;
}

const QFontMetrics& TQPainterCanvas::Metrics() {
  if (!metrics_) {
    if (device_)
      metrics_.emplace(font_, device_);
    else
      metrics_.emplace(font_);
  }
  return *metrics_;
}

void TQPainterCanvas::FillRect(const QRect& rect) {
  if (!painter_ || brushStyle_ == TBrushStyle::Clear || rect.isEmpty()) return;
  Flush();
  painter_->fillRect(rect, brushColor_);
}

void TQPainterCanvas::TextOut(int x, int y, const QString& text) {
  if (!painter_ || text.isEmpty()) return;
  if (collect_ && brushStyle_ == TBrushStyle::Clear && Collect(x, y, text)) return;
  Flush();
  if (painter_->font() != font_) painter_->setFont(font_);
  const QFontMetrics& fm = Metrics();
  if (brushStyle_ == TBrushStyle::Solid)
    painter_->fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), brushColor_);
  painter_->setPen(fontColor_);
  painter_->drawText(QPoint(x, y + fm.ascent()), text);
}

int TQPainterCanvas::TextWidth(const QString& text) { return Metrics().horizontalAdvance(text); }

int TQPainterCanvas::TextHeight(const QString& /*text*/) { return Metrics().height(); }

void TQPainterCanvas::SetPen() {
  QPen pen(penColor_);
  pen.setWidth(penWidth_);
  painter_->setPen(pen);
}

void TQPainterCanvas::LineTo(int x, int y) {
  if (painter_) {
    SetPen();
    painter_->drawLine(penPos_, QPoint(x, y));
  }
  penPos_ = QPoint(x, y);
}

void TQPainterCanvas::DrawLines(const QList<QLine>& lines) {
  if (lines.isEmpty()) return;
  if (painter_) {
    SetPen();
    painter_->drawLines(lines);
  }
  penPos_ = lines.back().p2();
}

void TQPainterCanvas::StretchDraw(const QRect& rect, const QImage& image) {
  if (painter_ && !image.isNull() && !rect.isEmpty()) painter_->drawImage(rect, image);
}

// --- TRecordingCanvas ---

TRecordingCanvas::Op TRecordingCanvas::Snapshot(Op::Kind kind) const {
  Op op{kind,  {},          {},          {},        {},        FontStyle(), fontColor_,
        font_, brushColor_, brushStyle_, penColor_, penWidth_, {}};
  return op;
}

void TRecordingCanvas::FillRect(const QRect& rect) {
  Op op = Snapshot(Op::Fill);
  op.rect = rect;
  ops_.push_back(op);
}

void TRecordingCanvas::TextOut(int x, int y, const QString& text) {
  Op op = Snapshot(Op::Text);
  op.from = QPoint(x, y);
  op.rect = QRect(x, y, TextWidth(text), TextHeight(text));
  op.text = text;
  ops_.push_back(op);
}

int TRecordingCanvas::TextWidth(const QString& text) {
  return static_cast<int>(text.size()) * (font_.bold() ? kBoldCharWidth : kCharWidth);
}

int TRecordingCanvas::TextHeight(const QString& /*text*/) { return kTextHeight; }

void TRecordingCanvas::LineTo(int x, int y) {
  Op op = Snapshot(Op::Line);
  op.from = penPos_;
  op.to = QPoint(x, y);
  ops_.push_back(op);
  penPos_ = QPoint(x, y);
}

void TRecordingCanvas::StretchDraw(const QRect& rect, const QImage& image) {
  Op op = Snapshot(Op::Image);
  op.rect = rect;
  op.image = image;
  ops_.push_back(op);
}

std::vector<TRecordingCanvas::Op> TRecordingCanvas::TextOps() const {
  std::vector<Op> out;
  for (const Op& op : ops_)
    if (op.kind == Op::Text) out.push_back(op);
  return out;
}
