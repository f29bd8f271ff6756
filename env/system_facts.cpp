#include "env/system_facts.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/base/numbers.h"
#include "platform/sys/files.h"
#include "platform/sys/file_path.h"

namespace vexlo::env {
namespace {

using platform::WString;

// sysfs attributes are a line of text; anything longer is not what we expect.
constexpr size_t kMaxAttributeBytes = 256;

WString HexByte(uint8_t byte) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    return {kHex[byte >> 4], kHex[byte & 0x0F]};
}

std::string ReadAttribute(const std::string& path) {
    platform::FileBytes file = platform::ReadWholeFile(path, kMaxAttributeBytes);
    if (file.status != platform::ReadStatus::kOk) return {};
    std::string text = std::move(file.bytes);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "00:1a:2b:3c:4d:5e" -> its bytes; nullopt unless it is colon-separated pairs of digits.
std::optional<std::vector<uint8_t>> ParseHardwareAddress(std::string_view text) {
    std::vector<uint8_t> bytes;
    while (true) {
        if (text.size() < 2) return std::nullopt;
        const int high = HexDigit(text[0]), low = HexDigit(text[1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        text.remove_prefix(2);
        if (text.empty()) return bytes;
        if (text[0] != ':') return std::nullopt;
        text.remove_prefix(1);
    }
}

bool AllZero(const std::vector<uint8_t>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part) {
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                          [&](char16_t a, char16_t b) { return fold(a) == fold(b); });
    return it != text.end();
}

// One row of the adapter class: the device's index for ordering and its MACAddress property
// (nullopt when it cannot be read).
struct AdapterRow {
    int32_t index = 0;
    std::string name;
    std::optional<WmiValue> macAddress;
};

}  // namespace

WString FirstAdapterMac(const std::vector<platform::LinkAddress>& links) {
    for (const platform::LinkAddress& link : links) {
        if (link.loopback || link.address.empty() || AllZero(link.address)) continue;
        WString text;
        for (size_t i = 0; i < 6; ++i) text += HexByte(i < link.address.size() ? link.address[i] : 0);
        return text;
    }
    return {};
}

WString GetFirstAdapterMac() { return FirstAdapterMac(platform::ListLinkAddresses()); }

WString FormatGuid(const Guid& guid) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer,
                  "{%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.data1,
                  static_cast<unsigned>(guid.data2), static_cast<unsigned>(guid.data3),
                  guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4],
                  guid.data4[5], guid.data4[6], guid.data4[7]);
    return platform::AsciiToWide(buffer);
}

WString NewGuidText() {
    uint8_t bytes[16];
    if (!platform::FillRandomBytes(bytes, sizeof bytes)) return {};
    Guid guid;
    guid.data1 = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                 (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    guid.data2 = static_cast<uint16_t>(bytes[4] | (bytes[5] << 8));
    // A random GUID: version 4, the standard variant.
    guid.data3 = static_cast<uint16_t>(((bytes[6] | (bytes[7] << 8)) & 0x0FFF) | 0x4000);
    std::copy(bytes + 8, bytes + 16, guid.data4.begin());
    guid.data4[0] = static_cast<uint8_t>((guid.data4[0] & 0x3F) | 0x80);
    return FormatGuid(guid);
}

WmiQueryHelper::WmiQueryHelper(std::string netClassFolder)
    : netClassFolder_(std::move(netClassFolder)) {
    struct stat st {};
    connected_ = ::stat(netClassFolder_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

WmiQueryHelper::~WmiQueryHelper() = default;

bool WmiQueryHelper::QueryMacAddresses(platform::WStringView query, std::vector<WString>& out) {
    out.clear();
    if (!connected_) return false;
    // The one class this source knows; its query's conditions (an address is present, the
    // adapter is not a software one) are what the rows below already satisfy.
    if (!ContainsIgnoringCase(query, u"FROM Win32_NetworkAdapter")) return false;

    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(netClassFolder_.c_str()), &::closedir);
    if (!dir) return false;
    std::vector<AdapterRow> rows;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string device = netClassFolder_ + "/" + name;
        struct stat st {};
        // Software-only adapters (loopback, bridges, tunnels, virtual pairs) have no device.
        if (::stat((device + "/device").c_str(), &st) != 0) continue;
        AdapterRow row;
        row.name = name;
        size_t consumed = 0;
        row.index = platform::Strtol32(ReadAttribute(device + "/ifindex"), &consumed);
        if (consumed == 0) row.index = INT32_MAX;
        const std::string address = ReadAttribute(device + "/address");
        auto bytes = ParseHardwareAddress(address);
        if (bytes && AllZero(*bytes)) continue;  // no address: MACAddress is NULL
        if (bytes) {
            WString text;
            for (size_t i = 0; i < bytes->size(); ++i) {
                if (i > 0) text += u':';
                text += HexByte((*bytes)[i]);
            }
            row.macAddress = WmiValue(std::optional<WString>(std::move(text)));
        }
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(), [](const AdapterRow& a, const AdapterRow& b) {
        return a.index != b.index ? a.index < b.index : a.name < b.name;
    });
    for (const AdapterRow& row : rows) {
        if (!row.macAddress) continue;
        WString text;
        VariantToText(*row.macAddress, text);
        out.push_back(std::move(text));
    }
    return true;
}

void WmiQueryHelper::VariantToText(const WmiValue& value, WString& out) {
    struct Visitor {
        WString& out;
        void operator()(const WmiNull&) const {}
        void operator()(const std::optional<WString>& s) const { out = s.value_or(WString()); }
        void operator()(int32_t v) const { out = platform::FormatIntWide(v); }
        void operator()(uint32_t v) const { out = platform::AsciiToWide(std::to_string(v)); }
        void operator()(uint8_t v) const { out = platform::FormatIntWide(v); }
        void operator()(const WmiBool& b) const { out = b.value == -1 ? u"TRUE" : u"FALSE"; }
        void operator()(const std::vector<WString>& items) const {
            if (!items.empty()) out = items.front();
        }
        void operator()(const std::vector<int32_t>& items) const {
            out.clear();
            for (int32_t v : items) out += platform::FormatIntWide(v);
        }
    };
    std::visit(Visitor{out}, value);
}

SystemFactSources SystemFactSources::System() {
    SystemFactSources sources;
    sources.firstAdapterMac = [] { return GetFirstAdapterMac(); };
    sources.queryMacAddresses = [](platform::WStringView query, std::vector<WString>& out) {
        WmiQueryHelper helper;
        return helper.QueryMacAddresses(query, out);
    };
    sources.newGuidText = [] { return NewGuidText(); };
    return sources;
}

}  // namespace vexlo::env
