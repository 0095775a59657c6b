// The view settings and the recent files in the user's registry: read when the
// window is made, written when it goes.
#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

#include "app/frmMain.h"
#include "components/RecordsListView.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"

namespace {

const QString kBaseKey = QStringLiteral("Software\\QRXSoft\\Vornik\\");

// The names of the keys and values, the same for reading and for writing.
// Under the base key ("Color" is the list's; the default value holds the time
// of the last run):
constexpr char kShowToolBar[] = "ShowToolBar", kShowStatus[] = "ShowStatus",
               kGridlines[] = "Gridlines", kColor[] = "Color", kDataHints[] = "DataHints",
               kLastRun[] = "", kProgramPath[] = "Path";
// The list font ("Color" is its text's), its styles one value each:
constexpr char kFontKey[] = "Font", kFontName[] = "Name", kFontSize[] = "Size",
               kFontCharset[] = "Charset";
struct TFontStyleName {
  const char* name;
  bool (QFont::*get)() const;
  void (QFont::*set)(bool);
};
const TFontStyleName kFontStyles[] = {{"Bold", &QFont::bold, &QFont::setBold},
                                      {"Italic", &QFont::italic, &QFont::setItalic},
                                      {"Underline", &QFont::underline, &QFont::setUnderline},
                                      {"Strikeout", &QFont::strikeOut, &QFont::setStrikeOut}};
// The recent files: their count as the key's default value, then one item each.
constexpr char kRecentKey[] = "MRU", kRecentCount[] = "";
// Per screen size: the window's bounds, the column widths, the tool bars.
constexpr char kWindowGroup[] = "Window", kColumnsGroup[] = "Columns",
               kToolBarsGroup[] = "ToolbarSettings";
constexpr char kTop[] = "Top", kLeft[] = "Left", kWidth[] = "Width", kHeight[] = "Height",
               kBarVisible[] = "Visible";

// Sizes the list font may take; anything else was not stored by the program.
constexpr int kMaxFontPoints = 1638;
constexpr int kMaxColumnWidth = 8192;
// Window and tool bar coordinates beyond any screen.
constexpr int kMaxCoordinate = 32767;
// Recent files read, whatever the stored count says.
constexpr int kMaxLoadedRecentFiles = 14;

QString ScreenKey(const QString& group) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->size() : QSize();
  return kBaseKey + group + QString::asprintf("\\%dx%d", size.width(), size.height());
}

// Opens the key, creating it when missing; failing that, raises the error.
void OpenKey(TRegistry& reg, const QString& key) {
  if (!reg.OpenKey(key, true))
    throw ERegistryError(QStringLiteral("Failed to create key %1").arg(key));
}

QString ItemName(int k) { return QString::asprintf("Item%.2d", k); }
QString ColumnName(int k) { return QString::asprintf("Column%.2d", k); }
QString BarValueName(const QToolBar* bar, const char* what) {
  return QStringLiteral("_%1_%2").arg(bar->objectName(), QLatin1String(what));
}

// Tells the user, once, what became of a settings file that could not be read
// (the store renamed it before anything was written in its place).
void ShowSettingsNotice(QWidget* owner) {
  const QString notice = SettingsStore().TakeNotice();
  if (!notice.isEmpty())
    Prompts().MessageBox(owner, notice, QCoreApplication::applicationName(), TMsgIcon::Warning,
                         mbOK);
}

}  // namespace

QPoint TMainListDBForm::ToolBarAreaOrigin() const {
  const QWidget* menu = menuWidget();
  return QPoint(0, menu && !menu->isHidden() ? menu->geometry().bottom() + 1 : 0);
}

void TMainListDBForm::RememberToolBarPosition(QToolBar* bar) {
  // Only a bar on the screen has been laid out.
  if (bar->isVisible()) barPositions_[bar] = bar->pos() - ToolBarAreaOrigin();
}

QPoint TMainListDBForm::ToolBarPosition(QToolBar* bar) const {
  if (bar->isVisible()) return bar->pos() - ToolBarAreaOrigin();
  const auto it = barPositions_.find(bar);
  if (it != barPositions_.end()) return it->second;
  // Never laid out: where it stands in the first row, after the bars before it.
  int left = 0;
  for (QToolBar* other : ToolBars()) {
    if (other == bar) break;
    if (!other->isHidden()) left += other->sizeHint().width();
  }
  return QPoint(left, 0);
}

