#include "app/error.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

#include "base/log.h"
#include "base/text.h"

namespace vs::app {

namespace {
std::u16string capped(std::u16string s) {
    if (s.size() > Error::kMaxText) s.resize(Error::kMaxText);
    return s;
}
}  // namespace

Win32Error::Win32Error() : code_(errno) {}

std::u16string Win32Error::text() const {
    const char* message = strerrordesc_np(code_);
    if (!message) return capped(base::asciiToUtf16(base::strprintf("Win32Error : 0d%08X", unsigned(code_))));
    return capped(base::utf8ToUtf16(base::strprintf("Win32Error : (%d)%s", code_, message)));
}

MyError::MyError(std::u16string text) : text_(capped(std::move(text))) {}

FileError::FileError(std::u16string_view fileName) {
    text_ = u"File not found : ";
    text_ += fileName;
    if (text_.size() > 78) text_.resize(78);
}

FileError::FileError(std::string_view fileName) : FileError(base::utf8ToUtf16(fileName)) {}

std::u16string DDError::text() const {
    if (!message_.empty()) return capped(base::utf8ToUtf16("DirectDrawError: " + message_));
    return base::asciiToUtf16(base::strprintf("DirectDrawError: 0x%08X", code_));
}

std::u16string InternetError::text() const {
    return capped(base::utf8ToUtf16(message_.empty() ? "General internet error" : message_));
}

CaughtError describeCurrentException() {
    try {
        throw;
    } catch (const Error& e) {
        return {e.text(), e.caption()};
    } catch (const std::bad_alloc&) {
        Win32Error e(ENOMEM);
        return {e.text(), e.caption()};
    } catch (const std::exception& e) {
        return {capped(base::utf8ToUtf16(e.what())), u"Error"};
    } catch (...) {
        return {u"Unknown error", u"Error"};
    }
}

}  // namespace vs::app
