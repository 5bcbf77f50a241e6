/*
 * The engine's crypto provider of our own, over OpenSSL 3 (storage/engine/crypto_provider.c),
 * and the switch between it and SQLCipher's stock OpenSSL provider.
 *
 * SQLCipher declares its provider interface inside the amalgamation only. The structure below
 * repeats it field for field; storage/engine/sqlcipher_engine.c, which sees both, checks at
 * compile time that every field has the engine's offset and type.
 */
#ifndef QMXDAO_STORAGE_ENGINE_CRYPTO_PROVIDER_H_
#define QMXDAO_STORAGE_ENGINE_CRYPTO_PROVIDER_H_

#ifdef __cplusplus
extern "C" {
#endif

/* What PRAGMA cipher_provider answers for each provider. */
#define QMXDAO_CRYPTO_OWN "qmxdao-openssl"
#define QMXDAO_CRYPTO_STOCK "openssl"

/* Makes the registered provider of this name the one that connections opened from now on use
 * (those already open keep theirs): SQLITE_OK, or SQLITE_NOTFOUND when no provider has the name.
 * The engine registers both at its initialisation, ours as the default; the switch exists for the
 * tests and the benchmarks, which compare the two. Call it while no connection is being opened. */
int qmxdao_engine_use_crypto(const char* name);

#ifndef __cplusplus
/* SQLCipher's algorithm numbers and cipher modes. */
enum {
  QMXDAO_HMAC_SHA1 = 0,
  QMXDAO_HMAC_SHA256 = 1,
  QMXDAO_HMAC_SHA512 = 2,
  QMXDAO_DECRYPT = 0,
  QMXDAO_ENCRYPT = 1
};

typedef struct qmxdao_crypto_provider qmxdao_crypto_provider;
struct qmxdao_crypto_provider {
  int (*init)(void);
  void (*shutdown)(void);
  const char* (*get_provider_name)(void* ctx);
  int (*add_random)(void* ctx, const void* buffer, int length);
  int (*random)(void* ctx, void* buffer, int length);
  int (*hmac)(void* ctx, int algorithm, const unsigned char* hmac_key, int key_sz,
              const unsigned char* in, int in_sz, const unsigned char* in2, int in2_sz,
              unsigned char* out);
  int (*kdf)(void* ctx, int algorithm, const unsigned char* pass, int pass_sz,
             const unsigned char* salt, int salt_sz, int workfactor, int key_sz,
             unsigned char* key);
  int (*cipher)(void* ctx, int mode, const unsigned char* key, int key_sz, const unsigned char* iv,
                const unsigned char* in, int in_sz, unsigned char* out);
  const char* (*get_cipher)(void* ctx);
  int (*get_key_sz)(void* ctx);
  int (*get_iv_sz)(void* ctx);
  int (*get_block_sz)(void* ctx);
  int (*get_hmac_sz)(void* ctx, int algorithm);
  int (*ctx_init)(void** ctx);
  int (*ctx_free)(void** ctx);
  int (*fips_status)(void* ctx);
  const char* (*get_provider_version)(void* ctx);
  qmxdao_crypto_provider* next;
};

/* Fills in our provider's callbacks (the engine links it into its list). */
void qmxdao_crypto_setup(qmxdao_crypto_provider* p);
#endif

#ifdef __cplusplus
}
#endif

#endif /* QMXDAO_STORAGE_ENGINE_CRYPTO_PROVIDER_H_ */
