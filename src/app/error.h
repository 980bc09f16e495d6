#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/lobject.h"

namespace vs::app {

// The program's failures. Thrown by value and caught by `const Error&`; the catcher shows or
// stores text() under caption().
class Error : public base::LObject {
public:
    // At most this many UTF-16 units of text are kept, as in the message buffers that show them.
    static constexpr size_t kMaxText = 2047;

    virtual std::u16string text() const = 0;
    virtual std::u16string caption() const { return u"Error"; }
};

// A failed system call, with its error number (errno at construction unless given).
class Win32Error : public Error {
public:
    Win32Error();
    explicit Win32Error(int code) : code_(code) {}
    int code() const { return code_; }
    std::u16string text() const override;

private:
    int code_;
};

// An error with a text of its own.
class MyError : public Error {
public:
    explicit MyError(std::u16string text);
    std::u16string text() const override { return text_; }

private:
    std::u16string text_;
};

// Refused outgoing text that contains the player's password.
class PasswordError : public MyError {
public:
    using MyError::MyError;
    std::u16string caption() const override { return u"Password Warning"; }
};

// A resource that could not be found or read: "File not found : %s", at most 78 characters.
class FileError : public Error {
public:
    explicit FileError(std::u16string_view fileName);
    explicit FileError(std::string_view fileName);
    std::u16string text() const override { return text_; }

private:
    std::u16string text_;
};

// A failure of the display backend, with its code and, when it has one, its message.
class DDError : public Error {
public:
    explicit DDError(uint32_t code, std::string message = {})
        : code_(code), message_(std::move(message)) {}
    std::u16string text() const override;
    uint32_t code() const { return code_; }

private:
    uint32_t code_;
    std::string message_;
};

// A failed HTTP transfer; the message, or "General internet error".
class InternetError : public Error {
public:
    explicit InternetError(std::string message = {}) : message_(std::move(message)) {}
    std::u16string text() const override;

private:
    std::string message_;
};

// The text and caption of whatever a top-level catcher caught: an Error, an exhausted allocator
// or anything else.
struct CaughtError {
    std::u16string text;
    std::u16string caption;
};
CaughtError describeCurrentException();

}  // namespace vs::app
