/*
 * The page HMAC test of the engine's own check (PRAGMA cipher_integrity_check), made on pages
 * already in memory: a byte copy of a keyed file checks the bytes it is about to write, with the
 * source connection's own keys and settings, without reading the file a second time.
 */
#ifndef QMXDAO_STORAGE_ENGINE_PAGE_HMAC_H_
#define QMXDAO_STORAGE_ENGINE_PAGE_HMAC_H_

#ifdef __cplusplus
extern "C" {
#endif

struct sqlite3;

/* bytes: size bytes of whole pages of the main database of db, as they lie in its file from byte
 * offset on. Returns 0 when every page's HMAC checks out, the number of the first page whose HMAC
 * does not, or -1 when the main database has no page HMACs (not keyed) or its keys cannot be
 * derived. db is inside a read transaction of its main database. */
long long qmxdao_engine_check_page_hmacs(struct sqlite3* db, const unsigned char* bytes,
                                         long long offset, int size);

#ifdef __cplusplus
}
#endif

#endif /* QMXDAO_STORAGE_ENGINE_PAGE_HMAC_H_ */
