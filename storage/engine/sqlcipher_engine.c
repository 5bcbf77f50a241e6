/*
 * The library's storage engine: the pinned SQLCipher amalgamation, compiled in this one unit with
 * an initialisation hook of our own. The engine runs the hook inside sqlite3_initialize (and
 * again after every sqlite3_shutdown), before any connection exists.
 *
 * The hook first does SQLCipher's own set-up, then makes SQLCipher 3's file format the default
 * of every connection the engine opens, ATTACH ... KEY included: 1024-byte pages, page HMAC-SHA1,
 * PBKDF2-HMAC-SHA1 with 64000 iterations. Installations' existing files, the derived-key cache
 * and the stock sqlcipher 3 shell depend on exactly these settings. They are the settings the
 * engine's "PRAGMA cipher_default_compatibility = 3" makes, set here once for the process
 * instead of on each connection.
 *
 * Last, it registers the project's own crypto provider (storage/engine/crypto_provider.c) as the
 * default, ahead of SQLCipher's stock OpenSSL provider, which stays registered behind it. Both
 * write the same bytes; ours avoids OpenSSL's per-call costs on every page.
 */
/* The amalgamation's SQLCipher part uses uint64_t without including its header. The feature
 * macros the amalgamation sets before its first system header must then come first here. */
#if defined(__GNUC__) && !defined(_GNU_SOURCE)
#define _GNU_SOURCE
#endif
#define _LARGE_FILE 1
#define _FILE_OFFSET_BITS 64
#define _LARGEFILE_SOURCE 1
#include <stdint.h>

#include "sqlite3.c"

#include <stddef.h>

#include "crypto_provider.h"
#include "page_hmac.h"

