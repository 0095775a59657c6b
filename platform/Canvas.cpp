#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

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

namespace {
// Fonts kept measured: the body, its bold and the title's, with room to spare.
constexpr size_t kKeptFonts = 4;
}  // namespace

struct TQPainterCanvas::FontData {
  FontData(const QFont& f, QPaintDevice* device)
      : font(f), metrics(device ? QFontMetrics(f, device) : QFontMetrics(f)) {
    ascent = metrics.ascent();
    kerns = font.kerning();
  }

  // The font file in the device's size, made when text is first collected.
  const QRawFont& Raw(QPaintDevice* device) {
    if (!raw) raw = QRawFont::fromFont(device ? QFont(font, device) : font);
    return *raw;
  }

  // The glyph of a Latin-1 character (0: the font has none), and its advance.
  quint32 Glyph(char16_t c) {
    if (!looked[c]) {
      looked[c] = true;
      const QList<quint32> glyphs = raw->glyphIndexesForString(QString(QChar(c)));
      glyph[c] = glyphs.size() == 1 ? glyphs[0] : 0;
      if (glyph[c] != 0)
        advance[c] = raw->advancesForGlyphIndexes(glyphs, QRawFont::SeparateAdvances)[0].x();
    }
    return glyph[c];
  }

  // The advance of Latin-1 character c followed by next (none: -1), kerned
  // as the font kerns the pair; both already looked up with Glyph.
  qreal Advance(char16_t c, int next) {
    if (next < 0 || !kerns) return advance[c];
    if (kerning.empty()) kerning.assign(256 * 256, std::numeric_limits<float>::quiet_NaN());
    float& kern = kerning[static_cast<size_t>(c) * 256 + static_cast<size_t>(next)];
    if (std::isnan(kern)) {
      const QList<QPointF> pair = raw->advancesForGlyphIndexes(
          QList<quint32>{glyph[c], glyph[next]}, QRawFont::KernedAdvances);
      kern = static_cast<float>(pair[0].x() - advance[c]);
    }
    return advance[c] + kern;
  }

  QFont font;
  QFontMetrics metrics;
  int ascent = 0;
  bool kerns = false;
  std::optional<QRawFont> raw;
  std::array<bool, 256> looked{};
  std::array<quint32, 256> glyph{};
  std::array<qreal, 256> advance{};
  // What kerning adds to the first character's advance, for each pair of
  // Latin-1 characters met (NaN: not looked up yet). Kerning goes by pairs,
  // so this is what the font gives for the pair inside any text.
  std::vector<float> kerning;
};

TQPainterCanvas::TQPainterCanvas(QPainter* painter)
    : painter_(painter), device_(painter ? painter->device() : nullptr) {
  if (painter_) font_ = painter_->font();
}

TQPainterCanvas::TQPainterCanvas(QPaintDevice* measureDevice) : device_(measureDevice) {}

TQPainterCanvas::~TQPainterCanvas() = default;

void TQPainterCanvas::SetPainter(QPainter* painter) {
  Flush();
  painter_ = painter;
  if (painter_ && painter_->device() != device_) {
    device_ = painter_->device();
    fonts_.clear();
    current_ = nullptr;
  }
}

void TQPainterCanvas::SetFont(const QFont& font) {
  if (font == font_) return;
  FlushText();
  TCanvas::SetFont(font);
  current_ = nullptr;
}

void TQPainterCanvas::SetCollectText(bool collect) {
  if (!collect) Flush();
  collect_ = collect;
}

void TQPainterCanvas::Flush() {
  FlushLines();
  FlushText();
}

void TQPainterCanvas::FlushLines() {
  if (lines_.isEmpty()) return;
  if (painter_) {
    QPen pen(linesColor_);
    pen.setWidth(linesWidth_);
    painter_->setPen(pen);
    painter_->drawLines(lines_);
  }
  lines_.clear();
  verticals_.clear();
}

