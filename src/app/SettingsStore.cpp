#include "app/SettingsStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "base/AtomicFile.h"
#include "base/FailureText.h"
#include "base/UserFolders.h"

namespace {

constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kFolderName = "ORV";
constexpr std::string_view kFileName = "LPG2.reg";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// Length of the well-formed UTF-8 sequence starting at s[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) return 1;
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return n;
}

bool IsForbiddenControl(unsigned char c) { return c < 0x20 && c != '\t'; }

// True when the text can stand in the file as it is.
bool IsStorableText(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    if (IsForbiddenControl(static_cast<unsigned char>(s[i]))) return false;
    const std::size_t n = Utf8SequenceLength(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

// The text as the file can carry it: bytes of invalid sequences and control characters
// other than a tab become '?'.
std::string StorableText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = Utf8SequenceLength(s, i);
    if (n == 0 || IsForbiddenControl(static_cast<unsigned char>(s[i]))) {
      out.push_back('?');
      ++i;
    } else {
      out.append(s.substr(i, n));
      i += n;
    }
  }
  return out;
}

void AppendQuoted(std::string& out, std::string_view s) {
  out.push_back('"');
  for (char c : s) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
}

// Reads a quoted string at line[pos] (which must be '"'), undoing the \\ and \" escapes.
// On success pos is just past the closing quote.
bool ParseQuoted(std::string_view line, std::size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  out.clear();
  for (std::size_t i = pos + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      pos = i + 1;
      return IsStorableText(out);
    }
    if (c == '\\') {
      if (i + 1 >= line.size()) return false;
      const char next = line[i + 1];
      if (next != '\\' && next != '"') return false;
      out.push_back(next);
      ++i;
    } else {
      out.push_back(c);
    }
  }
  return false;  // no closing quote
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool OnlyBlanksFrom(std::string_view line, std::size_t pos) {
  for (std::size_t i = pos; i < line.size(); ++i) {
    if (line[i] != ' ' && line[i] != '\t') return false;
  }
  return true;
}

std::string_view TrimTrailingBlanks(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string WithoutTrailingSlashes(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::string SettingsStore::DefaultFilePath() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else {
    std::string home;
    const char* env = std::getenv("HOME");
    if (env != nullptr && env[0] != '\0') {
      home = env;
    } else {
      struct passwd pw {};
      struct passwd* found = nullptr;
      std::vector<char> buffer(16384);
      if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
          found->pw_dir != nullptr) {
        home = found->pw_dir;
      }
    }
    if (home.empty()) return {};
    base = WithoutTrailingSlashes(home) + "/.config";
  }
  base = WithoutTrailingSlashes(base);
  if (base == "/") base.clear();
  return base + "/" + std::string(kFolderName) + "/" + std::string(kFileName);
}

SettingsStore::SettingsStore(std::string filePath) : path_(std::move(filePath)) {}

SettingsStore SettingsStore::Open(const std::string& filePath) {
  SettingsStore store(filePath);
  store.Load();
  return store;
}

SettingsStore SettingsStore::OpenForCurrentUser() { return Open(DefaultFilePath()); }

bool SettingsStore::Load(std::string* error) {
  values_.clear();
  keyExists_ = false;
  unreadable_ = false;
  if (path_.empty()) {
    if (error != nullptr) *error = FailureReason(ENOENT);
    return false;
  }
  std::string text;
  if (!ReadWholeFile(path_, text, kMaxFileBytes, error)) {
    // A file that is there but cannot be read holds the user's settings all the same.
    struct stat st {};
    unreadable_ = ::lstat(path_.c_str(), &st) == 0;
    return false;
  }
  ParseText(text);
  return true;
}

void SettingsStore::LoadText(std::string_view text) {
  values_.clear();
  keyExists_ = false;
  if (text.size() <= kMaxFileBytes) ParseText(text);
}

void SettingsStore::ParseText(std::string_view text) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());

  bool inKey = false;
  std::string name, stringValue;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxLineBytes || line.empty()) continue;

    if (line.front() == '[') {
      const std::string_view header = TrimTrailingBlanks(line);
      if (header.size() >= 2 && header.back() == ']') {
        inKey = EqualsIgnoringCase(header.substr(1, header.size() - 2), kKeyPath);
        if (inKey) keyExists_ = true;
      }
      continue;
    }
    if (!inKey || line.front() != '"') continue;

    std::size_t pos = 0;
    if (!ParseQuoted(line, pos, name)) continue;
    if (pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    if (pos < line.size() && line[pos] == '"') {
      if (!ParseQuoted(line, pos, stringValue) || !OnlyBlanksFrom(line, pos)) continue;
      Value& v = Slot(name);
      v.type = ValueType::Text;
      v.text = stringValue;
      v.number = 0;
      continue;
    }
    if (!EqualsIgnoringCase(line.substr(pos, kDwordPrefix.size()), kDwordPrefix)) continue;
    pos += kDwordPrefix.size();
    if (line.size() < pos + 8) continue;
    std::uint32_t number = 0;
    bool digitsOk = true;
    for (std::size_t i = pos; i < pos + 8; ++i) {
      const int d = HexDigitValue(line[i]);
      if (d < 0) {
        digitsOk = false;
        break;
      }
      number = (number << 4) | static_cast<std::uint32_t>(d);
    }
    if (!digitsOk || !OnlyBlanksFrom(line, pos + 8)) continue;
    Value& v = Slot(name);
    v.type = ValueType::Integer;
    v.text.clear();
    v.number = static_cast<std::int32_t>(number);
  }
}

