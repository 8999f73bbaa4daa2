#include "UsageStats/UsageStatsHashing.h"

#include <cstdio>
#include <openssl/evp.h>
#include <string>

namespace UsageStats {

std::string UsageStatsHashing::sha256(std::string_view text, std::string_view salt) {
    const std::string input = std::string(text) + std::string(salt);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(input.data(), input.size(), digest, &length, EVP_sha256(), nullptr);
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int index = 0; index < length; ++index) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[index]);
        hex += pair;
    }
    return hex;
}

} // namespace UsageStats
