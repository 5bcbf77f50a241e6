/*
 * The engine's crypto provider: the same algorithms and bytes as SQLCipher's stock OpenSSL
 * provider (AES-256-CBC without padding, HMAC-SHA1/256/512, PBKDF2), without OpenSSL 3's
 * per-call costs. The stock provider looks each algorithm up in OpenSSL's global store, builds a
 * fresh context and draws from the locked global generator for every page; here:
 *
 * - The algorithms are fetched once, when the engine registers the provider, and freed when it
 *   shuts down.
 * - Each provider context (one per keyed database of a connection, used by one thread at a time)
 *   keeps its cipher and HMAC contexts. A context is keyed again only when the engine hands it
 *   another key (a re-key); otherwise a page only sets its IV, or restarts the keyed HMAC.
 * - The page IVs (and the rest of a page's reserved bytes, and new files' salts) come from a
 *   CTR-DRBG (NIST SP 800-90A, AES-256) of the context's own, seeded from the operating system's
 *   generator when first used, reseeded from it by OpenSSL at its reseed interval (256 requests
 *   or an hour) and after a fork, and read 4 KB at a time. IVs stay unpredictable, and no page
 *   takes a process-wide lock.
 * - HMAC-SHA1, the page HMAC of the file format, is computed from the key's inner and outer
 *   SHA-1 states, hashed once per key and copied per page (plain structures, no allocation): the
 *   same bytes as the generic HMAC, without its per-call context copies and parameter lookups.
 * - Keys: the engine keeps its keys masked between calls and passes them in the clear for each
 *   call. A context remembers the last key of each of its three uses, to see when it changes;
 *   that copy holds no more than the key schedule OpenSSL keeps in the context anyway. All of it
 *   is wiped (OPENSSL_cleanse, OpenSSL's own clearing frees) when a key changes and when the
 *   engine frees the context.
 */
/* The page HMAC-SHA1 uses OpenSSL's low-level SHA-1, which OpenSSL 3 marks deprecated (it stays
 * in every build of it that keeps the deprecated interfaces, Debian's and ours for Windows). */
#define OPENSSL_SUPPRESS_DEPRECATED

#include "crypto_provider.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/sha.h>
#include <string.h>

#define QMXDAO_OK 0    /* SQLITE_OK */
#define QMXDAO_ERROR 1 /* SQLITE_ERROR */
#define QMXDAO_NOMEM 7 /* SQLITE_NOMEM */

enum { kHmacAlgorithms = 3, kMaxKey = EVP_MAX_KEY_LENGTH, kPool = 4096 };

static const char* const kDigestNames[kHmacAlgorithms] = {"SHA1", "SHA256", "SHA512"};

/* The process's algorithms, fetched by init and freed by shutdown. */
static EVP_CIPHER* aes_cbc;
static EVP_MAC* hmac;
static EVP_MD* digests[kHmacAlgorithms];
static EVP_RAND* ctr_drbg;

/* A context keyed with a remembered key (cipher or HMAC). */
typedef struct {
  int key_sz; /* 0: not keyed */
  unsigned char key[kMaxKey];
} remembered_key;

typedef struct {
  EVP_CIPHER_CTX* cipher[2]; /* by mode: decrypt, encrypt */
  remembered_key cipher_key[2];
  EVP_MAC_CTX* hmac;
  int hmac_algorithm;
  remembered_key hmac_key;
  /* HMAC-SHA1: the states after the key's inner and outer pads, for sha1_key. */
  remembered_key sha1_key;
  SHA_CTX sha1_inner;
  SHA_CTX sha1_outer;
  EVP_RAND_CTX* drbg;
  unsigned char pool[kPool]; /* the generator's output not handed out yet: its last pool_left */
  int pool_left;
} provider_ctx;

static void forget_key(remembered_key* k) {
  OPENSSL_cleanse(k->key, sizeof k->key);
  k->key_sz = 0;
}

static int same_key(const remembered_key* k, const unsigned char* key, int key_sz) {
  return k->key_sz == key_sz && CRYPTO_memcmp(k->key, key, (size_t)key_sz) == 0;
}

static void remember_key(remembered_key* k, const unsigned char* key, int key_sz) {
  memcpy(k->key, key, (size_t)key_sz);
  k->key_sz = key_sz;
}

