#include "platform/RegFileStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

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

TMemorySettingsStore::~TMemorySettingsStore() { Destroy(std::move(root_)); }

void TMemorySettingsStore::Destroy(std::unique_ptr<TNode> tree) {
  // Children are taken out before their parent goes, so no destructor
  // recurses however deep the keys are nested.
  std::vector<std::unique_ptr<TNode>> pending;
  pending.push_back(std::move(tree));
  while (!pending.empty()) {
    std::unique_ptr<TNode> node = std::move(pending.back());
    pending.pop_back();
    if (!node) continue;
    for (auto& [folded, child] : node->children) pending.push_back(std::move(child));
  }
}

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
  Create(key);
  return true;
}

TMemorySettingsStore::TNode* TMemorySettingsStore::Create(const QString& key) {
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
  return node;
}

bool TMemorySettingsStore::KeyExists(const QString& key) const { return Find(key) != nullptr; }

bool TMemorySettingsStore::DeleteKey(const QString& key) {
  const QStringList parts = RegKeyParts(key);
  if (parts.isEmpty()) return false;  // the hive itself stays
  TNode* parent = Find(QStringList(parts.begin(), parts.end() - 1).join(u'\\'));
  if (!parent) return false;
  const auto it = parent->children.find(Fold(parts.back()));
  if (it == parent->children.end()) return false;
  Destroy(std::move(it->second));
  parent->children.erase(it);
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
  // Depth first without recursion; one path grows and shrinks on the way, so
  // the walk costs what the names cost however deep the keys go. A key
  // without values that has sub-keys is left out: its sub-keys make it again
  // when the file is read, so the text stays in proportion to what was read.
  std::vector<TKeyEntry> keys;
  auto add = [&keys](const TNode& node, const QString& path) {
    if (node.values.empty() && (path.isEmpty() || !node.children.empty())) return;
    TKeyEntry entry{path, {}};
    // The default value's folded name "" sorts first.
    for (const auto& [folded, named] : node.values)
      entry.values.emplace_back(named.first, named.second);
    keys.push_back(std::move(entry));
  };
  struct TFrame {
    const TNode* node;
    decltype(TNode::children)::const_iterator next;
    qsizetype pathLength;  // of the path before this node's name was added
  };
  QString path;
  add(*root_, path);
  std::vector<TFrame> pending{{root_.get(), root_->children.begin(), 0}};
  while (!pending.empty()) {
    TFrame& frame = pending.back();
    if (frame.next == frame.node->children.end()) {
      path.truncate(frame.pathLength);
      pending.pop_back();
      continue;
    }
    const TNode* child = (frame.next++)->second.get();
    const qsizetype before = path.size();
    if (!path.isEmpty()) path += u'\\';
    path += child->name;
    add(*child, path);
    pending.push_back({child, child->children.begin(), before});
  }
  return keys;
}

void TMemorySettingsStore::Clear() {
  Destroy(std::exchange(root_, std::make_unique<TNode>()));
  dirty_ = false;
}

// ---------------------------------------------------------------------------
// The registry export text