void TMainListDBForm::PlaceToolBars() {
  // Rows from top to bottom, each from left to right; bars whose tops lie
  // within half a row of each other share a row.
  struct Place {
    QToolBar* bar;
    QPoint pos;
    int order;
  };
  const QList<QToolBar*> order = ToolBars();
  std::vector<Place> places;
  for (int i = 0; i < order.size(); ++i) places.push_back({order[i], ToolBarPosition(order[i]), i});
  std::stable_sort(places.begin(), places.end(),
                   [](const Place& a, const Place& b) { return a.pos.y() < b.pos.y(); });
  const int halfRow = std::max(1, FileToolBar->sizeHint().height() / 2);
  std::vector<std::vector<Place>> rows;
  for (const Place& p : places) {
    if (rows.empty() || p.pos.y() - rows.back().front().pos.y() >= halfRow) rows.emplace_back();
    rows.back().push_back(p);
  }
  for (auto& row : rows) {
    std::stable_sort(row.begin(), row.end(), [](const Place& a, const Place& b) {
      return a.pos.x() != b.pos.x() ? a.pos.x() < b.pos.x() : a.order < b.order;
    });
  }
  for (QToolBar* bar : order) removeToolBarBreak(bar);
  for (const auto& row : rows) {
    for (const Place& p : row) {
      const bool hidden = p.bar->isHidden();
      addToolBar(Qt::TopToolBarArea, p.bar);
      p.bar->setHidden(hidden);
    }
  }
  for (size_t r = 1; r < rows.size(); ++r) insertToolBarBreak(rows[r].front().bar);
}

void TMainListDBForm::LoadSettings() {
  TRegistry reg;
  bool firstGroup = false;
  try {
    OpenKey(reg, kBaseKey);
    SetToolBarAreaShown(reg.ReadBool(kShowToolBar));
    StatusBar->setVisible(reg.ReadBool(kShowStatus));
    RecordsListView->SetGridLines(reg.ReadBool(kGridlines));
    SetListColor(static_cast<TColorValue>(reg.ReadInteger(kColor)));
    RecordsListView->SetShowRecordHints(reg.ReadBool(kDataHints));

    OpenKey(reg, kBaseKey + kFontKey);
    // Each value takes effect as it is read, so a failure keeps the ones
    // before it.
    QFont font = BgPanel->font();
    TColorValue color = listFontColor_;
    const QString face = reg.ReadString(kFontName);
    if (!face.isEmpty()) font.setFamily(face);
    SetListFont(font, color);
    const int points = reg.ReadInteger(kFontSize);
    if (points >= 1 && points <= kMaxFontPoints) font.setPointSize(points);
    SetListFont(font, color);
    color = static_cast<TColorValue>(reg.ReadInteger(kColor));
    SetListFont(font, color);
    const int charset = reg.ReadInteger(kFontCharset);
    if (charset >= 0 && charset <= 255) listFontCharset_ = charset;
    for (const TFontStyleName& style : kFontStyles) (font.*style.set)(false);
    SetListFont(font, color);
    for (const TFontStyleName& style : kFontStyles) {
      (font.*style.set)(reg.ReadBool(style.name));
      SetListFont(font, color);
    }

    OpenKey(reg, kBaseKey + kRecentKey);
    const int count = reg.ReadInteger(kRecentCount);
    recentFiles_.clear();
    for (int k = 0; k < count && k < kMaxLoadedRecentFiles; ++k)
      recentFiles_.append(reg.ReadString(ItemName(k)));
    firstGroup = true;
  } catch (const ERegistryError&) {
    // A missing or mistyped value ends the group; what was read stays.
  }
  if (firstGroup) {
    try {
      OpenKey(reg, ScreenKey(kWindowGroup));
      // Stored values are held within what any screen can show first, so no
      // arithmetic on a damaged value can overflow; KeepOnScreen then fits them.
      auto coordinate = [](int v) { return std::clamp(v, -kMaxCoordinate, kMaxCoordinate); };
      auto extent = [](int v) { return std::clamp(v, 0, kMaxCoordinate); };
      QPoint topLeft = pos();
      QSize extents = size();
      topLeft.setY(coordinate(reg.ReadInteger(kTop)));
      move(topLeft);
      topLeft.setX(coordinate(reg.ReadInteger(kLeft)));
      move(topLeft);
      extents.setWidth(extent(reg.ReadInteger(kWidth)));
      resize(extents);
      extents.setHeight(extent(reg.ReadInteger(kHeight)));
      resize(extents);
      KeepOnScreen();

      OpenKey(reg, ScreenKey(kColumnsGroup));
      QHeaderView* head = RecordsListView->header();
      for (int k = 0; k < head->count(); ++k)
        head->resizeSection(k, std::clamp(reg.ReadInteger(ColumnName(k)),
                                          TRecordsListView::kMinColumnWidth, kMaxColumnWidth));

      OpenKey(reg, ScreenKey(kToolBarsGroup));
      for (QToolBar* bar : CoolBarControls()) {
        QPoint pos = ToolBarPosition(bar);
        pos.setY(
            std::clamp(reg.ReadInteger(BarValueName(bar, kTop)), -kMaxCoordinate, kMaxCoordinate));
        barPositions_[bar] = pos;
        pos.setX(
            std::clamp(reg.ReadInteger(BarValueName(bar, kLeft)), -kMaxCoordinate, kMaxCoordinate));
        barPositions_[bar] = pos;
        SetToolBarShown(bar, reg.ReadBool(BarValueName(bar, kBarVisible)));
      }
    } catch (const ERegistryError&) {
    }
    PlaceToolBars();
  }
  try {
    reg.CloseKey();
  } catch (const ERegistryError&) {
    // Keys that could not be created come again at the next store.
  }
  ShowSettingsNotice(this);
}

