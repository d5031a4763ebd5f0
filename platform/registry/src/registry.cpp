#include "platform/registry.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/device.h"
#include "platform/handles.h"
#include "platform/wide_text.h"

namespace {

class OpenKey final : public platform::KernelObject {
 public:
  OpenKey(uintptr_t root, std::string path) : root(root), path(std::move(path)) {}
  const uintptr_t root;
  const std::string path;  // UTF-8, parts joined by single backslashes, no outer backslashes
};

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys("
    "  root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE, PRIMARY KEY(root, path));"
    "CREATE TABLE IF NOT EXISTS reg_values("
    "  root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
    "  name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
    "  PRIMARY KEY(root, path, name));";

// One connection per process, used under one lock.
class Database {
 public:
  static Database& Instance() {
    static Database database;
    return database;
  }
  std::mutex mutex;
  sqlite3* db = nullptr;

 private:
  Database() {
    auto file = platform::DeviceHome() / "registry.db";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      Fail(file.string());
      return;
    }
    sqlite3_busy_timeout(db, 5000);
    // WAL with normal syncing survives a killed process whole; only a power cut could lose the
    // last changes.
    if (sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                     nullptr) != SQLITE_OK ||
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) != SQLITE_OK) {
      Fail(file.string());
    }
  }
  ~Database() { sqlite3_close(db); }

  void Fail(const std::string& file) {
    std::fprintf(stderr,
                 "registry: %s is not a usable registry database (%s); it is left as it is\n",
                 file.c_str(), db ? sqlite3_errmsg(db) : "cannot open");
    sqlite3_close(db);
    db = nullptr;
  }
};

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Valid() const { return statement_ != nullptr; }
  Statement& Bind(int index, int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
  }
  Statement& Bind(int index, const std::string& text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindBlob(int index, const void* data, size_t size) {
    // A zero-length blob must still be a blob, not NULL.
    sqlite3_bind_blob(statement_, index, size ? data : "", static_cast<int>(size),
                      SQLITE_TRANSIENT);
    return *this;
  }
  int Step() { return statement_ ? sqlite3_step(statement_) : SQLITE_ERROR; }
  sqlite3_stmt* Raw() { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

bool IsRoot(HKEY key) {
  return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE;
}

std::string NormalisePath(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

// Resolves a key handle and a relative sub-key to (root, full path).
bool Resolve(HKEY key, LPCWSTR subKey, uintptr_t& root, std::string& path) {
  std::string base;
  if (IsRoot(key)) {
    root = reinterpret_cast<uintptr_t>(key);
  } else {
    auto open = platform::LookupHandleAs<OpenKey>(key);
    if (!open) return false;
    root = open->root;
    base = open->path;
  }
  std::string relative = NormalisePath(platform::ToUtf8(platform::WideView(subKey)));
  path = base.empty() ? relative : relative.empty() ? base : base + "\\" + relative;
  return true;
}

bool KeyExists(sqlite3* db, uintptr_t root, const std::string& path) {
  if (path.empty()) return true;
  Statement query(db, "SELECT 1 FROM reg_keys WHERE root=? AND path=?");
  query.Bind(1, static_cast<int64_t>(root)).Bind(2, path);
  return query.Step() == SQLITE_ROW;
}

HKEY NewKeyHandle(uintptr_t root, const std::string& path) {
  return static_cast<HKEY>(platform::RegisterHandle(std::make_shared<OpenKey>(root, path)));
}

std::string ValueName(LPCWSTR name) {
  return platform::ToUtf8(platform::WideView(name));
}

}  // namespace

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  uintptr_t root;
  std::string path;
  if (!Resolve(key, subKey, root, path)) return ERROR_INVALID_HANDLE;
  auto& database = Database::Instance();
  std::lock_guard lock(database.mutex);
  if (!database.db) return ERROR_BADDB;
  if (!KeyExists(database.db, root, path)) return ERROR_FILE_NOT_FOUND;
  *result = NewKeyHandle(root, path);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, SECURITY_ATTRIBUTES*,
                     PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  uintptr_t root;
  std::string path;
  if (!Resolve(key, subKey, root, path)) return ERROR_INVALID_HANDLE;
  auto& database = Database::Instance();
  std::lock_guard lock(database.mutex);
  if (!database.db) return ERROR_BADDB;
  bool existed = KeyExists(database.db, root, path);
  if (!existed) {
    // The key and its missing parents appear together or not at all.
    if (sqlite3_exec(database.db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
      return ERROR_ACCESS_DENIED;
    }
    bool ok = true;
    for (size_t end = 0; ok && end != std::string::npos;) {
      end = path.find('\\', end + 1);
      Statement insert(database.db, "INSERT OR IGNORE INTO reg_keys(root, path) VALUES(?, ?)");
      insert.Bind(1, static_cast<int64_t>(root)).Bind(2, path.substr(0, end));
      ok = insert.Step() == SQLITE_DONE;
    }
    if (!ok || sqlite3_exec(database.db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
      sqlite3_exec(database.db, "ROLLBACK", nullptr, nullptr, nullptr);
      return ERROR_ACCESS_DENIED;
    }
  }
  if (disposition) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
  *result = NewKeyHandle(root, path);
  return ERROR_SUCCESS;
}

LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD, LPDWORD subKeys,
                      LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values,
                      LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                      LPDWORD securityDescriptorLength, FILETIME* lastWriteTime) {
  uintptr_t root;
  std::string path;
  if (!Resolve(key, nullptr, root, path)) return ERROR_INVALID_HANDLE;
  auto& database = Database::Instance();
  std::lock_guard lock(database.mutex);
  if (!database.db) return ERROR_BADDB;

  DWORD childCount = 0, longestChild = 0;
  Statement children(database.db,
                     "SELECT path FROM reg_keys WHERE root=? AND path LIKE ? ESCAPE '!'");
  std::string pattern;
  for (char c : path) {
    if (c == '%' || c == '_' || c == '!') pattern += '!';
    pattern += c;
  }
  pattern += path.empty() ? "%" : "\\%";
  children.Bind(1, static_cast<int64_t>(root)).Bind(2, pattern);
  size_t prefix = path.empty() ? 0 : path.size() + 1;
  while (children.Step() == SQLITE_ROW) {
    std::string child(reinterpret_cast<const char*>(sqlite3_column_text(children.Raw(), 0)));
    if (child.size() <= prefix || child.find('\\', prefix) != std::string::npos) continue;
    ++childCount;
    longestChild = std::max<DWORD>(
        longestChild, static_cast<DWORD>(platform::FromUtf8(child.substr(prefix)).size()));
  }

  DWORD valueCount = 0, longestName = 0, longestData = 0;
  Statement valueRows(database.db,
                      "SELECT name, length(data) FROM reg_values WHERE root=? AND path=?");
  valueRows.Bind(1, static_cast<int64_t>(root)).Bind(2, path);
  while (valueRows.Step() == SQLITE_ROW) {
    ++valueCount;
    std::string name(reinterpret_cast<const char*>(sqlite3_column_text(valueRows.Raw(), 0)));
    longestName = std::max<DWORD>(longestName, static_cast<DWORD>(platform::FromUtf8(name).size()));
    longestData =
        std::max<DWORD>(longestData, static_cast<DWORD>(sqlite3_column_int64(valueRows.Raw(), 1)));
  }

  if (keyClass && classLength && *classLength > 0) keyClass[0] = 0;
  if (classLength) *classLength = 0;
  if (subKeys) *subKeys = childCount;
  if (maxSubKeyLength) *maxSubKeyLength = longestChild;
  if (maxClassLength) *maxClassLength = 0;
  if (values) *values = valueCount;
  if (maxValueNameLength) *maxValueNameLength = longestName;
  if (maxValueLength) *maxValueLength = longestData;
  if (securityDescriptorLength) *securityDescriptorLength = 0;
  if (lastWriteTime) *lastWriteTime = {};
  return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD dataLength) {
  if (data && !dataLength) return ERROR_INVALID_PARAMETER;
  uintptr_t root;
  std::string path;
  if (!Resolve(key, nullptr, root, path)) return ERROR_INVALID_HANDLE;
  auto& database = Database::Instance();
  std::lock_guard lock(database.mutex);
  if (!database.db) return ERROR_BADDB;
  Statement query(database.db,
                  "SELECT type, data FROM reg_values WHERE root=? AND path=? AND name=?");
  query.Bind(1, static_cast<int64_t>(root)).Bind(2, path).Bind(3, ValueName(valueName));
  if (query.Step() != SQLITE_ROW) return ERROR_FILE_NOT_FOUND;
  auto storedType = static_cast<DWORD>(sqlite3_column_int64(query.Raw(), 0));
  const void* blob = sqlite3_column_blob(query.Raw(), 1);
  auto size = static_cast<DWORD>(sqlite3_column_bytes(query.Raw(), 1));
  if (type) *type = storedType;
  if (!dataLength) return ERROR_SUCCESS;
  DWORD room = *dataLength;
  *dataLength = size;
  if (!data) return ERROR_SUCCESS;
  if (room < size) return ERROR_MORE_DATA;
  if (size) std::memcpy(data, blob, size);
  return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                    DWORD dataLength) {
  if (!data && dataLength) return ERROR_INVALID_PARAMETER;
  uintptr_t root;
  std::string path;
  if (!Resolve(key, nullptr, root, path)) return ERROR_INVALID_HANDLE;
  auto& database = Database::Instance();
  std::lock_guard lock(database.mutex);
  if (!database.db) return ERROR_BADDB;
  // One statement, so one transaction: the old value or the new one, never a mixture.
  Statement insert(database.db,
                   "INSERT OR REPLACE INTO reg_values(root, path, name, type, data) "
                   "VALUES(?, ?, ?, ?, ?)");
  insert.Bind(1, static_cast<int64_t>(root)).Bind(2, path).Bind(3, ValueName(valueName));
  insert.Bind(4, type).BindBlob(5, data, dataLength);
  return insert.Step() == SQLITE_DONE ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
  uintptr_t root;
  std::string path;
  if (!Resolve(key, nullptr, root, path)) return ERROR_INVALID_HANDLE;
  auto& database = Database::Instance();
  std::lock_guard lock(database.mutex);
  if (!database.db) return ERROR_BADDB;
  Statement remove(database.db, "DELETE FROM reg_values WHERE root=? AND path=? AND name=?");
  remove.Bind(1, static_cast<int64_t>(root)).Bind(2, path).Bind(3, ValueName(valueName));
  if (remove.Step() != SQLITE_DONE) return ERROR_ACCESS_DENIED;
  return sqlite3_changes(database.db) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY key) {
  if (IsRoot(key)) return ERROR_SUCCESS;
  if (!platform::LookupHandleAs<OpenKey>(key)) return ERROR_INVALID_HANDLE;
  platform::ReleaseHandle(key);
  return ERROR_SUCCESS;
}
