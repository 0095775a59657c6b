#include "platform/Registry.h"

#include <utility>

#include "platform/AnsiText.h"
#include "platform/RegFileStore.h"

#ifdef Q_OS_WIN
#include "platform/WinRegistryStore.h"
#endif

namespace {

ISettingsStore* g_store = nullptr;

ISettingsStore& UserStore() {
#ifdef Q_OS_WIN
  static TWinRegistryStore store;
#else
  static TRegFileStore store(TRegFileStore::DefaultPath());
#endif
  return store;
}

}  // namespace

ERegistryError::ERegistryError(const QString& message)
    : std::runtime_error(QStringToAnsi(message)) {}

ISettingsStore& SettingsStore() { return g_store ? *g_store : UserStore(); }

ISettingsStore* SetSettingsStore(ISettingsStore* store) { return std::exchange(g_store, store); }

QStringList RegKeyParts(const QString& key) { return key.split(u'\\', Qt::SkipEmptyParts); }

TRegistry::TRegistry(ISettingsStore& store) : store_(store) { store_.Refresh(); }

TRegistry::~TRegistry() {
  try {
    CloseKey();
  } catch (...) {
    // Reported only by an explicit CloseKey.
  }
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
  CloseKey();
  const QString path = RegKeyParts(key).join(u'\\');
  if (canCreate ? !store_.CreateKey(path) : !store_.KeyExists(path)) return false;
  currentPath_ = path;
  open_ = true;
  return true;
}

void TRegistry::CloseKey() {
  if (!open_) return;
  open_ = false;
  currentPath_.clear();
  store_.Commit();
}

bool TRegistry::DeleteKey(const QString& key) {
  return store_.DeleteKey(RegKeyParts(key).join(u'\\'));
}

void TRegistry::RequireOpenKey() const {
  if (!open_) throw ERegistryError("No registry key is open");
}

qint32 TRegistry::ReadInteger(const QString& name) const {
  RequireOpenKey();
  const TRegValue value = store_.ReadValue(currentPath_, name);
  if (const qint32* i = std::get_if<qint32>(&value)) return *i;
  // Missing or of another type: the same failure.
  throw ERegistryError(QString("Invalid data type for '%1'").arg(name));
}

QString TRegistry::ReadString(const QString& name) const {
  RequireOpenKey();
  const TRegValue value = store_.ReadValue(currentPath_, name);
  if (const QString* s = std::get_if<QString>(&value)) return *s;
  if (std::holds_alternative<std::monostate>(value)) return QString();
  throw ERegistryError(QString("Invalid data type for '%1'").arg(name));
}

bool TRegistry::ValueExists(const QString& name) const {
  return open_ && !std::holds_alternative<std::monostate>(store_.ReadValue(currentPath_, name));
}

void TRegistry::Write(const QString& name, const TRegValue& value) {
  RequireOpenKey();
  if (!store_.WriteValue(currentPath_, name, value))
    throw ERegistryError(QString("Failed to set data for '%1'").arg(name));
}

void TRegistry::WriteInteger(const QString& name, qint32 value) { Write(name, value); }

void TRegistry::WriteString(const QString& name, const QString& value) { Write(name, value); }