/* A failed OpenSSL call leaves its reasons in the thread's error queue; the engine reports the
 * failure by its own code, and the queue must not mislead the host's later OpenSSL calls. */
static int failed(void) {
  ERR_clear_error();
  return QMXDAO_ERROR;
}

static void free_algorithms(void) {
  EVP_CIPHER_free(aes_cbc);
  aes_cbc = NULL;
  EVP_MAC_free(hmac);
  hmac = NULL;
  for (int i = 0; i < kHmacAlgorithms; ++i) {
    EVP_MD_free(digests[i]);
    digests[i] = NULL;
  }
  EVP_RAND_free(ctr_drbg);
  ctr_drbg = NULL;
}

static int provider_init(void) {
  aes_cbc = EVP_CIPHER_fetch(NULL, "AES-256-CBC", NULL);
  hmac = EVP_MAC_fetch(NULL, "HMAC", NULL);
  ctr_drbg = EVP_RAND_fetch(NULL, "CTR-DRBG", NULL);
  int ok = aes_cbc != NULL && hmac != NULL && ctr_drbg != NULL;
  for (int i = 0; i < kHmacAlgorithms; ++i) {
    digests[i] = EVP_MD_fetch(NULL, kDigestNames[i], NULL);
    ok = ok && digests[i] != NULL;
  }
  if (ok) return QMXDAO_OK;
  free_algorithms();
  return failed();
}

static void provider_shutdown(void) { free_algorithms(); }

static const char* get_provider_name(void* ctx) {
  (void)ctx;
  return QMXDAO_CRYPTO_OWN;
}

static const char* get_provider_version(void* ctx) {
  (void)ctx;
  return OpenSSL_version(OPENSSL_VERSION);
}

/* The context's generator, instantiated on first use from the operating system's entropy (a
 * DRBG without a parent draws its seed from the system source, not from OpenSSL's global
 * generators). */
static EVP_RAND_CTX* generator(provider_ctx* c) {
  if (c->drbg != NULL) return c->drbg;
  EVP_RAND_CTX* drbg = EVP_RAND_CTX_new(ctr_drbg, NULL);
  OSSL_PARAM params[] = {
      OSSL_PARAM_construct_utf8_string(OSSL_DRBG_PARAM_CIPHER, (char*)"AES-256-CTR", 0),
      OSSL_PARAM_construct_end()};
  if (drbg == NULL || !EVP_RAND_instantiate(drbg, 256, 0, NULL, 0, params)) {
    EVP_RAND_CTX_free(drbg);
    return NULL;
  }
  c->drbg = drbg;
  return drbg;
}

/* A page asks for 48 bytes: they come from a pool that one request to the generator fills for
 * the next 85 pages, so that the generator's fixed costs per request (a system call among them)
 * are not paid on every page. Bytes handed out are wiped from the pool. */
static int random_bytes(void* ctx, void* buffer, int length) {
  provider_ctx* c = ctx;
  EVP_RAND_CTX* drbg = generator(c);
  if (drbg == NULL || length < 0) return failed();
  unsigned char* out = buffer;
  while (length > 0) {
    if (c->pool_left == 0) {
      if (!EVP_RAND_generate(drbg, c->pool, sizeof c->pool, 256, 0, NULL, 0)) return failed();
      c->pool_left = kPool;
    }
    const int n = length < c->pool_left ? length : c->pool_left;
    unsigned char* from = c->pool + (kPool - c->pool_left);
    memcpy(out, from, (size_t)n);
    OPENSSL_cleanse(from, (size_t)n);
    c->pool_left -= n;
    out += n;
    length -= n;
  }
  return QMXDAO_OK;
}

/* PRAGMA cipher_add_random: the bytes go into this connection's generator with fresh system
 * entropy (the stock provider adds them to OpenSSL's global one). */
static int add_random(void* ctx, const void* buffer, int length) {
  provider_ctx* c = ctx;
  EVP_RAND_CTX* drbg = generator(c);
  if (drbg == NULL || length < 0) return failed();
  OPENSSL_cleanse(c->pool, sizeof c->pool); /* what follows reflects the added bytes */
  c->pool_left = 0;
  return EVP_RAND_reseed(drbg, 0, NULL, 0, buffer, (size_t)length) ? QMXDAO_OK : failed();
}

/* The inner and outer states of HMAC-SHA1 under key (RFC 2104): a key longer than SHA-1's block
 * is hashed first. */
