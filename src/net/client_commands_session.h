#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/wire.h"
#include "net/wire_fields.h"
#include "net/wire_records.h"

// Client commands of the session: version, login and characters, server choice, transfers,
// crash reports, patches, and the answers to the server's probes.
namespace vs::net {

// 0: the version packet, exactly seven bytes: 00, version, C5, build, 00.
struct CmdVersion {
    static constexpr uint8_t kOpcode = kCmdVersion;
    static constexpr const char* kName = "version";
    uint16_t version = 0;
    uint16_t build = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.version);
        f.constant(0xC5);
        f.u16(m.build);
        f.constant(0);
    }
    bool operator==(const CmdVersion&) const = default;
};

// An account name and its password, the start of the login commands.
struct Credentials {
    std::u16string name;
    std::u16string password;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.name);
        f.text8(m.password);
    }
    bool operator==(const Credentials&) const = default;
};

// 2: is this name free? (name, password, an empty text and a zero byte)
struct CmdNameCheck : Credentials {
    static constexpr uint8_t kOpcode = kCmdNameCheck;
    static constexpr const char* kName = "name check";
    template <class F, class M>
    static void fields(F& f, M& m) {
        Credentials::fields(f, m);
        f.ignoredText8();
        f.constant(0);
    }
};

// 3: login.
struct CmdLogin : Credentials {
    static constexpr uint8_t kOpcode = kCmdLogin;
    static constexpr const char* kName = "login";
};

// 4: create the character whose name was accepted; the nation travels as nation + 1.
struct CmdCreateCharacter {
    static constexpr uint8_t kOpcode = kCmdCreateCharacter;
    static constexpr const char* kName = "create character";
    uint8_t style = 0;
    bool female = false;
    uint8_t nation = 0;
    uint8_t totem = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.style);
        f.flag(m.female);
        f.offsetU8(m.nation, 1);
        f.u8(m.totem);
        f.ignoredText8();
    }
    bool operator==(const CmdCreateCharacter&) const = default;
};

// 16: the transfer token, its bytes without a length.
struct CmdTransferToken {
    static constexpr uint8_t kOpcode = kCmdTransferToken;
    static constexpr const char* kName = "transfer token";
    Bytes token;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.rest(m.token);
    }
    bool operator==(const CmdTransferToken&) const = default;
};

// 21: the new character dialog was cancelled.
struct CmdNewCharacterCancelled : OpcodeOnly<kCmdNewCharacterCancelled> {
    static constexpr const char* kName = "new character cancelled";
};

// 38: change the password.
struct CmdChangePassword {
    static constexpr uint8_t kOpcode = kCmdChangePassword;
    static constexpr const char* kName = "change password";
    std::u16string name;
    std::u16string oldPassword;
    std::u16string newPassword;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.name);
        f.text8(m.oldPassword);
        f.text8(m.newPassword);
    }
    bool operator==(const CmdChangePassword&) const = default;
};

// 66: a pending crash report (at most 4096 bytes of it).
struct CmdCrashReport {
    static constexpr uint8_t kOpcode = kCmdCrashReport;
    static constexpr const char* kName = "crash report";
    static constexpr size_t kMaxBytes = 4096;
    Bytes report;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.constant(1);
        f.bytes16(m.report, kMaxBytes);
        f.constant(0);
    }
    bool operator==(const CmdCrashReport&) const = default;
};

// 69: the answer to a challenge: its value with the two bytes exchanged.
struct CmdChecksumAnswer {
    static constexpr uint8_t kOpcode = kCmdChecksumAnswer;
    static constexpr const char* kName = "checksum answer";
    uint16_t value = 0;  // the challenge's value
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16swapped(m.value);
    }
    bool operator==(const CmdChecksumAnswer&) const = default;
};

// 72: the automatic patch: 0 with a text, 1 with a text and a number, or 2 alone.
struct CmdPatch {
    static constexpr uint8_t kOpcode = kCmdPatch;
    static constexpr const char* kName = "patch";
    uint8_t subKind = 0;
    std::u16string text;
    uint32_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        if (m.subKind == 0 || m.subKind == 1) f.text8(m.text);
        if (m.subKind == 1) f.u32(m.value);
        if (m.subKind > 2) f.reject();
    }
    bool operator==(const CmdPatch&) const = default;
};

// 87: choose a server of the list.
struct CmdChooseServer {
    static constexpr uint8_t kOpcode = kCmdChooseServer;
    static constexpr const char* kName = "choose server";
    uint8_t index = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.constant(0);
        f.u8(m.index);
    }
    bool operator==(const CmdChooseServer&) const = default;
};

// 113: keep-alive from the title screen.
struct CmdKeepAlive : OpcodeOnly<kCmdKeepAlive> {
    static constexpr const char* kName = "keep-alive";
};

// 117: the answer to a clock probe: its value and the client's clock.
struct CmdClockAnswer {
    static constexpr uint8_t kOpcode = kCmdClockAnswer;
    static constexpr const char* kName = "clock answer";
    uint32_t value = 0;
    uint32_t clock = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.value);
        f.u32(m.clock);
    }
    bool operator==(const CmdClockAnswer&) const = default;
};

inline constexpr auto parseCmdVersion = parse<CmdVersion>;
inline constexpr auto parseCmdNameCheck = parse<CmdNameCheck>;
inline constexpr auto parseCmdLogin = parse<CmdLogin>;
inline constexpr auto parseCmdCreateCharacter = parse<CmdCreateCharacter>;
inline constexpr auto parseCmdTransferToken = parse<CmdTransferToken>;
inline constexpr auto parseCmdNewCharacterCancelled = parse<CmdNewCharacterCancelled>;
inline constexpr auto parseCmdChangePassword = parse<CmdChangePassword>;
inline constexpr auto parseCmdCrashReport = parse<CmdCrashReport>;
inline constexpr auto parseCmdChecksumAnswer = parse<CmdChecksumAnswer>;
inline constexpr auto parseCmdPatch = parse<CmdPatch>;
inline constexpr auto parseCmdChooseServer = parse<CmdChooseServer>;
inline constexpr auto parseCmdKeepAlive = parse<CmdKeepAlive>;
inline constexpr auto parseCmdClockAnswer = parse<CmdClockAnswer>;

}  // namespace vs::net
