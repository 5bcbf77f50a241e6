#include "storage/key_cache.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace qmxdao {
namespace {

// SQLCipher's version-3 key derivation: PBKDF2-HMAC-SHA1 over the file's salt.
constexpr int kIterations = 64000;

using DerivedKey = std::array<unsigned char, kDerivedKeySize>;
// The passphrase enters the cache only as its SHA-256 digest, so that clearing the cache zeroes
// every secret it holds.
using CacheKey = std::pair<std::string, std::string>;  // (digest of the passphrase, salt)

struct Cache {
  std::mutex mutex;
  std::map<CacheKey, DerivedKey> keys;
};

Cache& cache() {
  static Cache* instance = new Cache;  // never destroyed: opens may run during static teardown
  return *instance;
}

DerivedKey derive(const std::string& passphrase, const std::string& salt) {
  DerivedKey key{};
  if (PKCS5_PBKDF2_HMAC_SHA1(passphrase.data(), static_cast<int>(passphrase.size()),
                             reinterpret_cast<const unsigned char*>(salt.data()),
                             static_cast<int>(salt.size()), kIterations,
                             static_cast<int>(key.size()), key.data()) != 1) {
    throw std::runtime_error("key derivation failed");
  }
  return key;
}

// Fetched once: EVP_sha256() would have OpenSSL look the algorithm up in its global store (a
// lock and name comparisons) on every open.
const EVP_MD* sha256() {
  static EVP_MD* md = EVP_MD_fetch(nullptr, "SHA256", nullptr);  // kept for the process
  return md;
}

CacheKey cacheKey(const std::string& passphrase, const std::string& salt) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (sha256() == nullptr ||
      EVP_Digest(passphrase.data(), passphrase.size(), digest, &length, sha256(), nullptr) != 1) {
    throw std::runtime_error("key digest failed");
  }
  return CacheKey(std::string(reinterpret_cast<char*>(digest), length), salt);
}

std::string rawKeyText(const DerivedKey& key) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text = "x'";
  for (unsigned char byte : key) {
    text.push_back(kHex[byte >> 4]);
    text.push_back(kHex[byte & 0x0F]);
  }
  text.push_back('\'');
  return text;
}

}  // namespace

std::string rawKeyFor(const std::string& passphrase, const std::string& salt) {
  Cache& c = cache();
  {
    std::lock_guard<std::mutex> lock(c.mutex);
    auto found = c.keys.find(cacheKey(passphrase, salt));
    if (found != c.keys.end()) return rawKeyText(found->second);
  }
  // Derive outside the lock: two threads may both derive the same key once, which is harmless,
  // while a lock held for 40 ms would serialise every first open of the process.
  DerivedKey key = derive(passphrase, salt);
  std::string text = rawKeyText(key);
  std::lock_guard<std::mutex> lock(c.mutex);
  c.keys.emplace(cacheKey(passphrase, salt), key);
  OPENSSL_cleanse(key.data(), key.size());
  return text;
}

void clearDerivedKeys() {
  Cache& c = cache();
  std::lock_guard<std::mutex> lock(c.mutex);
  for (auto& entry : c.keys) OPENSSL_cleanse(entry.second.data(), entry.second.size());
  c.keys.clear();
}

}  // namespace qmxdao
