// Settings stores of our own: one held in memory (what tests install, so that
// no test touches the user's real settings) and one kept in a registry export
// file (core/RegFileText), the user's settings where there is no registry.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "core/RegFileText.h"
#include "platform/Registry.h"

class TMemorySettingsStore : public ISettingsStore {
 public:
  TMemorySettingsStore();
  ~TMemorySettingsStore() override;

  bool CreateKey(const QString& key) override;
  bool KeyExists(const QString& key) const override;
  bool DeleteKey(const QString& key) override;
  TRegValue ReadValue(const QString& key, const QString& name) const override;
  bool WriteValue(const QString& key, const QString& name, const TRegValue& value) override;
  void Commit() override { dirty_ = false; }

  // The keys a file needs, in file order (parents before children, siblings
  // by name), with their values (the default value first, then by name): every
  // key with values or without sub-keys; the others come with their sub-keys.
  struct TKeyEntry {
    QString path;
    std::vector<std::pair<QString, TRegValue>> values;
  };
  std::vector<TKeyEntry> Keys() const;
  void Clear();
  // Whether something changed since the last commit.
  bool Dirty() const { return dirty_; }
  // Takes the contents as they are as stored (after reading them in).
  void MarkClean() { dirty_ = false; }

 protected:
  bool dirty_ = false;

 private:
  struct TNode;
  struct TParseSink;
  friend regfile::TReadResult ParseRegFile(const QByteArray& text, TMemorySettingsStore& store);
  TNode* Find(const QString& key) const;
  TNode* Create(const QString& key);
  // Frees a tree of any depth without recursion.
  static void Destroy(std::unique_ptr<TNode> tree);
  std::unique_ptr<TNode> root_;
};

// The registry export text of the store's keys below HKEY_CURRENT_USER.
QByteArray FormatRegFile(const TMemorySettingsStore& store);
// Replaces the store's contents with the keys and values of the text. Lines
// that cannot be read are skipped (the values under a damaged key line with
// them); integers are dword:, texts are quoted strings or hex(1): bytes. The
// result tells whether the text was read whole.
regfile::TReadResult ParseRegFile(const QByteArray& text, TMemorySettingsStore& store);

// A store kept in one registry export file: read afresh at the start of every
// session, written whole and atomically on commit. A file that cannot be read
// whole (not a registry export, undecodable, over a limit) is never written
// over: it is renamed to "<name>.unreadable-<date and time>" at once, and the
// notice says so; what could be read of it is kept and stored in the new file.
// When it cannot be renamed, nothing is stored in its place.
class TRegFileStore : public TMemorySettingsStore {
 public:
  explicit TRegFileStore(const QString& path);
  void Refresh() override;
  void Commit() override;
  QString TakeNotice() override { return std::exchange(notice_, QString()); }
  const QString& Path() const { return path_; }

  // The user's settings file in the user's configuration folder.
  static QString DefaultPath();

 private:
  void SetAside(const QString& reason);

  QString path_;
  QString notice_;
  bool blocked_ = false;    // the unreadable file is still in the way
  bool readAside_ = false;  // holds what was read of a file put aside, not yet stored
  bool blockedReported_ = false;
};
