#include "platform/RegFileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString kHive = QStringLiteral("HKEY_CURRENT_USER");

QString Fold(const QString& name) { return name.toCaseFolded(); }

}  // namespace

// ---------------------------------------------------------------------------
// The tree of keys

struct TMemorySettingsStore::TNode {
  QString name;
  // By folded name: the name as written and the value.
  std::map<QString, std::pair<QString, TRegValue>> values;
  std::map<QString, std::unique_ptr<TNode>> children;
};

TMemorySettingsStore::TMemorySettingsStore() : root_(std::make_unique<TNode>()) {}

TMemorySettingsStore::~TMemorySettingsStore() = default;

TMemorySettingsStore::TNode* TMemorySettingsStore::Find(const QString& key) const {
  TNode* node = root_.get();
  for (const QString& part : RegKeyParts(key)) {
    const auto it = node->children.find(Fold(part));
    if (it == node->children.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

bool TMemorySettingsStore::CreateKey(const QString& key) {
  TNode* node = root_.get();
  for (const QString& part : RegKeyParts(key)) {
    auto& child = node->children[Fold(part)];
    if (!child) {
      child = std::make_unique<TNode>();
      child->name = part;
      dirty_ = true;
    }
    node = child.get();
  }
  return true;
}

bool TMemorySettingsStore::KeyExists(const QString& key) const { return Find(key) != nullptr; }

bool TMemorySettingsStore::DeleteKey(const QString& key) {
  const QStringList parts = RegKeyParts(key);
  if (parts.isEmpty()) return false;  // the hive itself stays
  TNode* parent = Find(QStringList(parts.begin(), parts.end() - 1).join(u'\\'));
  if (!parent || parent->children.erase(Fold(parts.back())) == 0) return false;
  dirty_ = true;
  return true;
}

TRegValue TMemorySettingsStore::ReadValue(const QString& key, const QString& name) const {
  const TNode* node = Find(key);
  if (!node) return {};
  const auto it = node->values.find(Fold(name));
  return it == node->values.end() ? TRegValue() : it->second.second;
}

bool TMemorySettingsStore::WriteValue(const QString& key, const QString& name,
                                      const TRegValue& value) {
  TNode* node = Find(key);
  if (!node) return false;
  auto& slot = node->values[Fold(name)];
  if (slot.first.isEmpty()) slot.first = name;
  slot.second = value;
  dirty_ = true;
  return true;
}

std::vector<TMemorySettingsStore::TKeyEntry> TMemorySettingsStore::Keys() const {
  std::vector<TKeyEntry> keys;
  auto walk = [&keys](auto&& self, const TNode& node, const QString& path) -> void {
    if (!path.isEmpty() || !node.values.empty()) {
      TKeyEntry entry{path, {}};
      // The default value's folded name "" sorts first.
      for (const auto& [folded, named] : node.values)
        entry.values.emplace_back(named.first, named.second);
      keys.push_back(std::move(entry));
    }
    for (const auto& [folded, child] : node.children)
      self(self, *child, path.isEmpty() ? child->name : path + u'\\' + child->name);
  };
  walk(walk, *root_, QString());
  return keys;
}

void TMemorySettingsStore::Clear() {
  root_ = std::make_unique<TNode>();
  dirty_ = false;
}

// ---------------------------------------------------------------------------
// The registry export text

namespace {

QString Quoted(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  out += u'"';
  for (QChar c : text) {
    if (c == u'\\' || c == u'"') out += u'\\';
    out += c;
  }
  out += u'"';
  return out;
}

bool NeedsBytes(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
  return false;
}

QString HexBytes(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size() * 3);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i) out += u',';
    out += QString::asprintf("%02x", static_cast<unsigned char>(bytes[i]));
  }
  return out;
}

QString FormatValue(const TRegValue& value) {
  if (const qint32* i = std::get_if<qint32>(&value))
    return QString::asprintf("dword:%08x", static_cast<quint32>(*i));
  if (const QString* s = std::get_if<QString>(&value)) {
    // A text with line breaks or other control characters cannot stand in
    // quotes on one line: its bytes go as a hex string value.
    if (NeedsBytes(*s)) return "hex(1):" + HexBytes(s->toUtf8() + QByteArray(1, '\0'));
    return Quoted(*s);
  }
  if (const TRegOtherValue* o = std::get_if<TRegOtherValue>(&value)) return o->text;
  return QString();
}

// Reads a quoted text at pos (on the opening quote); pos ends after the
// closing quote. False when the quote is not closed.
bool ReadQuoted(const QString& line, qsizetype& pos, QString& text) {
  text.clear();
  for (++pos; pos < line.size(); ++pos) {
    QChar c = line[pos];
    if (c == u'"') {
      ++pos;
      return true;
    }
    if (c == u'\\' && pos + 1 < line.size()) c = line[++pos];
    text += c;
  }
  return false;
}

bool ParseHexBytes(const QString& text, QByteArray& bytes) {
  bytes.clear();
  const QString list = text.trimmed();
  if (list.isEmpty()) return true;
  for (const QString& item : list.split(u',')) {
    bool ok = false;
    const QString digits = item.trimmed();
    const uint byte = digits.toUInt(&ok, 16);
    if (!ok || digits.size() > 2 || byte > 0xFF) return false;
    bytes += static_cast<char>(byte);
  }
  return true;
}

// The data after '=': false for anything that is not a value.
bool ParseData(const QString& data, TRegValue& value) {
  if (data.startsWith(u'"')) {
    qsizetype pos = 0;
    QString text;
    if (!ReadQuoted(data, pos, text) || !data.mid(pos).trimmed().isEmpty()) return false;
    value = text;
    return true;
  }
  if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
    const QString digits = data.mid(6).trimmed();
    bool ok = false;
    const uint number = digits.toUInt(&ok, 16);
    if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(u'+') ||
        digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
      return false;
    value = static_cast<qint32>(number);
    return true;
  }
  if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
    const qsizetype colon = data.indexOf(u':');
    if (colon < 0) return false;
    const QString type = data.left(colon).toLower();
    QByteArray bytes;
    if (!ParseHexBytes(data.mid(colon + 1), bytes)) return false;
    if (type == QLatin1String("hex(1)")) {
      while (bytes.endsWith('\0')) bytes.chop(1);
      value = QString::fromUtf8(bytes);
      return true;
    }
    if (type != QLatin1String("hex") &&
        !(type.startsWith(QLatin1String("hex(")) && type.endsWith(u')')))
      return false;
    value = TRegOtherValue{type + u':' + HexBytes(bytes)};
    return true;
  }
  return false;
}

}  // namespace