static void sha1_hmac_states(provider_ctx* c, const unsigned char* key, int key_sz) {
  unsigned char block[SHA_CBLOCK] = {0};
  if (key_sz > SHA_CBLOCK) {
    SHA1(key, (size_t)key_sz, block);
  } else {
    memcpy(block, key, (size_t)key_sz);
  }
  for (int i = 0; i < SHA_CBLOCK; ++i) block[i] ^= 0x36;
  SHA1_Init(&c->sha1_inner);
  SHA1_Update(&c->sha1_inner, block, sizeof block);
  for (int i = 0; i < SHA_CBLOCK; ++i) block[i] ^= 0x36 ^ 0x5c;
  SHA1_Init(&c->sha1_outer);
  SHA1_Update(&c->sha1_outer, block, sizeof block);
  OPENSSL_cleanse(block, sizeof block);
}

static int hmac_sha1_page(provider_ctx* c, const unsigned char* hmac_key, int key_sz,
                          const unsigned char* in, int in_sz, const unsigned char* in2, int in2_sz,
                          unsigned char* out) {
  if (in_sz < 0 || (in2 != NULL && in2_sz < 0)) return QMXDAO_ERROR;
  if (!same_key(&c->sha1_key, hmac_key, key_sz)) {
    forget_key(&c->sha1_key);
    sha1_hmac_states(c, hmac_key, key_sz);
    remember_key(&c->sha1_key, hmac_key, key_sz);
  }
  unsigned char inner[SHA_DIGEST_LENGTH];
  SHA_CTX work = c->sha1_inner;
  SHA1_Update(&work, in, (size_t)in_sz);
  if (in2 != NULL) SHA1_Update(&work, in2, (size_t)in2_sz);
  SHA1_Final(inner, &work);
  work = c->sha1_outer;
  SHA1_Update(&work, inner, sizeof inner);
  SHA1_Final(out, &work);
  OPENSSL_cleanse(inner, sizeof inner);
  OPENSSL_cleanse(&work, sizeof work);
  return QMXDAO_OK;
}

static int hmac_page(void* ctx, int algorithm, const unsigned char* hmac_key, int key_sz,
                     const unsigned char* in, int in_sz, const unsigned char* in2, int in2_sz,
                     unsigned char* out) {
  provider_ctx* c = ctx;
  if (in == NULL || algorithm < 0 || algorithm >= kHmacAlgorithms || key_sz <= 0 ||
      key_sz > kMaxKey) {
    return QMXDAO_ERROR;
  }
  if (algorithm == QMXDAO_HMAC_SHA1) {
    return hmac_sha1_page(c, hmac_key, key_sz, in, in_sz, in2, in2_sz, out);
  }
  if (c->hmac == NULL && (c->hmac = EVP_MAC_CTX_new(hmac)) == NULL) return failed();
  if (c->hmac_algorithm == algorithm && same_key(&c->hmac_key, hmac_key, key_sz)) {
    if (!EVP_MAC_init(c->hmac, NULL, 0, NULL)) return failed(); /* the same key */
  } else {
    forget_key(&c->hmac_key);
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, (char*)kDigestNames[algorithm], 0),
        OSSL_PARAM_construct_end()};
    if (!EVP_MAC_init(c->hmac, hmac_key, (size_t)key_sz, params)) return failed();
    c->hmac_algorithm = algorithm;
    remember_key(&c->hmac_key, hmac_key, key_sz);
  }
  size_t out_sz = 0;
  const size_t digest_sz = (size_t)EVP_MD_get_size(digests[algorithm]);
  if (!EVP_MAC_update(c->hmac, in, (size_t)in_sz) ||
      (in2 != NULL && !EVP_MAC_update(c->hmac, in2, (size_t)in2_sz)) ||
      !EVP_MAC_final(c->hmac, out, &out_sz, digest_sz) || out_sz != digest_sz) {
    forget_key(&c->hmac_key);
    return failed();
  }
  return QMXDAO_OK;
}

static int kdf(void* ctx, int algorithm, const unsigned char* pass, int pass_sz,
               const unsigned char* salt, int salt_sz, int workfactor, int key_sz,
               unsigned char* key) {
  (void)ctx;
  if (algorithm < 0 || algorithm >= kHmacAlgorithms) return QMXDAO_ERROR;
  return PKCS5_PBKDF2_HMAC((const char*)pass, pass_sz, salt, salt_sz, workfactor,
                           digests[algorithm], key_sz, key)
             ? QMXDAO_OK
             : failed();
}