void TMainListDBForm::KeepOnScreen() {
  // Bounds from another desktop (or damaged ones) still give a window that
  // fits the screen with its frame and can be reached.
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Before the window is first shown its frame is not known yet: room for a
  // title bar and borders is kept then.
  QSize frame = frameGeometry().size() - size();
  if (frame.isNull()) {
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    frame = QSize(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
  }
  const QRect avail = screen->availableGeometry();
  const QSize room = avail.size() - frame;
  const QSize size(std::clamp(width(), minimumWidth(), std::max(minimumWidth(), room.width())),
                   std::clamp(height(), minimumHeight(), std::max(minimumHeight(), room.height())));
  resize(size);
  const QSize outer = size + frame;
  move(std::clamp(x(), avail.left(), std::max(avail.left(), avail.right() + 1 - outer.width())),
       std::clamp(y(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - outer.height())));
}

void TMainListDBForm::SaveSettings() {
  TRegistry reg;
  ShowSettingsNotice(this);
  OpenKey(reg, kBaseKey);
  const QLocale locale;
  const QDateTime now = QDateTime::currentDateTime();
  reg.WriteString(kLastRun, locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                                locale.toString(now.time(), QLocale::LongFormat));
  reg.WriteString(kProgramPath, QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
  reg.WriteBool(kShowToolBar, toolBarAreaShown_);
  reg.WriteBool(kShowStatus, !StatusBar->isHidden());
  reg.WriteBool(kGridlines, RecordsListView->GridLines());
  reg.WriteInteger(kColor, static_cast<qint32>(listColor_));
  reg.WriteBool(kDataHints, RecordsListView->ShowRecordHints());
  reg.CloseKey();

  OpenKey(reg, kBaseKey + kFontKey);
  const QFont font = BgPanel->font();
  reg.WriteString(kFontName, font.family());
  reg.WriteInteger(kFontSize, FontPoints(font));
  reg.WriteInteger(kColor, static_cast<qint32>(listFontColor_));
  reg.WriteInteger(kFontCharset, listFontCharset_);
  for (const TFontStyleName& style : kFontStyles) reg.WriteBool(style.name, (font.*style.get)());
  reg.CloseKey();

  reg.DeleteKey(kBaseKey + kRecentKey);
  OpenKey(reg, kBaseKey + kRecentKey);
  reg.WriteInteger(kRecentCount, static_cast<qint32>(recentFiles_.size()));
  for (int k = 0; k < recentFiles_.size(); ++k) reg.WriteString(ItemName(k), recentFiles_[k]);
  reg.CloseKey();

  OpenKey(reg, ScreenKey(kWindowGroup));
  reg.WriteInteger(kTop, y());
  reg.WriteInteger(kLeft, x());
  reg.WriteInteger(kWidth, width());
  reg.WriteInteger(kHeight, height());
  reg.CloseKey();

  OpenKey(reg, ScreenKey(kColumnsGroup));
  const QHeaderView* head = RecordsListView->header();
  for (int k = 0; k < head->count(); ++k) reg.WriteInteger(ColumnName(k), head->sectionSize(k));
  reg.CloseKey();

  OpenKey(reg, ScreenKey(kToolBarsGroup));
  for (QToolBar* bar : CoolBarControls()) {
    const QPoint pos = ToolBarPosition(bar);
    reg.WriteInteger(BarValueName(bar, kTop), pos.y());
    reg.WriteInteger(BarValueName(bar, kLeft), pos.x());
    reg.WriteBool(BarValueName(bar, kBarVisible), ToolBarShown(bar));
  }
  reg.CloseKey();
}

int TMainListDBForm::FontPoints(const QFont& font) {
  if (font.pointSize() > 0) return font.pointSize();
  // A font sized in pixels: its size in points at the screen's resolution.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
  return std::max(1, qRound(font.pixelSize() * 72.0 / dpi));
}