namespace {

regfile::TValue ToFileValue(const TRegValue& value) {
  if (const qint32* i = std::get_if<qint32>(&value)) return regfile::TValue::Integer(*i);
  if (const QString* s = std::get_if<QString>(&value))
    return regfile::TValue::String(s->toStdU16String());
  regfile::TValue other;
  other.kind = regfile::TValue::TKind::Other;
  other.text = std::get<TRegOtherValue>(value).text.toStdU16String();
  return other;
}

// The code units as they are: QString::fromUtf16 would drop a leading byte
// order mark, which belongs to the text here.
QString FromView(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

TRegValue FromFileValue(const regfile::TValue& value) {
  switch (value.kind) {
    case regfile::TValue::TKind::Integer:
      return value.integer;
    case regfile::TValue::TKind::String:
      return FromView(value.text);
    case regfile::TValue::TKind::Other:
      break;
  }
  return TRegOtherValue{FromView(value.text)};
}

}  // namespace

// Puts what the file gives straight into the tree: a value goes to the node
// of the key line above it without looking the key up again.
struct TMemorySettingsStore::TParseSink : regfile::ISink {
  explicit TParseSink(TMemorySettingsStore& s) : store(s) {}
  void Key(std::u16string_view path) override { node = store.Create(FromView(path)); }
  void Value(std::u16string_view name, regfile::TValue&& value) override {
    const QString text = FromView(name);
    auto& slot = node->values[Fold(text)];
    if (slot.first.isEmpty()) slot.first = text;
    slot.second = FromFileValue(value);
  }
  TMemorySettingsStore& store;
  TNode* node = nullptr;
};

QByteArray FormatRegFile(const TMemorySettingsStore& store) {
  std::vector<regfile::TKey> keys;
  for (const auto& entry : store.Keys()) {
    regfile::TKey key{entry.path.toStdU16String(), {}};
    for (const auto& [name, value] : entry.values) {
      if (std::holds_alternative<std::monostate>(value)) continue;
      key.values.emplace_back(name.toStdU16String(), ToFileValue(value));
    }
    keys.push_back(std::move(key));
  }
  const std::string bytes = regfile::Format(keys);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

regfile::TReadResult ParseRegFile(const QByteArray& bytes, TMemorySettingsStore& store) {
  store.Clear();
  TMemorySettingsStore::TParseSink sink(store);
  const regfile::TReadResult result =
      regfile::Parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), sink);
  store.MarkClean();
  return result;
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
  // A missing file gives no keys; one with damaged lines what can be read of
  // it. One that cannot be read whole is put aside before anything is stored.
  QFile file(path_);
  blocked_ = false;
  if (!file.exists()) {
    // What was read of a file put aside stands in for it until it is stored:
    // the sessions before the first store (loading, then storing at exit)
    // find no file.
    if (!readAside_) Clear();
    return;
  }
  readAside_ = false;
  Clear();
  QString reason;
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
  } else if (file.size() > static_cast<qint64>(regfile::kMaxFileSize)) {
    reason = QStringLiteral("it is larger than %1 MiB").arg(regfile::kMaxFileSize >> 20);
  } else {
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
      reason = file.errorString();
    } else {
      switch (ParseRegFile(bytes, *this).problem) {
        case regfile::TProblem::None:
          return;
        case regfile::TProblem::UnknownHeader:
          reason = QStringLiteral("it is not a registry export file");
          break;
        case regfile::TProblem::Undecodable:
          reason = QStringLiteral("its text cannot be decoded");
          break;
        case regfile::TProblem::TooLarge:
          reason = QStringLiteral("it is too large");
          break;
        case regfile::TProblem::OverLimit:
          // What lay within the limits is kept and stored again.
          reason = QStringLiteral("a key, name or value in it is beyond the limits");
          break;
      }
    }
  }
  file.close();
  SetAside(reason);
}

void TRegFileStore::SetAside(const QString& reason) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  const QString base = path_ + QStringLiteral(".unreadable-") + stamp;
  QString aside = base;
  for (int n = 2; QFileInfo::exists(aside) && n < 1000; ++n)
    aside = base + u'-' + QString::number(n);
  const QString shown = QDir::toNativeSeparators(path_);
  if (!QFileInfo::exists(aside) && QFile::rename(path_, aside)) {
    readAside_ = true;
    dirty_ = true;
    notice_ = QStringLiteral(
                  "The settings file %1 could not be read whole (%2). It was kept as %3, and the "
                  "settings are stored anew in %1.")
                  .arg(shown, reason, QDir::toNativeSeparators(aside));
    return;
  }
  blocked_ = true;
  if (blockedReported_) return;
  blockedReported_ = true;
  notice_ = QStringLiteral(
                "The settings file %1 could not be read whole (%2), and it could not be renamed "
                "to %3. It is left as it is, and the settings of this session are not stored.")
                .arg(shown, reason, QDir::toNativeSeparators(aside));
}

void TRegFileStore::Commit() {
  // Over a file that could not be read nothing is written (the user was told).
  if (!dirty_ || blocked_) return;
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
  readAside_ = false;
}