static int cipher_page(void* ctx, int mode, const unsigned char* key, int key_sz,
                       const unsigned char* iv, const unsigned char* in, int in_sz,
                       unsigned char* out) {
  provider_ctx* c = ctx;
  const int enc = mode == QMXDAO_ENCRYPT;
  EVP_CIPHER_CTX* e = c->cipher[enc];
  remembered_key* k = &c->cipher_key[enc];
  if (key_sz != EVP_CIPHER_get_key_length(aes_cbc) || in_sz < 0) return QMXDAO_ERROR;
  if (e == NULL && (e = c->cipher[enc] = EVP_CIPHER_CTX_new()) == NULL) return failed();
  if (same_key(k, key, key_sz)) {
    if (!EVP_CipherInit_ex2(e, NULL, NULL, iv, enc, NULL)) return failed(); /* a new IV only */
  } else {
    /* Pages are whole blocks: no padding. Set here, for the cipher's context itself, it lasts
     * through the IV-only starts; EVP_CIPHER_CTX_set_padding would be applied again on each. */
    unsigned int padding = 0;
    OSSL_PARAM params[] = {OSSL_PARAM_construct_uint(OSSL_CIPHER_PARAM_PADDING, &padding),
                           OSSL_PARAM_construct_end()};
    forget_key(k);
    if (!EVP_CipherInit_ex2(e, aes_cbc, key, iv, enc, params)) return failed();
    remember_key(k, key, key_sz);
  }
  int n = 0, last = 0;
  if (!EVP_CipherUpdate(e, out, &n, in, in_sz) || !EVP_CipherFinal_ex(e, out + n, &last) ||
      n + last != in_sz) {
    forget_key(k);
    return failed();
  }
  return QMXDAO_OK;
}

static const char* get_cipher(void* ctx) {
  (void)ctx;
  return "AES-256-CBC";
}

static int get_key_sz(void* ctx) {
  (void)ctx;
  return EVP_CIPHER_get_key_length(aes_cbc);
}

static int get_iv_sz(void* ctx) {
  (void)ctx;
  return EVP_CIPHER_get_iv_length(aes_cbc);
}

static int get_block_sz(void* ctx) {
  (void)ctx;
  return EVP_CIPHER_get_block_size(aes_cbc);
}

static int get_hmac_sz(void* ctx, int algorithm) {
  (void)ctx;
  if (algorithm < 0 || algorithm >= kHmacAlgorithms) return 0;
  return EVP_MD_get_size(digests[algorithm]);
}

static int ctx_init(void** ctx) {
  provider_ctx* c = OPENSSL_zalloc(sizeof *c);
  if (c == NULL) return QMXDAO_NOMEM;
  c->hmac_algorithm = -1;
  *ctx = c;
  return QMXDAO_OK;
}

static int ctx_free(void** ctx) {
  provider_ctx* c = *ctx;
  if (c == NULL) return QMXDAO_OK;
  EVP_CIPHER_CTX_free(c->cipher[0]);
  EVP_CIPHER_CTX_free(c->cipher[1]);
  EVP_MAC_CTX_free(c->hmac);
  EVP_RAND_CTX_free(c->drbg);
  OPENSSL_clear_free(c, sizeof *c);
  *ctx = NULL;
  return QMXDAO_OK;
}

static int fips_status(void* ctx) {
  (void)ctx;
  return 0;
}

void qmxdao_crypto_setup(qmxdao_crypto_provider* p) {
  memset(p, 0, sizeof *p);
  p->init = provider_init;
  p->shutdown = provider_shutdown;
  p->get_provider_name = get_provider_name;
  p->add_random = add_random;
  p->random = random_bytes;
  p->hmac = hmac_page;
  p->kdf = kdf;
  p->cipher = cipher_page;
  p->get_cipher = get_cipher;
  p->get_key_sz = get_key_sz;
  p->get_iv_sz = get_iv_sz;
  p->get_block_sz = get_block_sz;
  p->get_hmac_sz = get_hmac_sz;
  p->ctx_init = ctx_init;
  p->ctx_free = ctx_free;
  p->fips_status = fips_status;
  p->get_provider_version = get_provider_version;
}
