#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A typed value that is missing, or stored with another type than the reader asks for.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The per-user settings store: the one key Software\ORV\LPG2 with its text and 32-bit integer
// values, held in memory and kept in a file laid out like a registry export:
//
//   [Software\ORV\LPG2]
//   "DirOpen"="/home/fitter/parameters"
//   "COMM"=dword:00000001
//
// Reading the file (Load):
// - Only lines inside a [Software\ORV\LPG2] section count; a later [other] header ends it.
//   Lines in any other form are ignored, and so are lines longer than kMaxLineBytes.
// - Line ends may be LF or CR LF; a UTF-8 byte order mark at the start is skipped.
// - Text values are "Name"="text" with \\ and \" as the only escapes; integers are
//   "Name"=dword:XXXXXXXX with exactly eight hex digits. Nothing but blanks or tabs may
//   follow the value.
// - A line whose name or text is not valid UTF-8, or holds a control character other than a
//   tab, is ignored as a whole (the value then counts as missing). The file is UTF-8 and
//   the program never writes such bytes, so such a line is damage, not data.
// - A file larger than kMaxFileBytes is not read at all: the key counts as missing and the
//   program starts with its defaults. A sound settings file is a few kilobytes.
// - When a name occurs twice the later line wins, in the place of the first.
// - Value names are matched without regard to ASCII case, as the registry does.
//
// Writing (Save): the file is replaced atomically (see AtomicFile.h), and its owner may read
// it again whatever mode the old file had. It holds the section header and then one line per
// value, LF line ends. A value keeps the place where it was first stored (read from the file
// or written); a new value is appended. Other sections of an old file are not kept. A text
// beyond kMaxFileBytes, which Load would refuse, is never written: values read but not
// written since are left out, and when that is not enough Save fails. Missing folders on the
// way to the file are created (mode 0700).
class SettingsStore {
 public:
  enum class ValueType { Text, Integer };

  static constexpr std::string_view kKeyPath = "Software\\ORV\\LPG2";
  static constexpr std::size_t kMaxFileBytes = 1024 * 1024;
  static constexpr std::size_t kMaxLineBytes = 32 * 1024;

  // The store's file for the current user: $XDG_CONFIG_HOME/ORV/LPG2.reg, or
  // $HOME/.config/ORV/LPG2.reg when XDG_CONFIG_HOME is unset, empty or not an absolute path.
  // When HOME is unset or empty too, the home folder of the user database is used; empty
  // when there is none.
  static std::string DefaultFilePath();

  // An empty store for the file at filePath; nothing is read yet.
  explicit SettingsStore(std::string filePath);

  // The store of filePath, loaded (a file that cannot be read gives a store without key).
  static SettingsStore Open(const std::string& filePath);
  // The store of DefaultFilePath(), loaded.
  static SettingsStore OpenForCurrentUser();

  const std::string& FilePath() const { return path_; }

  // Forgets every value and reads the file. False, with *error set, when the file cannot be
  // read (missing, unreadable, larger than kMaxFileBytes); the key is then missing.
  // True when the file was read, whether or not it held the key. Errors are "path: reason"
  // in the program's language.
  bool Load(std::string* error = nullptr);
  // True when the last Load found a file it could not read (no permission, a folder, too
  // large): it holds the user's settings all the same and must not be written over.
  bool Unreadable() const { return unreadable_; }

  // Forgets every value and reads text as if it were the file's content (within
  // kMaxFileBytes).
  void LoadText(std::string_view text);

  // Writes the key and its values to the file atomically. False, with *error set, when the
  // folder cannot be created or the file cannot be written; the old file then stays as it
  // was. Never throws for a file failure.
  bool Save(std::string* error = nullptr) const;

  // The file text Save would write.
  std::string ToText() const;

  // The key exists when the loaded file held its section or a value has been written since.
  bool KeyExists() const { return keyExists_; }

  bool HasValue(std::string_view name) const;
  std::optional<ValueType> TypeOf(std::string_view name) const;
  // Names in the order they stand in the store (the order Save writes them).
  std::vector<std::string> ValueNames() const;

  // A missing text value reads as empty text. A value stored as an integer throws.
  std::string ReadString(std::string_view name) const;
  // A missing value or a text value throws.
  std::int32_t ReadInteger(std::string_view name) const;
  // An integer value read as a boolean: not 0 is true. Missing or text throws.
  bool ReadBool(std::string_view name) const;

  // Writing creates the key. A write to an existing name replaces its value and type in its
  // place. Text is stored as it will read back from the file: every byte of an invalid UTF-8
  // sequence and every control character other than a tab becomes '?', since the file
  // cannot carry them (a line break would end the line).
  void WriteString(std::string_view name, std::string_view text);
  void WriteInteger(std::string_view name, std::int32_t value);
  void WriteBool(std::string_view name, bool value);  // stored as the integer 0 or 1

 private:
  struct Value {
    std::string name;
    ValueType type = ValueType::Text;
    std::string text;
    std::int32_t number = 0;
    bool written = false;  // by this program since the file was read
  };

  const Value* Find(std::string_view name) const;
  Value& Slot(std::string_view name);
  Value& Written(std::string_view name);
  std::string TextOf(bool writtenOnly) const;
  void ParseText(std::string_view text);

  std::string path_;
  std::vector<Value> values_;
  bool keyExists_ = false;
  bool unreadable_ = false;
};
