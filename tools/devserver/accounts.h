#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vs::devserver {

// The result codes the server sends with its answers to the account commands.
enum AccountCode : uint8_t {
    kAccepted = 0,
    kNameTaken = 3,
    kBadName = 4,
    kBadPassword = 5,
    kOutOfRange = 10,     // style, sex, nation or totem
    kNoNameChecked = 11,  // a creation without an accepted name check
    kNoSuchAccount = 14,
    kWrongPassword = 15,
    kAlreadyInWorld = 19,
};

// 2 to 15 ASCII letters and digits, a letter first.
bool validAccountName(std::string_view name);
// 4 to 15 printable ASCII characters, at least one a digit.
bool validPassword(std::string_view password);

struct Account {
    int64_t id = 0;
    std::string name;  // as it was created
    int style = 0;
    bool female = false;
    int nation = 0;
    int totem = 0;
};

struct NewCharacter {
    int style = 0;
    bool female = false;
    int nation = 0;  // 0 or 1
    int totem = 0;   // 0 to 3
};

// The accounts of the development server in one SQLite file: names unique without regard to
// case, passwords only as salted yescrypt hashes. Every change is committed before it returns.
class AccountStore {
  public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kNations = 2;
    static constexpr int kTotems = 4;

    // Opens or creates the file (":memory:" for one that goes with the store). Nothing, and
    // the reason, for a file that is no account database or has a schema this server does not
    // know.
    static std::unique_ptr<AccountStore> open(const std::string& path, int styleCount,
                                              std::string& error);
    ~AccountStore();
    AccountStore(const AccountStore&) = delete;
    AccountStore& operator=(const AccountStore&) = delete;

    // Whether a new account of this name and password could be made: accepted, bad name, bad
    // password or name taken.
    AccountCode checkNew(std::string_view name, std::string_view password);
    AccountCode create(std::string_view name, std::string_view password, const NewCharacter& c);
    // Accepted (and the account), no such account or wrong password.
    AccountCode login(std::string_view name, std::string_view password, Account* account = nullptr);
    AccountCode changePassword(std::string_view name, std::string_view oldPassword,
                               std::string_view newPassword);
    std::optional<Account> find(std::string_view name);
    int styleCount() const { return styleCount_; }

  private:
    AccountStore(sqlite3* db, int styleCount) : db_(db), styleCount_(styleCount) {}
    bool prepare(std::string& error);
    // The stored hash of the account, and the account, when it exists.
    std::optional<std::string> hashOf(std::string_view name, Account* account);
    bool passwordMatches(std::string_view password, const std::optional<std::string>& hash);

    sqlite3* db_;
    int styleCount_;
    sqlite3_stmt* find_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* setHash_ = nullptr;
};

// A salted yescrypt hash of the password ("$y$..."); empty when the system cannot make one.
std::string hashPassword(std::string_view password);
// Hashes the password with the stored hash's salt and compares in constant time.
bool verifyPassword(std::string_view password, std::string_view hash);

}  // namespace vs::devserver
