#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "net/wire.h"
#include "net/wire_fields.h"
#include "net/wire_records.h"

// Server messages about the session: version and login answers, server transfers, the server
// list, settings the server stores, web notices, and the probes the client answers at once.
namespace vs::net {

// 0: the answer to the version packet. Results 2 and 3 carry a patch: the new version and the
// base addresses of the patch files (code-page bytes, each fits a 256-byte slot with its zero).
struct MsgVersionCheck {
    static constexpr uint8_t kOpcode = kServerVersionCheck;
    enum Result : uint8_t { kAccepted = 0, kRefused = 1, kPatch = 2, kNewPatcher = 3 };
    struct Location {
        Bytes text;
        template <class F, class M>
        static void fields(F& f, M& m) {
            f.bytes8(m.text);
        }
        bool operator==(const Location&) const = default;
    };
    uint8_t result = kAccepted;
    uint16_t newVersion = 0;
    std::vector<Location> locations;

    bool carriesPatch() const { return result == kPatch || result == kNewPatcher; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.result);
        if (m.result == kPatch || m.result == kNewPatcher) {
            f.u16(m.newVersion);
            f.list8(m.locations);
        }
    }
    bool operator==(const MsgVersionCheck&) const = default;
};

// 2: the result of a login, a new character or a password change (0 = accepted).
struct MsgLoginCheck {
    static constexpr uint8_t kOpcode = kServerLoginCheck;
    uint8_t result = 0;
    std::u16string text;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.result);
        f.text8(m.text);
    }
    bool operator==(const MsgLoginCheck&) const = default;
};

// 3: move to another server and present the token there. Address and port 0: no transfer.
struct MsgTileCheck {
    static constexpr uint8_t kOpcode = kServerTileCheck;
    uint32_t address = 0;  // IPv4, network order (the first byte is the highest)
    uint16_t port = 0;
    Bytes token;
    bool transfers() const { return address != 0 || port != 0; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.address);
        f.u16(m.port);
        f.bytes8(m.token);
    }
    bool operator==(const MsgTileCheck&) const = default;
};

// 59: a challenge, answered at once with its value's two bytes exchanged.
struct MsgRequestCRC {
    static constexpr uint8_t kOpcode = kServerRequestCRC;
    uint16_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u16(m.value);
    }
    bool operator==(const MsgRequestCRC&) const = default;
};

// 64: a patch file transfer; its layout is not defined, so it is kept whole.
struct MsgPatchData {
    static constexpr uint8_t kOpcode = kServerPatchData;
    Bytes body;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.rest(m.body);
    }
    bool operator==(const MsgPatchData&) const = default;
};

// 73: in play, a request for the player's face picture; on the title screen, the end of a
// transfer.
struct MsgAskPicture : OpcodeOnly<kServerAskPicture> {};

// 75: a client payload to send back exactly as it came. Only a body that is really there
// (at least one byte, inside the message) is ever echoed.
struct MsgEcho {
    static constexpr uint8_t kOpcode = kServerEcho;
    Bytes body;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.bytes16(m.body);
    }
    bool accept() const { return !body.empty(); }
    bool operator==(const MsgEcho&) const = default;
};

// 86: the server list, zlib-compressed, inflating to at most 2048 bytes. Each entry's text is
// "name", "name;description", "name:more" or "name;description:more".
struct ServerEntry {
    uint8_t id = 0;
    uint32_t address = 0;  // IPv4, network order
    uint16_t port = 0;
    std::u16string name;
    std::u16string description;
    std::u16string more;  // the text after the ':' that ends name or description
    bool operator==(const ServerEntry&) const = default;
};
inline constexpr size_t kServerListMaxBytes = 2048;

struct MsgServerList {
    static constexpr uint8_t kOpcode = kServerServerList;
    std::vector<ServerEntry> servers;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.serverList(m.servers);
    }
    bool operator==(const MsgServerList&) const = default;
};
// The inflated list from its compressed bytes; nothing on any zlib error or an output above
// 2048 bytes. Entries are read inside the inflated bytes; an incomplete entry ends the list.
std::optional<std::vector<ServerEntry>> inflateServerList(std::span<const uint8_t> compressed);
Bytes deflateServerList(const std::vector<ServerEntry>& servers);
std::vector<ServerEntry> parseServerEntries(std::span<const uint8_t> inflated);

