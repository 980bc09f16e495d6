#include "devserver/accounts.h"

#include <crypt.h>
#include <sqlite3.h>

#include <cstring>

namespace vs::devserver {

namespace {

constexpr size_t kMaxText = 15;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Binds a text without copying; the statement is reset before the view goes.
void bindText(sqlite3_stmt* s, int i, std::string_view text) {
    sqlite3_bind_text(s, i, text.data(), int(text.size()), SQLITE_STATIC);
}

// Runs a statement that returns no rows to its end and resets it.
bool runToEnd(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return rc == SQLITE_DONE;
}

int queryInt(sqlite3* db, const char* sql, int fallback) {
    sqlite3_stmt* s = nullptr;
    int value = fallback;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        value = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    return value;
}

constexpr const char* kSchema =
    "CREATE TABLE accounts ("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " hash TEXT NOT NULL,"
    " style INTEGER NOT NULL,"
    " female INTEGER NOT NULL,"
    " nation INTEGER NOT NULL,"
    " totem INTEGER NOT NULL);"
    "PRAGMA user_version = 1;";

}  // namespace

bool validAccountName(std::string_view name) {
    if (name.size() < 2 || name.size() > kMaxText || !isLetter(name[0])) return false;
    for (char c : name)
        if (!isLetter(c) && !isDigit(c)) return false;
    return true;
}

bool validPassword(std::string_view password) {
    if (password.size() < 4 || password.size() > kMaxText) return false;
    bool digit = false;
    for (char c : password) {
        if (c < 0x20 || c > 0x7E) return false;
        digit = digit || isDigit(c);
    }
    return digit;
}

std::string hashPassword(std::string_view password) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    // No random bytes given: the library takes them from the system.
    if (!crypt_gensalt_rn("$y$", 0, nullptr, 0, salt, sizeof salt)) return {};
    const std::string phrase(password);
    crypt_data data{};
    const char* out = crypt_rn(phrase.c_str(), salt, &data, sizeof data);
    std::string hash = out && out[0] == '$' ? out : "";
    explicit_bzero(&data, sizeof data);
    return hash;
}

bool verifyPassword(std::string_view password, std::string_view hash) {
    if (hash.empty() || hash[0] != '$') return false;
    const std::string phrase(password), setting(hash);
    crypt_data data{};
    const char* out = crypt_rn(phrase.c_str(), setting.c_str(), &data, sizeof data);
    bool same = false;
    if (out && out[0] == '$') {
        const size_t n = std::strlen(out);
        unsigned diff = n == hash.size() ? 0 : 1;
        for (size_t i = 0; i < n && i < hash.size(); ++i) diff |= unsigned(out[i] ^ hash[i]);
        same = diff == 0;
    }
    explicit_bzero(&data, sizeof data);
    return same;
}

std::unique_ptr<AccountStore> AccountStore::open(const std::string& path, int styleCount,
                                                 std::string& error) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        error = path + ": " + (db ? sqlite3_errmsg(db) : "cannot open");
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<AccountStore> store(new AccountStore(db, styleCount));
    const int version = queryInt(db, "PRAGMA user_version", -1);
    if (version == 0) {
        const int tables = queryInt(db, "SELECT count(*) FROM sqlite_master", -1);
        if (tables != 0) {
            error = path + ": not an account database of this server";
            return nullptr;
        }
        char* message = nullptr;
        if (sqlite3_exec(db, kSchema, nullptr, nullptr, &message) != SQLITE_OK) {
            error = path + ": " + (message ? message : "cannot create the accounts");
            sqlite3_free(message);
            return nullptr;
        }
    } else if (version != kSchemaVersion) {
        error = path + ": unknown schema version " + std::to_string(version) +
                " (this server knows " + std::to_string(kSchemaVersion) + ")";
        return nullptr;
    }
    if (!store->prepare(error)) {
        error = path + ": " + error;
        return nullptr;
    }
    return store;
}