void TQPainterCanvas::FlushText() {
  if (runGlyphs_.isEmpty()) return;
  if (painter_ && current_ && current_->raw) {
    QGlyphRun run;
    run.setRawFont(*current_->raw);
    run.setGlyphIndexes(runGlyphs_);
    run.setPositions(runPositions_);
    painter_->setPen(runColor_);
    painter_->drawGlyphRun(QPointF(0, 0), run);
  }
  runGlyphs_.clear();
  runPositions_.clear();
}

TQPainterCanvas::FontData& TQPainterCanvas::Current() {
  if (current_) return *current_;
  auto found = std::find_if(fonts_.begin(), fonts_.end(),
                            [this](const auto& data) { return data->font == font_; });
  if (found == fonts_.end()) {
    if (fonts_.size() >= kKeptFonts) fonts_.pop_back();
    fonts_.insert(fonts_.begin(), std::make_unique<FontData>(font_, device_));
  } else {
    std::rotate(fonts_.begin(), found, found + 1);
  }
  current_ = fonts_.front().get();
  return *current_;
}

bool TQPainterCanvas::Collect(int x, int y, const QString& text) {
  FontData& f = Current();
  const QRawFont& raw = f.Raw(device_);
  if (!raw.isValid()) return false;
  // Latin-1 text (all a Windows-1252 text is but for a few signs) from the
  // font's table; other text as the font maps it.
  const bool latin1 =
      std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 256; });
  QList<quint32> glyphs;
  QList<QPointF> advances;
  if (latin1) {
    for (const QChar c : text)
      if (f.Glyph(c.unicode()) == 0) return false;
  } else {
    glyphs = raw.glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0)) return false;
    advances = raw.advancesForGlyphIndexes(
        glyphs, font_.kerning() ? QRawFont::KernedAdvances : QRawFont::SeparateAdvances);
  }
  if (!runGlyphs_.isEmpty() && runColor_ != fontColor_) FlushText();
  runColor_ = fontColor_;
  // Each glyph starts on a whole device pixel, as a printer places it; the
  // positions are written into a PDF's page as they are, and whole numbers
  // keep its pages smaller.
  const qreal top = y + f.ascent;
  qreal pen = x;
  const qsizetype n = text.size();
  const qsizetype base = runGlyphs_.size();
  runGlyphs_.resize(base + n);
  runPositions_.resize(base + n);
  quint32* glyph = runGlyphs_.data() + base;
  QPointF* position = runPositions_.data() + base;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text.at(i).unicode();
    glyph[i] = latin1 ? f.glyph[c] : glyphs[i];
    position[i] = QPointF(std::floor(pen + 0.5), top);
    pen += latin1 ? f.Advance(c, i + 1 < n ? text.at(i + 1).unicode() : -1) : advances[i].x();
  }
  return true;
}

const QFontMetrics& TQPainterCanvas::Metrics() { return Current().metrics; }

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

void TQPainterCanvas::CollectLine(const QLine& line) {
  if (!lines_.isEmpty() && (linesColor_ != penColor_ || linesWidth_ != penWidth_)) FlushLines();
  linesColor_ = penColor_;
  linesWidth_ = penWidth_;
  // A vertical line down from where the last one at its x ended (the grid
  // of a table, row by row) lengthens that one: the same ink in one line.
  if (line.x1() == line.x2() && line.y1() <= line.y2()) {
    const auto last = verticals_.constFind(line.x1());
    if (last != verticals_.cend() && lines_[*last].y2() == line.y1()) {
      lines_[*last].setP2(line.p2());
      return;
    }
    verticals_.insert(line.x1(), lines_.size());
  }
  lines_.append(line);
}

void TQPainterCanvas::LineTo(int x, int y) {
  if (painter_ && collect_) {
    CollectLine(QLine(penPos_, QPoint(x, y)));
  } else if (painter_) {
    SetPen();
    painter_->drawLine(penPos_, QPoint(x, y));
  }
  penPos_ = QPoint(x, y);
}

void TQPainterCanvas::DrawLines(const QList<QLine>& lines) {
  if (lines.isEmpty()) return;
  if (painter_ && collect_) {
    for (const QLine& line : lines) CollectLine(line);
  } else if (painter_) {
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
