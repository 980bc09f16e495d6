#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vs::resources {

// The numbered texts of the program, from "str.res" in the archives. One instance, created at
// start-up right after the archives are mounted; reached through instance().
//
// A text that a caller uses as a format goes through FormatText (resources/text_format.h),
// never through printf: the text is data.
class StringTable {
  public:
    static constexpr int kMaxStrings = 1024;
    static constexpr size_t kMaxLine = 1024;  // bytes of one line, and UTF-16 units of a text

    // Loads "str.res" through the archive manager: app::FileError when it is missing,
    // app::MyError "Too many strings" past 1024 lines.
    StringTable();
    // Loads the bytes of a str.res (tests, tools).
    explicit StringTable(std::span<const uint8_t> bytes);
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;
    static StringTable* instance() { return instance_; }

    // The text with that id, or "Invalid String ID". Valid until the table goes.
    const std::u16string& Get(int id) const;
    void GetCopy(int id, std::u16string& out) const { out = Get(id); }
    int count() const { return int(strings_.size()); }

    // Splits str.res bytes into its texts, converted with the current code page; throws
    // app::MyError "Too many strings" when there would be more than 1024.
    static std::vector<std::u16string> parse(std::span<const uint8_t> bytes);

  private:
    std::vector<std::u16string> strings_;
    static inline StringTable* instance_ = nullptr;
};

}  // namespace vs::resources