/* Our copy of the provider interface must be the engine's own, field for field. */
#define QMXDAO_SAME_FIELD(field)                                                                   \
  _Static_assert(offsetof(qmxdao_crypto_provider, field) == offsetof(sqlcipher_provider, field) && \
                     __builtin_types_compatible_p(__typeof__(((qmxdao_crypto_provider*)0)->field), \
                                                  __typeof__(((sqlcipher_provider*)0)->field)),    \
                 "crypto provider field " #field)
QMXDAO_SAME_FIELD(init);
QMXDAO_SAME_FIELD(shutdown);
QMXDAO_SAME_FIELD(get_provider_name);
QMXDAO_SAME_FIELD(add_random);
QMXDAO_SAME_FIELD(random);
QMXDAO_SAME_FIELD(hmac);
QMXDAO_SAME_FIELD(kdf);
QMXDAO_SAME_FIELD(cipher);
QMXDAO_SAME_FIELD(get_cipher);
QMXDAO_SAME_FIELD(get_key_sz);
QMXDAO_SAME_FIELD(get_iv_sz);
QMXDAO_SAME_FIELD(get_block_sz);
QMXDAO_SAME_FIELD(get_hmac_sz);
QMXDAO_SAME_FIELD(ctx_init);
QMXDAO_SAME_FIELD(ctx_free);
QMXDAO_SAME_FIELD(fips_status);
QMXDAO_SAME_FIELD(get_provider_version);
_Static_assert(offsetof(qmxdao_crypto_provider, next) == offsetof(sqlcipher_provider, next) &&
                   sizeof(qmxdao_crypto_provider) == sizeof(sqlcipher_provider),
               "crypto provider layout");
_Static_assert(QMXDAO_HMAC_SHA1 == SQLCIPHER_HMAC_SHA1 &&
                   QMXDAO_HMAC_SHA256 == SQLCIPHER_HMAC_SHA256 &&
                   QMXDAO_HMAC_SHA512 == SQLCIPHER_HMAC_SHA512 &&
                   QMXDAO_HMAC_SHA1 == SQLCIPHER_PBKDF2_HMAC_SHA1 &&
                   QMXDAO_HMAC_SHA256 == SQLCIPHER_PBKDF2_HMAC_SHA256 &&
                   QMXDAO_HMAC_SHA512 == SQLCIPHER_PBKDF2_HMAC_SHA512 &&
                   QMXDAO_ENCRYPT == SQLCIPHER_ENCRYPT && QMXDAO_DECRYPT == SQLCIPHER_DECRYPT,
               "crypto provider constants");

/* The registered provider of this name, or NULL. */
static sqlcipher_provider* qmxdao_find_crypto(const char* name) {
  sqlcipher_provider* p = sqlcipher_get_provider();
  while (p != NULL && strcmp(p->get_provider_name(NULL), name) != 0) p = p->next;
  return p;
}

int qmxdao_engine_use_crypto(const char* name) {
  int rc = sqlite3_initialize();
  if (rc != SQLITE_OK) return rc;
  sqlcipher_provider* p = qmxdao_find_crypto(name);
  return p == NULL ? SQLITE_NOTFOUND : sqlcipher_register_provider(p);
}

/* Ours, once per engine initialisation: the engine frees its providers when it shuts down. */
static int qmxdao_register_crypto(void) {
  if (qmxdao_find_crypto(QMXDAO_CRYPTO_OWN) != NULL) return SQLITE_OK;
  sqlcipher_provider* p = sqlcipher_malloc(sizeof(sqlcipher_provider));
  if (p == NULL) return SQLITE_NOMEM;
  qmxdao_crypto_setup((qmxdao_crypto_provider*)p);
  int rc = sqlcipher_register_provider(p);
  if (rc != SQLITE_OK) sqlcipher_free(p, sizeof(sqlcipher_provider));
  return rc;
}

int qmxdao_engine_init(const char* arg) {
  int rc = sqlcipher_extra_init(arg);
  if (rc != SQLITE_OK) return rc;
  default_page_size = 1024;
  default_hmac_algorithm = SQLCIPHER_HMAC_SHA1;
  default_kdf_algorithm = SQLCIPHER_PBKDF2_HMAC_SHA1;
  default_kdf_iter = 64000;
  sqlcipher_set_default_use_hmac(1);
  return qmxdao_register_crypto();
}

static long long qmxdao_check_page_hmacs(struct sqlite3* db, const unsigned char* bytes,
                                         long long offset, int size);

long long qmxdao_engine_check_page_hmacs(struct sqlite3* db, const unsigned char* bytes,
                                         long long offset, int size) {
  sqlite3_mutex_enter(db->mutex);
  const long long page = qmxdao_check_page_hmacs(db, bytes, offset, size);
  sqlite3_mutex_leave(db->mutex);
  return page;
}

static long long qmxdao_check_page_hmacs(struct sqlite3* db, const unsigned char* bytes,
                                         long long offset, int size) {
  Btree* bt = db->aDb[0].pBt;
  if (bt == NULL) return -1;
  Pager* pager = sqlite3BtreePager(bt);
  codec_ctx* ctx = (codec_ctx*)sqlcipherPagerGetCodec(pager);
  unsigned char hmac_out[64]; /* SHA512's, the longest */
  if (ctx == NULL || !SQLCIPHER_FLAG_GET(ctx->flags, CIPHER_FLAG_HMAC) ||
      ctx->hmac_sz > (int)sizeof hmac_out || ctx->page_sz <= 0 ||
      sqlcipher_codec_key_derive(ctx) != SQLITE_OK) {
    return -1;
  }
  const int page1_offset = ctx->plaintext_header_sz ? ctx->plaintext_header_sz : FILE_HEADER_SZ;
  for (int at = 0; at + ctx->page_sz <= size; at += ctx->page_sz) {
    const Pgno page = (Pgno)((offset + at) / ctx->page_sz + 1);
    /* The page of the lock bytes holds nothing. */
    if (sqlite3pager_is_sj_pgno(pager, page)) continue;
    const unsigned char* in = bytes + at;
    int payload_sz = ctx->page_sz - ctx->reserve_sz + ctx->iv_sz;
    if (page == 1) {
      in += page1_offset;
      payload_sz -= page1_offset;
    }
    if (sqlcipher_page_hmac(ctx, ctx->read_ctx, page, (unsigned char*)in, payload_sz, hmac_out) !=
            SQLITE_OK ||
        sqlcipher_memcmp(in + payload_sz, hmac_out, ctx->hmac_sz) != 0) {
      return page;
    }
  }
  return 0;
}
