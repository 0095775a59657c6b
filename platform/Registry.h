// The per-user settings store and the registry object that reads and writes
// it. The store is a tree of keys below the current user's hive; a key holds
// named values that are 32-bit integers or strings, and its unnamed default
// value has the name "". Key paths are given from the hive down, parts
// separated by backslashes ("Software\\Maker\\Program\\Font"). Key and value
// names compare without regard to letter case, as the Windows registry's do.
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>
#include <variant>

// A value of a type the program neither reads nor writes (binary data and the
// like); kept as it stood so that storing the settings loses nothing.
struct TRegOtherValue {
  QString text;  // the stored form, e.g. hex:01,02
  bool operator==(const TRegOtherValue&) const = default;
};

// A stored value: none (missing), an integer, a string or another type.
using TRegValue = std::variant<std::monostate, qint32, QString, TRegOtherValue>;

// A failure of the registry; the message is Windows-1252 bytes like every
// message the error box shows.
class ERegistryError : public std::runtime_error {
 public:
  explicit ERegistryError(const QString& message);
};

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  // Starts a session: picks up what other programs stored since the last one.
  virtual void Refresh() {}
  // Creates the key and its parents when missing; false when it cannot.
  virtual bool CreateKey(const QString& key) = 0;
  virtual bool KeyExists(const QString& key) const = 0;
  // Deletes the key with its values and sub-keys; false when it did not exist.
  virtual bool DeleteKey(const QString& key) = 0;
  // The value, or std::monostate when the key or the value is missing.
  virtual TRegValue ReadValue(const QString& key, const QString& name) const = 0;
  // Writes the value into the key, which must exist; false when it does not.
  virtual bool WriteValue(const QString& key, const QString& name, const TRegValue& value) = 0;
  // Makes the changes lasting; raises ERegistryError when they cannot be.
  virtual void Commit() = 0;
  // What the user should be told about the store since the last call (a
  // settings file that could not be read and was put aside), once; empty
  // when nothing.
  virtual QString TakeNotice() { return QString(); }
};

// The store in force: the user's real settings unless a test installed another.
ISettingsStore& SettingsStore();
// Installs a store (not owned); nullptr restores the user's real settings.
// Returns the store installed before (nullptr for the real settings).
ISettingsStore* SetSettingsStore(ISettingsStore* store);

// Key paths: the parts of a path, without empty ones ("a\\\\b\\" gives a, b).
QStringList RegKeyParts(const QString& key);

// Opens keys of the store one at a time and reads and writes their values.
class TRegistry {
 public:
  explicit TRegistry(ISettingsStore& store = SettingsStore());
  // Closes the open key; a failure to store is not reported here, so close
  // the key yourself wherever that matters.
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Opens the key (a path from the hive); with canCreate a missing key is
  // created. False when the key does not exist or cannot be created.
  bool OpenKey(const QString& key, bool canCreate);
  // Closes the open key and makes what was written lasting; raises
  // ERegistryError when that fails.
  void CloseKey();
  // Deletes a key (a path from the hive) with its values and sub-keys.
  bool DeleteKey(const QString& key);
  const QString& CurrentPath() const { return currentPath_; }

  // Reads of the open key. An integer that is missing or of another type
  // raises ERegistryError, so does a string of another type; a missing string
  // reads as empty text.
  qint32 ReadInteger(const QString& name) const;
  bool ReadBool(const QString& name) const { return ReadInteger(name) != 0; }
  QString ReadString(const QString& name) const;
  bool ValueExists(const QString& name) const;

  // Writes into the open key; raises ERegistryError when no key is open.
  void WriteInteger(const QString& name, qint32 value);
  void WriteBool(const QString& name, bool value) { WriteInteger(name, value ? 1 : 0); }
  void WriteString(const QString& name, const QString& value);

 private:
  void Write(const QString& name, const TRegValue& value);
  void RequireOpenKey() const;

  ISettingsStore& store_;
  QString currentPath_;
  bool open_ = false;
};