QByteArray FormatRegFile(const TMemorySettingsStore& store) {
  QString text = QStringLiteral("REGEDIT4\r\n");
  for (const auto& key : store.Keys()) {
    text += QStringLiteral("\r\n[") + kHive;
    if (!key.path.isEmpty()) text += u'\\' + key.path;
    text += QStringLiteral("]\r\n");
    for (const auto& [name, value] : key.values) {
      if (std::holds_alternative<std::monostate>(value)) continue;
      text += (name.isEmpty() ? QStringLiteral("@") : Quoted(name)) + u'=' + FormatValue(value) +
              QStringLiteral("\r\n");
    }
  }
  return text.toUtf8();
}

void ParseRegFile(const QByteArray& bytes, TMemorySettingsStore& store) {
  store.Clear();
  QByteArray utf8 = bytes;
  if (utf8.startsWith("\xEF\xBB\xBF")) utf8.remove(0, 3);
  const QString text = QString::fromUtf8(utf8);
  const QStringList lines = text.split(u'\n');

  bool inKey = false;
  QString key;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    QString line = lines[i].trimmed();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    if (line.startsWith(u'[')) {
      // A key line; a damaged one takes the values below it along.
      inKey = false;
      if (!line.endsWith(u']')) continue;
      const QString path = line.mid(1, line.size() - 2);
      if (path.compare(kHive, Qt::CaseInsensitive) == 0) {
        key.clear();
      } else if (path.startsWith(kHive + u'\\', Qt::CaseInsensitive)) {
        key = RegKeyParts(path.mid(kHive.size() + 1)).join(u'\\');
      } else {
        continue;
      }
      inKey = store.CreateKey(key);
      continue;
    }
    if (!inKey) continue;
    // Hex data may go on over lines that end in a backslash.
    while (line.endsWith(u'\\') && i + 1 < lines.size() &&
           line.contains(QLatin1String("=hex"), Qt::CaseInsensitive)) {
      line.chop(1);
      line += lines[++i].trimmed();
    }
    QString name;
    qsizetype pos = 0;
    if (line.startsWith(u'@')) {
      pos = 1;
    } else if (!line.startsWith(u'"') || !ReadQuoted(line, pos, name)) {
      continue;
    }
    if (pos >= line.size() || line[pos] != u'=') continue;
    TRegValue value;
    if (ParseData(line.mid(pos + 1).trimmed(), value)) store.WriteValue(key, name, value);
  }
  store.MarkClean();
}

// ---------------------------------------------------------------------------
// The file

TRegFileStore::TRegFileStore(const QString& path) : path_(path) {}

QString TRegFileStore::DefaultPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.config");
  return folder + QStringLiteral("/QRXSoft/Vornik.reg");
}

void TRegFileStore::Refresh() {
  // A file that is missing or cannot be read gives no keys; a damaged one
  // what can be read of it.
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) {
    Clear();
    return;
  }
  ParseRegFile(file.read(kMaxFileSize), *this);
}

void TRegFileStore::Commit() {
  if (!dirty_) return;
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QDir().mkpath(folder))
    throw ERegistryError(QString("Cannot create the settings folder %1").arg(folder));
  // Written beside the old file and renamed over it: a failure at any point
  // leaves the previous settings whole.
  QSaveFile file(path_);
  const QByteArray text = FormatRegFile(*this);
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
    throw ERegistryError(
        QString("Cannot store the settings in %1: %2").arg(path_, file.errorString()));
  dirty_ = false;
}