std::string SettingsStore::ToText() const {
  std::string text = TextOf(false);
  // A file this program could not read again is never written: the names it does not know,
  // which only a damaged file brings, go first.
  if (text.size() > kMaxFileBytes) text = TextOf(true);
  return text;
}

std::string SettingsStore::TextOf(bool writtenOnly) const {
  std::string out;
  out.push_back('[');
  out.append(kKeyPath);
  out.append("]\n");
  for (const Value& v : values_) {
    if (writtenOnly && !v.written) continue;
    AppendQuoted(out, v.name);
    out.push_back('=');
    if (v.type == ValueType::Text) {
      AppendQuoted(out, v.text);
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      const auto bits = static_cast<std::uint32_t>(v.number);
      out.append(kDwordPrefix);
      for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kHex[(bits >> shift) & 0xF]);
    }
    out.push_back('\n');
  }
  return out;
}

bool SettingsStore::Save(std::string* error) const {
  if (path_.empty()) {
    if (error != nullptr) *error = FailureReason(ENOENT);
    return false;
  }
  const auto slash = path_.find_last_of('/');
  int folderError = 0;
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path_.substr(0, slash), &folderError)) {
    if (error != nullptr) *error = path_.substr(0, slash) + ": " + FailureReason(folderError);
    return false;
  }
  const std::string text = ToText();
  if (text.size() > kMaxFileBytes) {
    if (error != nullptr) *error = path_ + ": " + FailureReason(EFBIG);
    return false;
  }
  return WriteFileAtomically(path_, text, error);
}

const SettingsStore::Value* SettingsStore::Find(std::string_view name) const {
  for (const Value& v : values_) {
    if (EqualsIgnoringCase(v.name, name)) return &v;
  }
  return nullptr;
}

SettingsStore::Value& SettingsStore::Slot(std::string_view name) {
  keyExists_ = true;
  for (Value& v : values_) {
    if (EqualsIgnoringCase(v.name, name)) return v;
  }
  Value& v = values_.emplace_back();
  v.name = StorableText(name);
  return v;
}

SettingsStore::Value& SettingsStore::Written(std::string_view name) {
  Value& v = Slot(name);
  v.written = true;
  return v;
}

bool SettingsStore::HasValue(std::string_view name) const { return Find(name) != nullptr; }

std::optional<SettingsStore::ValueType> SettingsStore::TypeOf(std::string_view name) const {
  const Value* v = Find(name);
  if (v == nullptr) return std::nullopt;
  return v->type;
}

std::vector<std::string> SettingsStore::ValueNames() const {
  std::vector<std::string> names;
  names.reserve(values_.size());
  for (const Value& v : values_) names.push_back(v.name);
  return names;
}

std::string SettingsStore::ReadString(std::string_view name) const {
  const Value* v = Find(name);
  if (v == nullptr) return {};
  if (v->type != ValueType::Text) {
    throw SettingsError("the setting \"" + std::string(name) + "\" is not a text value");
  }
  return v->text;
}

std::int32_t SettingsStore::ReadInteger(std::string_view name) const {
  const Value* v = Find(name);
  if (v == nullptr) {
    throw SettingsError("the setting \"" + std::string(name) + "\" is missing");
  }
  if (v->type != ValueType::Integer) {
    throw SettingsError("the setting \"" + std::string(name) + "\" is not an integer value");
  }
  return v->number;
}

bool SettingsStore::ReadBool(std::string_view name) const { return ReadInteger(name) != 0; }

void SettingsStore::WriteString(std::string_view name, std::string_view text) {
  Value& v = Written(name);
  v.type = ValueType::Text;
  v.text = StorableText(text);
  v.number = 0;
}

void SettingsStore::WriteInteger(std::string_view name, std::int32_t value) {
  Value& v = Written(name);
  v.type = ValueType::Integer;
  v.text.clear();
  v.number = value;
}

void SettingsStore::WriteBool(std::string_view name, bool value) { WriteInteger(name, value ? 1 : 0); }
