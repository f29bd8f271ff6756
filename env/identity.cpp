#include "env/identity.h"

#include <openssl/evp.h>

#include <memory>

namespace vexlo::env {

uint32_t MachineHash(platform::WStringView text) {
    uint32_t h = 0;
    for (char16_t c : text) {
        h = (h << 4) + c;
        const uint32_t g = h & 0xF0000000u;
        if (g != 0) {
            // The original shifts a signed value: bit 31 of g spreads into bits 8..27.
            const auto spread = static_cast<uint32_t>(static_cast<int32_t>(g) >> 24);
            h ^= spread;
            h &= 0x0FFFFFFFu;
        }
    }
    return h;
}

platform::WString Md5Hex(std::string_view bytes) {
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest, &length) != 1) {
        return {};
    }
    static constexpr char16_t kHex[] = u"0123456789abcdef";
    platform::WString out;
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 0x0F];
    }
    return out;
}

platform::WString AutToken(platform::WStringView identifier) {
    platform::WString salted(identifier);
    salted += kAutSalt;
    return Md5Hex(platform::WideToAnsi(salted));
}

}  // namespace vexlo::env