bool AccountStore::prepare(std::string& error) {
    const struct {
        sqlite3_stmt** statement;
        const char* sql;
    } statements[] = {
        {&find_,
         "SELECT id, name, hash, style, female, nation, totem FROM accounts WHERE name = ?1"},
        {&insert_,
         "INSERT INTO accounts (name, hash, style, female, nation, totem) VALUES (?1, ?2, ?3, ?4, "
         "?5, ?6)"},
        {&setHash_, "UPDATE accounts SET hash = ?2 WHERE id = ?1"},
    };
    for (const auto& s : statements) {
        if (sqlite3_prepare_v2(db_, s.sql, -1, s.statement, nullptr) != SQLITE_OK) {
            error = sqlite3_errmsg(db_);
            return false;
        }
    }
    return true;
}

AccountStore::~AccountStore() {
    sqlite3_finalize(find_);
    sqlite3_finalize(insert_);
    sqlite3_finalize(setHash_);
    sqlite3_close(db_);
}

std::optional<std::string> AccountStore::hashOf(std::string_view name, Account* account) {
    bindText(find_, 1, name);
    std::optional<std::string> hash;
    if (sqlite3_step(find_) == SQLITE_ROW) {
        auto column = [this](int i) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(find_, i));
            return std::string(t ? t : "");
        };
        hash = column(2);
        if (account) {
            account->id = sqlite3_column_int64(find_, 0);
            account->name = column(1);
            account->style = sqlite3_column_int(find_, 3);
            account->female = sqlite3_column_int(find_, 4) != 0;
            account->nation = sqlite3_column_int(find_, 5);
            account->totem = sqlite3_column_int(find_, 6);
        }
    }
    sqlite3_reset(find_);
    sqlite3_clear_bindings(find_);
    return hash;
}

bool AccountStore::passwordMatches(std::string_view password,
                                   const std::optional<std::string>& hash) {
    if (hash) return verifyPassword(password, *hash);
    // A name without an account costs as much as a wrong password.
    static const std::string dummy = hashPassword("unused0");
    verifyPassword(password, dummy);
    return false;
}

std::optional<Account> AccountStore::find(std::string_view name) {
    Account a;
    if (!hashOf(name, &a)) return std::nullopt;
    return a;
}

AccountCode AccountStore::checkNew(std::string_view name, std::string_view password) {
    if (!validAccountName(name)) return kBadName;
    if (!validPassword(password)) return kBadPassword;
    if (hashOf(name, nullptr)) return kNameTaken;
    return kAccepted;
}

AccountCode AccountStore::create(std::string_view name, std::string_view password,
                                 const NewCharacter& c) {
    if (const AccountCode code = checkNew(name, password); code != kAccepted) return code;
    if (c.style < 0 || c.style >= styleCount_ || c.nation < 0 || c.nation >= kNations ||
        c.totem < 0 || c.totem >= kTotems)
        return kOutOfRange;
    const std::string hash = hashPassword(password);
    if (hash.empty()) return kBadPassword;
    bindText(insert_, 1, name);
    bindText(insert_, 2, hash);
    sqlite3_bind_int(insert_, 3, c.style);
    sqlite3_bind_int(insert_, 4, c.female ? 1 : 0);
    sqlite3_bind_int(insert_, 5, c.nation);
    sqlite3_bind_int(insert_, 6, c.totem);
    // Taken meanwhile by a name that differs only in case: the unique index refuses it.
    return runToEnd(insert_) ? kAccepted : kNameTaken;
}

AccountCode AccountStore::login(std::string_view name, std::string_view password,
                                Account* account) {
    Account found;
    const auto hash = validAccountName(name) ? hashOf(name, &found) : std::nullopt;
    const bool matches = passwordMatches(password, hash);
    if (!hash) return kNoSuchAccount;
    if (!matches) return kWrongPassword;
    if (account) *account = found;
    return kAccepted;
}

AccountCode AccountStore::changePassword(std::string_view name, std::string_view oldPassword,
                                         std::string_view newPassword) {
    Account a;
    const AccountCode code = login(name, oldPassword, &a);
    if (code != kAccepted) return code;
    if (!validPassword(newPassword)) return kBadPassword;
    const std::string hash = hashPassword(newPassword);
    if (hash.empty()) return kBadPassword;
    sqlite3_bind_int64(setHash_, 1, a.id);
    bindText(setHash_, 2, hash);
    return runToEnd(setHash_) ? kAccepted : kNoSuchAccount;
}

}  // namespace vs::devserver
