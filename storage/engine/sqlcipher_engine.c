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

int qmxdao_engine_init(const char *arg) {
  int rc = sqlcipher_extra_init(arg);
  if (rc != SQLITE_OK) return rc;
  default_page_size = 1024;
  default_hmac_algorithm = SQLCIPHER_HMAC_SHA1;
  default_kdf_algorithm = SQLCIPHER_PBKDF2_HMAC_SHA1;
  default_kdf_iter = 64000;
  sqlcipher_set_default_use_hmac(1);
  return SQLITE_OK;
}
