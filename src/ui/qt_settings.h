#pragma once
#include <QSettings>

#include "core/settings_store.h"

namespace qvx::ui {

// The extras' settings in the toolkit's per-user settings file, so they survive a restart
// without touching the instrument's own files.
class QtSettings : public SettingsStore {
 public:
  QtSettings() : settings_("QVX Scope", "qvxscope") {}
  std::optional<std::string> value(const std::string& key) const override {
    const QVariant v = settings_.value(QString::fromStdString(key));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
  }
  void setValue(const std::string& key, const std::string& value) override {
    settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
  }

 private:
  QSettings settings_;
};

}  // namespace qvx::ui
