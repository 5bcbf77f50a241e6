// The derived-key cache. Opening a keyed file with its passphrase costs a PBKDF2 derivation of
// about 40 ms, and every operation opens its own connection. The cache derives the 32-byte key
// once per (passphrase, file salt) in the process, so that later opens use the raw key and only
// the first open of a file pays the derivation. The result is byte for byte the same file.
#pragma once

#include <array>
#include <string>

namespace qmxdao {

constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kDerivedKeySize = 32;

// The raw-key form "x'<64 hex digits>'" of the key that passphrase and salt derive to.
std::string rawKeyFor(const std::string& passphrase, const std::string& salt);
// Forgets every derived key, zeroing its memory.
void clearDerivedKeys();

}  // namespace qmxdao
