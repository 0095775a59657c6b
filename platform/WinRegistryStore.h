// The settings store on Windows: the registry itself, below the current
// user's hive.
#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include "platform/Registry.h"

class TWinRegistryStore : public ISettingsStore {
 public:
  bool CreateKey(const QString& key) override;
  bool KeyExists(const QString& key) const override;
  bool DeleteKey(const QString& key) override;
  TRegValue ReadValue(const QString& key, const QString& name) const override;
  bool WriteValue(const QString& key, const QString& name, const TRegValue& value) override;
  // Every write is flushed as it is made, and a failed one reported then.
  void Commit() override {}
};

#endif
