// In-memory registry with Windows semantics.
#include "platform/fake/FakeRegistry.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/RegistryText.h"
#include "platform/Text.h"
#include "platform/WinError.h"
#include "platform/fake/StateText.h"

namespace mq::platform {
namespace {

struct RootName {
  RegKey key;
  std::string_view shortName;
  std::string_view longName;
};
constexpr RootName kRoots[] = {
    {kHkeyClassesRoot, "HKCR", "HKEY_CLASSES_ROOT"},
    {kHkeyCurrentUser, "HKCU", "HKEY_CURRENT_USER"},
    {kHkeyLocalMachine, "HKLM", "HKEY_LOCAL_MACHINE"},
    {kHkeyUsers, "HKU", "HKEY_USERS"},
};

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// The order of subkey names in a hive: case-blind, compared as upper case (so "A_" follows "AB").
bool KeyOrder(std::string_view a, std::string_view b) {
  auto upper = [](std::string_view name) {
    std::string folded = text::FoldCase(name);
    for (char& c : folded) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return folded;
  };
  return upper(a) < upper(b);
}

std::string RootLabel(RegKey key) {
  for (const RootName& root : kRoots) {
    if (root.key == key) return std::string(root.shortName);
  }
  return CallJournal::Hex(key);
}

std::string Describe(uint32_t type, const uint8_t* data, uint32_t size) {
  if ((type == kRegSz || type == kRegExpandSz) && data != nullptr) {
    std::u16string wide;
    for (uint32_t i = 0; i + 1 < size; i += 2) {
      char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
      if (unit == 0) break;
      wide += unit;
    }
    return text::Utf16ToUtf8(wide);
  }
  if (type == kRegDword && data != nullptr && size == 4) {
    uint32_t v;
    std::memcpy(&v, data, 4);
    return std::to_string(v);
  }
  return std::to_string(size) + " bytes";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

FakeRegistry::FakeRegistry(CallJournal& journal) : journal_(journal) {
  for (const RootName& root : kRoots) {
    roots_[root.key] = std::make_unique<Key>();
    roots_[root.key]->name = root.longName;
  }
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key* FakeRegistry::Resolve(RegKey key) const {
  if (auto root = roots_.find(key); root != roots_.end()) return root->second.get();
  if (auto open = handles_.find(key); open != handles_.end()) return open->second;
  return nullptr;
}

FakeRegistry::Value* FakeRegistry::FindValue(Key& key, std::string_view name) {
  for (Value& value : key.values) {
    if (text::EqualsNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

FakeRegistry::Key* FakeRegistry::Walk(Key* from, std::string_view subKey, bool create, bool* created) {
  Key* current = from;
  std::vector<std::string_view> parts = SplitKeyPath(subKey);
  if (create && from->depth + parts.size() > kMaxKeyDepth) return nullptr;
  for (std::string_view part : parts) {
    Key* next = nullptr;
    for (auto& child : current->subKeys) {
      if (text::EqualsNoCase(child->name, part)) next = child.get();
    }
    if (next == nullptr) {
      if (!create) return nullptr;
      // Windows keeps a key's subkeys in name order, so that is the order RegEnumKeyExW gives them in.
      auto at = std::find_if(current->subKeys.begin(), current->subKeys.end(),
                             [&](const auto& child) { return KeyOrder(part, child->name); });
      next = current->subKeys.insert(at, std::make_unique<Key>())->get();
      next->name = part;
      next->depth = current->depth + 1;
      if (created != nullptr) *created = true;
    }
    current = next;
  }
  return current;
}

uint32_t FakeRegistry::OpenKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key) {
  if (uint32_t e = journal_.Enter("RegOpenKeyExW", {{"key", RootLabel(parent)},
                                                    {"subKey", std::string(subKey)},
                                                    {"access", CallJournal::Hex(access)}})) {
    return e;
  }
  Key* from = Resolve(parent);
  if (from == nullptr || key == nullptr) return err::kInvalidHandle;
  Key* found = Walk(from, subKey, false, nullptr);
  if (found == nullptr) return err::kFileNotFound;
  RegKey handle = nextHandle_++;
  handles_[handle] = found;
  *key = handle;
  return err::kSuccess;
}

uint32_t FakeRegistry::CreateKey(RegKey parent, std::string_view subKey, uint32_t access, RegKey* key,
                                 bool* created) {
  if (uint32_t e = journal_.Enter("RegCreateKeyExW", {{"key", RootLabel(parent)},
                                                      {"subKey", std::string(subKey)},
                                                      {"access", CallJournal::Hex(access)}})) {
    return e;
  }
  Key* from = Resolve(parent);
  if (from == nullptr || key == nullptr) return err::kInvalidHandle;
  bool made = false;
  Key* found = Walk(from, subKey, true, &made);
  if (found == nullptr) return err::kInvalidParameter;  // deeper than a registry tree can be
  RegKey handle = nextHandle_++;
  handles_[handle] = found;
  *key = handle;
  if (created != nullptr) *created = made;
  return err::kSuccess;
}

uint32_t FakeRegistry::CloseKey(RegKey key) {
  if (uint32_t e = journal_.Enter("RegCloseKey", {{"key", RootLabel(key)}})) return e;
  if (roots_.count(key) != 0) return err::kSuccess;
  return handles_.erase(key) != 0 ? err::kSuccess : err::kInvalidHandle;
}

uint32_t FakeRegistry::QueryValue(RegKey key, std::string_view name, uint32_t* type, uint8_t* data,
                                  uint32_t* size) {
  if (uint32_t e =
          journal_.Enter("RegQueryValueExW", {{"key", RootLabel(key)}, {"name", std::string(name)}})) {
    return e;
  }
  Key* k = Resolve(key);
  if (k == nullptr) return err::kInvalidHandle;
  Value* value = FindValue(*k, name);
  if (value == nullptr) return err::kFileNotFound;
  if (data != nullptr && size == nullptr) return err::kInvalidParameter;
  auto needed = static_cast<uint32_t>(value->data.size());
  if (type != nullptr) *type = value->type;
  if (data != nullptr) {
    if (*size < needed) {
      *size = needed;
      return err::kMoreData;
    }
    std::memcpy(data, value->data.data(), needed);
  }
  if (size != nullptr) *size = needed;
  return err::kSuccess;
}

uint32_t FakeRegistry::SetValue(RegKey key, std::string_view name, uint32_t type, const uint8_t* data,
                                uint32_t size) {
  if (uint32_t e = journal_.Enter("RegSetValueExW", {{"key", RootLabel(key)},
                                                     {"name", std::string(name)},
                                                     {"type", std::to_string(type)},
                                                     {"data", Describe(type, data, size)}})) {
    return e;
  }
  Key* k = Resolve(key);
  if (k == nullptr || roots_.count(key) != 0) return err::kInvalidHandle;
  if (data == nullptr && size != 0) return err::kInvalidParameter;
  Value* value = FindValue(*k, name);
  if (value == nullptr) {
    k->values.push_back(Value{std::string(name), 0, {}});
    value = &k->values.back();
  }
  value->type = type;
  value->data.assign(data, data + size);
  return err::kSuccess;
}

uint32_t FakeRegistry::DeleteValue(RegKey key, std::string_view name) {
  if (uint32_t e =
          journal_.Enter("RegDeleteValueW", {{"key", RootLabel(key)}, {"name", std::string(name)}})) {
    return e;
  }
  Key* k = Resolve(key);
  if (k == nullptr) return err::kInvalidHandle;
  for (auto it = k->values.begin(); it != k->values.end(); ++it) {
    if (text::EqualsNoCase(it->name, name)) {
      k->values.erase(it);
      return err::kSuccess;
    }
  }
  return err::kFileNotFound;
}

uint32_t FakeRegistry::DeleteKey(RegKey parent, std::string_view subKey) {
  if (uint32_t e =
          journal_.Enter("RegDeleteKeyW", {{"key", RootLabel(parent)}, {"subKey", std::string(subKey)}})) {
    return e;
  }
  Key* from = Resolve(parent);
  if (from == nullptr) return err::kInvalidHandle;
  std::vector<std::string_view> parts = SplitKeyPath(subKey);
  if (parts.empty()) return err::kInvalidParameter;
  std::string_view leaf = parts.back();
  Key* holder = from;
  for (size_t i = 0; i + 1 < parts.size() && holder != nullptr; ++i)
    holder = Walk(holder, parts[i], false, nullptr);
  if (holder == nullptr) return err::kFileNotFound;
  for (auto it = holder->subKeys.begin(); it != holder->subKeys.end(); ++it) {
    if (text::EqualsNoCase((*it)->name, leaf)) {
      if (!(*it)->subKeys.empty()) return err::kAccessDenied;
      Key* doomed = it->get();
      std::erase_if(handles_, [doomed](const auto& entry) { return entry.second == doomed; });
      holder->subKeys.erase(it);
      return err::kSuccess;
    }
  }
  return err::kFileNotFound;
}

uint32_t FakeRegistry::EnumKey(RegKey key, uint32_t index, std::string* name) {
  if (uint32_t e =
          journal_.Enter("RegEnumKeyExW", {{"key", RootLabel(key)}, {"index", std::to_string(index)}})) {
    return e;
  }
  Key* k = Resolve(key);
  if (k == nullptr) return err::kInvalidHandle;
  if (index >= k->subKeys.size()) return err::kNoMoreItems;
  *name = k->subKeys[index]->name;
  return err::kSuccess;
}

uint32_t FakeRegistry::EnumValue(RegKey key, uint32_t index, std::string* name) {
  if (uint32_t e =
          journal_.Enter("RegEnumValueW", {{"key", RootLabel(key)}, {"index", std::to_string(index)}})) {
    return e;
  }
  Key* k = Resolve(key);
  if (k == nullptr) return err::kInvalidHandle;
  if (index >= k->values.size()) return err::kNoMoreItems;
  *name = k->values[index].name;
  return err::kSuccess;
}

FakeRegistry::Key* FakeRegistry::FindPath(std::string_view keyPath) const {
  std::vector<std::string_view> parts = SplitKeyPath(keyPath);
  if (parts.empty()) return nullptr;
  for (const RootName& root : kRoots) {
    if (text::EqualsNoCase(parts[0], root.shortName) || text::EqualsNoCase(parts[0], root.longName)) {
      Key* current = roots_.at(root.key).get();
      for (size_t i = 1; i < parts.size() && current != nullptr; ++i) {
        Key* next = nullptr;
        for (auto& child : current->subKeys) {
          if (text::EqualsNoCase(child->name, parts[i])) next = child.get();
        }
        current = next;
      }
      return current;
    }
  }
  return nullptr;
}

FakeRegistry::Key* FakeRegistry::MakePath(std::string_view keyPath) {
  size_t slash = keyPath.find('\\');
  std::string_view rootPart = keyPath.substr(0, slash);
  std::string_view rest = slash == std::string_view::npos ? std::string_view{} : keyPath.substr(slash + 1);
  for (const RootName& root : kRoots) {
    if (text::EqualsNoCase(rootPart, root.shortName) || text::EqualsNoCase(rootPart, root.longName)) {
      return Walk(roots_.at(root.key).get(), rest, true, nullptr);
    }
  }
  return nullptr;
}

void FakeRegistry::PutString(std::string_view keyPath, std::string_view name, std::string_view value) {
  Key* key = MakePath(keyPath);
  if (key == nullptr) return;
  Value* v = FindValue(*key, name);
  if (v == nullptr) {
    key->values.push_back(Value{std::string(name), 0, {}});
    v = &key->values.back();
  }
  v->type = kRegSz;
  v->data = RegSzBytes(value);
}

void FakeRegistry::PutDword(std::string_view keyPath, std::string_view name, uint32_t value) {
  Key* key = MakePath(keyPath);
  if (key == nullptr) return;
  Value* v = FindValue(*key, name);
  if (v == nullptr) {
    key->values.push_back(Value{std::string(name), 0, {}});
    v = &key->values.back();
  }
  v->type = kRegDword;
  v->data = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
             static_cast<uint8_t>(value >> 24)};
}

bool FakeRegistry::HasKey(std::string_view keyPath) const {
  return FindPath(keyPath) != nullptr;
}

std::optional<std::pair<uint32_t, std::vector<uint8_t>>> FakeRegistry::GetRaw(std::string_view keyPath,
                                                                              std::string_view name) const {
  Key* key = FindPath(keyPath);
  if (key == nullptr) return std::nullopt;
  Value* v = FindValue(*key, name);
  if (v == nullptr) return std::nullopt;
  return std::make_pair(v->type, v->data);
}

std::optional<std::string> FakeRegistry::GetString(std::string_view keyPath, std::string_view name) const {
  auto raw = GetRaw(keyPath, name);
  if (!raw || (raw->first != kRegSz && raw->first != kRegExpandSz)) return std::nullopt;
  return Describe(raw->first, raw->second.data(), static_cast<uint32_t>(raw->second.size()));
}

std::optional<uint32_t> FakeRegistry::GetDword(std::string_view keyPath, std::string_view name) const {
  auto raw = GetRaw(keyPath, name);
  if (!raw || raw->first != kRegDword || raw->second.size() != 4) return std::nullopt;
  uint32_t v;
  std::memcpy(&v, raw->second.data(), 4);
  return v;
}

std::string FakeRegistry::Serialize() const {
  // Depth first, each key before its subkeys, without recursion.
  struct Pending {
    const Key* key;
    std::string path;
  };
  std::string out = std::string(kEscapedNamesMark) + '\n';
  static const char kDigits[] = "0123456789abcdef";
  std::vector<Pending> pending;
  for (auto root = std::rbegin(kRoots); root != std::rend(kRoots); ++root) {
    const Key& top = *roots_.at(root->key);
    for (auto child = top.subKeys.rbegin(); child != top.subKeys.rend(); ++child)
      pending.push_back({child->get(), std::string(root->shortName) + '\\' + state::Escape((*child)->name, "\\")});
  }
  while (!pending.empty()) {
    Pending next = std::move(pending.back());
    pending.pop_back();
    out += '[' + next.path + "]\n";
    for (const Value& value : next.key->values) {
      out += '"' + state::Escape(value.name) + "\"=" + std::to_string(value.type) + ':';
      for (uint8_t b : value.data) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
      }
      out += '\n';
    }
    for (auto child = next.key->subKeys.rbegin(); child != next.key->subKeys.rend(); ++child)
      pending.push_back({child->get(), next.path + '\\' + state::Escape((*child)->name, "\\")});
  }
  return out;
}

bool FakeRegistry::Deserialize(std::string_view text, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  // The tree is built aside and replaces the current one only when the whole text is good. Names are looked
  // up through indexes of this load, so that a large file loads in time proportional to its size.
  std::map<RegKey, std::unique_ptr<Key>> roots;
  for (const RootName& root : kRoots) {
    roots[root.key] = std::make_unique<Key>();
    roots[root.key]->name = root.longName;
  }
  std::unordered_map<std::string, Key*> children;   // parent address + folded name
  std::unordered_map<std::string, size_t> values;   // key address + folded name -> index
  auto slot = [](const Key* owner, std::string_view name) {
    return std::to_string(reinterpret_cast<uintptr_t>(owner)) + '\n' + text::FoldCase(name);
  };
  bool escaped = false;
  Key* current = nullptr;
  size_t pos = 0;
  for (size_t number = 1; pos < text.size(); ++number) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (number == 1 && line == kEscapedNamesMark) {
      escaped = true;
      continue;
    }
    if (line.empty()) continue;
    auto fail = [&](std::string_view what) {
      *error = state::LineError(number, what);
      return false;
    };
    auto name = [&](std::string_view stored, std::string* out) {
      if (!escaped) {
        *out = stored;
        return true;
      }
      return state::Unescape(stored, out);
    };
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::vector<std::string_view> parts = SplitKeyPath(line.substr(1, line.size() - 2));
      const RootName* root = nullptr;
      for (const RootName& candidate : kRoots) {
        if (!parts.empty() &&
            (text::EqualsNoCase(parts[0], candidate.shortName) || text::EqualsNoCase(parts[0], candidate.longName)))
          root = &candidate;
      }
      if (root == nullptr) return fail("a key path must start with HKCR, HKCU, HKLM or HKU");
      if (parts.size() - 1 > kMaxKeyDepth) {
        return fail("a key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
      }
      current = roots.at(root->key).get();
      for (size_t i = 1; i < parts.size(); ++i) {
        std::string part;
        if (!name(parts[i], &part)) return fail("a bad %-escape in a key name");
        Key*& child = children[slot(current, part)];
        if (child == nullptr) {
          current->subKeys.push_back(std::make_unique<Key>());
          child = current->subKeys.back().get();
          child->name = std::move(part);
          child->depth = current->depth + 1;
        }
        current = child;
      }
      continue;
    }
    size_t close = line.rfind("\"=");
    if (line.front() != '"' || close == std::string_view::npos || close == 0) {
      return fail("neither a [key] line nor a \"name\"=type:data value line");
    }
    if (current == nullptr) return fail("a value before the first [key] line");
    size_t colon = line.find(':', close);
    if (colon == std::string_view::npos) return fail("a value without its type:data part");
    Value value;
    if (!name(line.substr(1, close - 1), &value.name)) return fail("a bad %-escape in a value name");
    if (!state::ParseUint32(line.substr(close + 2, colon - close - 2), &value.type)) {
      return fail("the value type is not a decimal number");
    }
    std::string_view hex = line.substr(colon + 1);
    if (hex.size() % 2 != 0) return fail("the value data has an odd number of hex digits");
    value.data.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
      int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
      if (high < 0 || low < 0) return fail("the value data is not hex digits");
      value.data.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    auto [index, added] = values.try_emplace(slot(current, value.name), current->values.size());
    if (added) {
      current->values.push_back(std::move(value));
    } else {
      current->values[index->second] = std::move(value);
    }
  }
  roots_ = std::move(roots);
  handles_.clear();
  return true;
}

}  // namespace mq::platform
