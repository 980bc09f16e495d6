#include "resources/text_format.h"

#include <cstdio>
#include <vector>

namespace vs::resources {

namespace {

struct Directive {
    size_t end = 0;  // one past the conversion letter
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;  // 0: not a directive
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Parses the directive that starts at format[at] == '%'.
Directive parse(std::u16string_view f, size_t at) {
    Directive d;
    size_t i = at + 1;
    // No blank flag: "100% sure" in a text is a percent sign and a word.
    while (i < f.size() && std::u16string_view(u"-+0#").find(f[i]) != std::u16string_view::npos) {
        if (d.flags.find(char(f[i])) == std::string::npos) d.flags.push_back(char(f[i]));
        ++i;
    }
    auto number = [&](int& out) {
        if (i >= f.size() || !isDigit(f[i])) return true;
        int v = 0;
        while (i < f.size() && isDigit(f[i])) {
            v = v * 10 + (f[i] - u'0');
            if (v > kMaxFormatWidth) return false;
            ++i;
        }
        out = v;
        return true;
    };
    if (!number(d.width)) return {};
    if (i < f.size() && f[i] == u'.') {
        ++i;
        d.precision = 0;
        if (!number(d.precision)) return {};
    }
    if (i < f.size() && f[i] == u'h')
        i += (i + 1 < f.size() && f[i + 1] == u'h') ? 2 : 1;
    else if (i < f.size() && f[i] == u'l')
        i += (i + 1 < f.size() && f[i + 1] == u'l') ? 2 : 1;
    if (i >= f.size()) return {};
    const char16_t c = f[i];
    if (std::u16string_view(u"sdiuxXc").find(c) == std::u16string_view::npos) return {};
    d.conversion = char(c);
    d.end = i + 1;
    return d;
}

void pad(std::u16string& out, std::u16string_view text, const Directive& d) {
    const size_t width = d.width > 0 ? size_t(d.width) : 0;
    const bool left = d.flags.find('-') != std::string::npos;
    if (!left && text.size() < width) out.append(width - text.size(), u' ');
    out += text;
    if (left && text.size() < width) out.append(width - text.size(), u' ');
}

void formatInteger(std::u16string& out, int64_t v, const Directive& d) {
    std::string directive = "%" + d.flags;
    if (d.width >= 0) directive += std::to_string(d.width);
    if (d.precision >= 0) directive += "." + std::to_string(d.precision);
    char buf[2 * kMaxFormatWidth + 32];
    int n;
    if (d.conversion == 'd' || d.conversion == 'i') {
        directive += "lld";
        n = std::snprintf(buf, sizeof buf, directive.c_str(), static_cast<long long>(v));
    } else {
        directive += "ll";
        directive.push_back(d.conversion);
        const auto u = v < 0 ? uint64_t(uint32_t(v)) : uint64_t(v);
        n = std::snprintf(buf, sizeof buf, directive.c_str(), static_cast<unsigned long long>(u));
    }
    for (int k = 0; k < n && k < int(sizeof buf) - 1; ++k) out.push_back(char16_t(uint8_t(buf[k])));
}

}  // namespace

std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args) {
    std::u16string out;
    out.reserve(format.size());
    const FormatArg* next = args.begin();
    for (size_t i = 0; i < format.size();) {
        if (format[i] != u'%') {
            out.push_back(format[i++]);
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            out.push_back(u'%');
            i += 2;
            continue;
        }
        const Directive d = parse(format, i);
        const bool wantsText = d.conversion == 's';
        const bool usable = d.conversion != 0 && next != args.end() &&
                            (next->kind() == FormatArg::Kind::Text) == wantsText;
        if (!usable) {
            // Copied as written; a bad directive copies just its '%'.
            const size_t end = d.conversion ? d.end : i + 1;
            out += format.substr(i, end - i);
            i = end;
            continue;
        }
        if (wantsText) {
            std::u16string_view t = next->text();
            if (d.precision >= 0 && t.size() > size_t(d.precision))
                t = t.substr(0, size_t(d.precision));
            pad(out, t, d);
        } else if (d.conversion == 'c') {
            const char16_t c = char16_t(uint16_t(next->integer()));
            pad(out, std::u16string_view(&c, 1), d);
        } else {
            formatInteger(out, next->integer(), d);
        }
        ++next;
        i = d.end;
    }
    return out;
}

std::string FormatDirectives(std::u16string_view format) {
    std::string kinds;
    for (size_t i = 0; i < format.size();) {
        if (format[i] != u'%') {
            ++i;
        } else if (i + 1 < format.size() && format[i + 1] == u'%') {
            i += 2;
        } else {
            const Directive d = parse(format, i);
            if (d.conversion) kinds.push_back(d.conversion);
            i = d.conversion ? d.end : i + 1;
        }
    }
    return kinds;
}

}  // namespace vs::resources
