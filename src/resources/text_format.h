#pragma once
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vs::resources {

// One argument for a text used as a format: a text or an integer.
class FormatArg {
  public:
    enum class Kind { Text, Integer };
    FormatArg(std::u16string_view text) : kind_(Kind::Text), text_(text) {}
    FormatArg(const std::u16string& text) : kind_(Kind::Text), text_(text) {}
    FormatArg(const char16_t* text) : kind_(Kind::Text), text_(text) {}
    template <std::integral T>
    FormatArg(T value) : kind_(Kind::Integer), integer_(int64_t(value)) {}

    Kind kind() const { return kind_; }
    std::u16string_view text() const { return text_; }
    int64_t integer() const { return integer_; }

  private:
    Kind kind_;
    std::u16string_view text_;
    int64_t integer_ = 0;
};

// printf-style formatting for texts that come from resources (string tables, the server), so
// the text can never read more arguments than the program passes, nor of another kind.
// Directives: %[-+0#][width][.precision] then s (a text), d or i (an integer), u (an integer as
// unsigned 32 bits when negative), x or X (hexadecimal, likewise), c (an integer as a
// character); h, l and ll length letters are accepted and ignored; %% is a percent sign.
// A directive whose argument is missing or of the other kind, or any other use of %, is copied
// as written and takes no argument. Widths and precisions above kMaxWidth are copied as written.
inline constexpr int kMaxFormatWidth = 255;
std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args);

// The conversions of a format, in order, as FormatText reads them ("s", "sd", ...): tests and
// tools check that a resource text asks for exactly the arguments its users pass.
std::string FormatDirectives(std::u16string_view format);

}  // namespace vs::resources
