#include "platform/WinRegistryStore.h"

#ifdef Q_OS_WIN

#include <QSettings>

namespace {

const QString kHive = QStringLiteral("HKEY_CURRENT_USER");

// The native settings of one key; QSettings names a key's default value
// "Default".
QString KeyPath(const QString& key) {
  const QStringList parts = RegKeyParts(key);
  return parts.isEmpty() ? kHive : kHive + u'\\' + parts.join(u'\\');
}

QString ValueName(const QString& name) { return name.isEmpty() ? QStringLiteral("Default") : name; }

}  // namespace

bool TWinRegistryStore::CreateKey(const QString& key) {
  // The key comes into being with its first value; opening it is enough for
  // every read to work.
  QSettings settings(KeyPath(key), QSettings::NativeFormat);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

bool TWinRegistryStore::KeyExists(const QString& key) const {
  const QStringList parts = RegKeyParts(key);
  if (parts.isEmpty()) return true;
  QSettings parent(KeyPath(QStringList(parts.begin(), parts.end() - 1).join(u'\\')),
                   QSettings::NativeFormat);
  return parent.childGroups().contains(parts.back(), Qt::CaseInsensitive);
}

bool TWinRegistryStore::DeleteKey(const QString& key) {
  const QStringList parts = RegKeyParts(key);
  if (parts.isEmpty() || !KeyExists(key)) return false;
  QSettings parent(KeyPath(QStringList(parts.begin(), parts.end() - 1).join(u'\\')),
                   QSettings::NativeFormat);
  parent.remove(parts.back());
  parent.sync();
  return parent.status() == QSettings::NoError;
}

TRegValue TWinRegistryStore::ReadValue(const QString& key, const QString& name) const {
  QSettings settings(KeyPath(key), QSettings::NativeFormat);
  const QVariant value = settings.value(ValueName(name));
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
      return static_cast<qint32>(value.toUInt());
    case QMetaType::QString:
      return value.toString();
    default:
      break;
  }
  if (!value.isValid()) return {};
  return TRegOtherValue{value.toString()};
}

bool TWinRegistryStore::WriteValue(const QString& key, const QString& name,
                                   const TRegValue& value) {
  QSettings settings(KeyPath(key), QSettings::NativeFormat);
  // Integers go as REG_DWORD, texts as REG_SZ.
  if (const qint32* i = std::get_if<qint32>(&value))
    settings.setValue(ValueName(name), static_cast<int>(*i));
  else if (const QString* s = std::get_if<QString>(&value))
    settings.setValue(ValueName(name), *s);
  else
    return false;
  settings.sync();
  return settings.status() == QSettings::NoError;
}

#endif
