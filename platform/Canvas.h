// A small drawing surface: the renderer of markup text and the list printer
// draw through it, so the same code paints a widget, prints a page or records
// its calls for a test.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLine>
#include <QList>
#include <QPoint>
#include <QRawFont>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

enum class TBrushStyle { Solid, Clear };

// Font style bits, combinable.
enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The state (font, font colour, brush, pen, pen position) lives in the base;
// the drawing and measuring operations are the implementation's.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  // Fills the rectangle with the current brush (nothing with a clear brush).
  virtual void FillRect(const QRect& rect) = 0;
  // Draws text with its top-left corner at (x, y); with a solid brush the
  // text's cell (TextWidth x TextHeight) is filled with the brush first.
  virtual void TextOut(int x, int y, const QString& text) = 0;
  virtual int TextWidth(const QString& text) = 0;
  virtual int TextHeight(const QString& text) = 0;
  // A line from the pen position to (x, y) with the pen; the pen moves there.
  virtual void LineTo(int x, int y) = 0;
  // Draws the image scaled to fill the rectangle.
  virtual void StretchDraw(const QRect& rect, const QImage& image) = 0;

  void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
  QPoint PenPos() const { return penPos_; }
  void DrawLine(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
  }
  // Each line as DrawLine draws it, in order; an implementation may draw
  // them in one go.
  virtual void DrawLines(const QList<QLine>& lines) {
    for (const QLine& line : lines) DrawLine(line.x1(), line.y1(), line.x2(), line.y2());
  }

  const QFont& Font() const { return font_; }
  virtual void SetFont(const QFont& font) { font_ = font; }
  int FontStyle() const;  // TFontStyle bits
  void SetFontStyle(int styles);
  QColor FontColor() const { return fontColor_; }
  void SetFontColor(const QColor& color) { fontColor_ = color; }

  QColor BrushColor() const { return brushColor_; }
  void SetBrushColor(const QColor& color) { brushColor_ = color; }
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle style) { brushStyle_ = style; }

  QColor PenColor() const { return penColor_; }
  void SetPenColor(const QColor& color) { penColor_ = color; }
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int width) { penWidth_ = width; }

 protected:
  QFont font_;
  QColor fontColor_ = Qt::black;
  QColor brushColor_ = Qt::white;
  TBrushStyle brushStyle_ = TBrushStyle::Solid;
  QColor penColor_ = Qt::black;
  int penWidth_ = 1;
  QPoint penPos_;
};

// Draws with a QPainter (not owned). Text is measured with the font metrics
// of the painter's device, so a printer page measures in printer pixels.
// Without a painter the canvas only measures (on the given device, or the
// screen) and draws nothing.
class TQPainterCanvas : public TCanvas {
 public:
  explicit TQPainterCanvas(QPainter* painter);
  explicit TQPainterCanvas(QPaintDevice* measureDevice = nullptr);
  ~TQPainterCanvas() override;

  // Draws from now on with the painter (nullptr: measures only); the state
  // (font, colours, pen) stays as it is. Text still collected is drawn first.
  void SetPainter(QPainter* painter);

  // Collecting: text with a clear brush is gathered as glyphs (one for each
  // character, no ligatures; a text with a character the font lacks is
  // drawn at once instead), and lines as lines of their pen (a vertical line
  // that goes on where another ended lengthens it). What is gathered is
  // drawn in one piece when Flush is called, text also before a change of
  // font or font colour, lines before a change of pen, and both before a
  // fill or another painter: a printer page draws its text in one run and
  // its grid in a few lines instead of one for each output (images may then
  // lie under text and lines drawn before them). Off by default; switching
  // it off flushes.
  void SetCollectText(bool collect);
  void Flush();

  void SetFont(const QFont& font) override;
  void FillRect(const QRect& rect) override;
  void TextOut(int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void LineTo(int x, int y) override;
  void DrawLines(const QList<QLine>& lines) override;
  void StretchDraw(const QRect& rect, const QImage& image) override;

 private:
  // What drawing and measuring need of one font on the device, kept for the
  // few fonts a page switches between (body, bold headings, title), so that
  // a switch back costs no new metrics or font files.
  struct FontData;
  FontData& Current();
  const QFontMetrics& Metrics();
  void SetPen();
  void CollectLine(const QLine& line);
  void FlushLines();
  void FlushText();

  // Whether the text's glyphs were added to the collected run; false when
  // the font lacks one of them (another font has to stand in).
  bool Collect(int x, int y, const QString& text);

  QPainter* painter_ = nullptr;
  QPaintDevice* device_ = nullptr;
  bool collect_ = false;
  QColor runColor_;
  QList<quint32> runGlyphs_;
  QList<QPointF> runPositions_;
  QList<QLine> lines_;
  QColor linesColor_;
  int linesWidth_ = 1;
  QHash<int, qsizetype> verticals_;               // the last vertical line at each x
  std::vector<std::unique_ptr<FontData>> fonts_;  // the most recent first
  FontData* current_ = nullptr;                   // font_'s, once needed
};

// Records every call with its coordinates and the state at that moment.
// Measuring is deterministic and independent of installed fonts: every
// character is 7 pixels wide, 8 while bold; text is 13 pixels high.
class TRecordingCanvas : public TCanvas {
 public:
  static constexpr int kCharWidth = 7;
  static constexpr int kBoldCharWidth = 8;
  static constexpr int kTextHeight = 13;

  struct Op {
    enum Kind { Fill, Text, Line, Image } kind;
    QRect rect;       // Fill, Image: the rectangle; Text: the text's cell
    QPoint from, to;  // Text: from is (x, y); Line: the end points
    QString text;
    int fontStyle = 0;
    QColor fontColor;
    QFont font;
    QColor brushColor;
    TBrushStyle brushStyle = TBrushStyle::Solid;
    QColor penColor;
    int penWidth = 1;
    QImage image;  // Image: the image drawn
  };

  void FillRect(const QRect& rect) override;
  void TextOut(int x, int y, const QString& text) override;
  int TextWidth(const QString& text) override;
  int TextHeight(const QString& text) override;
  void LineTo(int x, int y) override;
  void StretchDraw(const QRect& rect, const QImage& image) override;

  const std::vector<Op>& Ops() const { return ops_; }
  // Only the text outputs, in order.
  std::vector<Op> TextOps() const;
  void Clear() { ops_.clear(); }

 private:
  Op Snapshot(Op::Kind kind) const;
  std::vector<Op> ops_;
};