// 91: a text and three numbers the client keeps in its settings. The server defines no more
// than that; this is the layout the catalogue uses.
struct MsgStoreSetting {
    static constexpr uint8_t kOpcode = kServerStoreSetting;
    std::u16string text;
    uint32_t first = 0;
    uint32_t second = 0;
    uint32_t third = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.text8(m.text);
        f.u32(m.first);
        f.u32(m.second);
        f.u32(m.third);
    }
    bool operator==(const MsgStoreSetting&) const = default;
};

// 94: a transfer notice; with address and port 0 it only shows the transfer screen.
struct MsgTransferNotice {
    static constexpr uint8_t kOpcode = kServerTransferNotice;
    uint32_t address = 0;
    uint16_t port = 0;
    uint8_t extra = 0;
    bool transfers() const { return address != 0 || port != 0; }
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.address);
        f.u16(m.port);
        f.u8(m.extra);
    }
    bool operator==(const MsgTransferNotice&) const = default;
};

// 102: web notices. Sub-kind 0 shows an address in play; 1 and 2 show a message whose OK opens
// the address (1 then ends the program); 3 sets the address of the web account check.
struct MsgWebNotice {
    static constexpr uint8_t kOpcode = kServerWebNotice;
    enum SubKind : uint8_t { kShow = 0, kOpenAndExit = 1, kOpen = 2, kAccountCheck = 3 };
    uint8_t subKind = kShow;
    std::u16string address;  // sub-kind 0
    Bytes addressBytes;      // sub-kinds 1 to 3: kept in the code page, used as they stand
    std::u16string text;     // sub-kinds 1 and 2
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.subKind);
        if (m.subKind == kShow) {
            f.text16(m.address, 299);
        } else if (m.subKind == kOpenAndExit || m.subKind == kOpen) {
            f.bytes16(m.addressBytes);
            f.text16(m.text, 999);
        } else if (m.subKind == kAccountCheck) {
            f.bytes8(m.addressBytes);
        } else {
            f.reject();
        }
    }
    bool operator==(const MsgWebNotice&) const = default;
};

// 104: a clock probe, answered at once with its value and the client's clock.
struct MsgClockProbe {
    static constexpr uint8_t kOpcode = kServerClockProbe;
    uint32_t value = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u32(m.value);
    }
    bool operator==(const MsgClockProbe&) const = default;
};

// 106: a settings flag; when set the client uploads its name list.
struct MsgNameListFlag {
    static constexpr uint8_t kOpcode = kServerNameListFlag;
    uint8_t flag = 0;
    template <class F, class M>
    static void fields(F& f, M& m) {
        f.u8(m.flag);
    }
    bool operator==(const MsgNameListFlag&) const = default;
};

inline constexpr auto parseVersionCheck = parse<MsgVersionCheck>;
inline constexpr auto parseLoginCheck = parse<MsgLoginCheck>;
inline constexpr auto parseTileCheck = parse<MsgTileCheck>;
inline constexpr auto parseRequestCRC = parse<MsgRequestCRC>;
inline constexpr auto parsePatchData = parse<MsgPatchData>;
inline constexpr auto parseAskPicture = parse<MsgAskPicture>;
inline constexpr auto parseEcho = parse<MsgEcho>;
inline constexpr auto parseServerList = parse<MsgServerList>;
inline constexpr auto parseStoreSetting = parse<MsgStoreSetting>;
inline constexpr auto parseTransferNotice = parse<MsgTransferNotice>;
inline constexpr auto parseWebNotice = parse<MsgWebNotice>;
inline constexpr auto parseClockProbe = parse<MsgClockProbe>;
inline constexpr auto parseNameListFlag = parse<MsgNameListFlag>;

}  // namespace vs::net
