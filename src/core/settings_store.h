#pragma once
#include <map>
#include <optional>
#include <string>

namespace qvx {

// Where the extras around the window keep what they remember between runs: which of
// their panels are open, the auto trigger, the spectrum's window and scale. None of this
// goes into the instrument's own files, whose contents stay as they are. The window keeps
// them with the toolkit's settings; tests and the console keep them in memory.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value stored under `key`, or nothing when none was stored.
  virtual std::optional<std::string> value(const std::string& key) const = 0;
  virtual void setValue(const std::string& key, const std::string& value) = 0;
};

class MemorySettings : public SettingsStore {
 public:
  std::optional<std::string> value(const std::string& key) const override {
    const auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  void setValue(const std::string& key, const std::string& value) override { values_[key] = value; }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace qvx
