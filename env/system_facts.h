#pragma once
// Facts about the machine that the identity values are made from: the hardware address of
// the first network adapter, the hardware addresses of the physical adapters (the
// management-query source), and a fresh GUID as the last resort.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/base/text.h"
#include "platform/sys/system_info.h"

namespace vexlo::env {

// 12 uppercase hexadecimal digits of the first non-loopback interface's address (ordered by
// interface index), or the empty text. Addresses shorter than 6 bytes are padded with
// zero bytes; an all-zero address counts as none.
platform::WString GetFirstAdapterMac();
// The choice GetFirstAdapterMac makes, over a given list.
platform::WString FirstAdapterMac(const std::vector<platform::LinkAddress>& links);

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};
};
// "{XXXXXXXX-XXXX-xxxx-XXXX-XXXXXXXXXXXX}" (the third group in lowercase), 38 characters.
platform::WString FormatGuid(const Guid& guid);
// A new random (version 4) GUID in that format, or the empty text when the system's random
// source fails.
platform::WString NewGuidText();

// A property value of a management-query row.
struct WmiNull {};
struct WmiBool {
    int16_t value = 0;  // -1 is true
};
using WmiValue = std::variant<WmiNull,                       // any type without a text
                              std::optional<platform::WString>,  // string; nullopt is a null string
                              int32_t, uint32_t, uint8_t, WmiBool,
                              std::vector<platform::WString>,    // array of strings
                              std::vector<int32_t>>;             // array of 4-byte integers

// Answers the network-adapter query from the kernel's list of network devices
// (/sys/class/net): one row per physical device (one backed by hardware, so not a
// software-only adapter) that has a hardware address, in interface-index order, its
// MACAddress formatted "00:1A:2B:3C:4D:5E".
class WmiQueryHelper {
public:
    static constexpr char16_t kAdapterQuery[] =
        u"SELECT * FROM Win32_NetworkAdapter WHERE ((MACAddress Is Not NULL) AND "
        u"(Manufacturer <> 'Microsoft'))";

    explicit WmiQueryHelper(std::string netClassFolder = "/sys/class/net");
    virtual ~WmiQueryHelper();
    WmiQueryHelper(const WmiQueryHelper&) = delete;
    WmiQueryHelper& operator=(const WmiQueryHelper&) = delete;

    bool Connected() const { return connected_; }

    // Empties `out`; false when not connected or the query names another class. Otherwise
    // appends the MACAddress of every row; a row whose address cannot be read adds nothing.
    bool QueryMacAddresses(platform::WStringView query, std::vector<platform::WString>& out);

    // Converts one property value: strings as they are (a null string gives the empty
    // text), numbers in decimal, booleans as "TRUE"/"FALSE", a string array as its first
    // element, an integer array as its elements' decimal texts one after another; any
    // other value leaves `out` as it was.
    static void VariantToText(const WmiValue& value, platform::WString& out);

private:
    bool connected_ = false;
    std::string netClassFolder_;
};

// Where the identity values take their facts from; tests put fixed ones in.
struct SystemFactSources {
    std::function<platform::WString()> firstAdapterMac;
    std::function<bool(platform::WStringView query, std::vector<platform::WString>& out)>
        queryMacAddresses;
    std::function<platform::WString()> newGuidText;

    // The machine's own sources.
    static SystemFactSources System();
};

}  // namespace vexlo::env
