// In-memory registry for tests and simulated machines. Behaves like the RegXxxExW functions: key and value
// names are case-blind, subkeys are kept in name order and values in the order they were made, QueryValue
// probes sizes with ERROR_MORE_DATA, deleting a key with subkeys is refused. Every call goes to the journal
// under the name of the function it stands for.
#pragma once

#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/fake/CallJournal.h"

namespace mq::platform {

class FakeRegistry : public Registry {
 public:
  explicit FakeRegistry(CallJournal& journal);
  ~FakeRegistry() override;

  uint32_t OpenKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key) override;
  uint32_t CreateKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key,
                     bool* created) override;
  uint32_t CloseKey(RegKey key) override;
  uint32_t QueryValue(RegKey key, std::string_view name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override;
  uint32_t SetValue(RegKey key, std::string_view name, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
  uint32_t DeleteValue(RegKey key, std::string_view name) override;
  uint32_t DeleteKey(RegKey parent, std::string_view subKey) override;
  uint32_t EnumKey(RegKey key, uint32_t index, std::string* name) override;
  uint32_t EnumValue(RegKey key, uint32_t index, std::string* name) override;

  // Direct access for test set-up and checks; not journaled. Paths are "HKLM\SOFTWARE\...", "HKCU\...".
  void PutString(std::string_view keyPath, std::string_view name, std::string_view value);
  void PutDword(std::string_view keyPath, std::string_view name, uint32_t value);
  bool HasKey(std::string_view keyPath) const;
  // The value as text (REG_SZ/REG_EXPAND_SZ), or nullopt when missing or of another type.
  std::optional<std::string> GetString(std::string_view keyPath, std::string_view name) const;
  std::optional<uint32_t> GetDword(std::string_view keyPath, std::string_view name) const;
  // Raw value bytes and type, or nullopt.
  std::optional<std::pair<uint32_t, std::vector<uint8_t>>> GetRaw(std::string_view keyPath,
                                                                  std::string_view name) const;
  // Number of keys currently open through OpenKey/CreateKey and not closed (a leak check for tests).
  size_t OpenHandleCount() const { return handles_.size(); }

  // A registry tree is at most this many levels deep below its root key, as on Windows; CreateKey refuses
  // deeper keys with ERROR_INVALID_PARAMETER.
  static constexpr size_t kMaxKeyDepth = 512;

  // The whole tree as text, used to keep a simulated machine between runs: a first line marking the form, then
  // one key per "[path]" line followed by its values ("name"=type:hex bytes). Names have control characters
  // and '%' written as %XX, so any name survives; text without the first line is read with names as they
  // stand, as earlier versions wrote it.
  std::string Serialize() const;
  // Replaces the tree (closing every open handle) with the one the text describes. A malformed text changes
  // nothing and gives false, with "line N: what is wrong" in *error.
  bool Deserialize(std::string_view text, std::string* error = nullptr);
  static constexpr std::string_view kEscapedNamesMark = "; mq450 registry: names %-escaped";

 private:
  struct Value {
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
  };
  struct Key {
    std::string name;
    std::vector<Value> values;
    std::vector<std::unique_ptr<Key>> subKeys;
    size_t depth = 0;  // levels below the root key
  };

  Key* Resolve(RegKey key) const;
  Key* Walk(Key* from, std::string_view subKey, bool create, bool* created);
  Key* FindPath(std::string_view keyPath) const;
  Key* MakePath(std::string_view keyPath);
  static Value* FindValue(Key& key, std::string_view name);

  CallJournal& journal_;
  std::map<RegKey, std::unique_ptr<Key>> roots_;
  std::map<RegKey, Key*> handles_;
  RegKey nextHandle_ = 0x1000;
};

}  // namespace mq::platform
