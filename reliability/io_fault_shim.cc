// The fault tests' preloaded file layer (LD_PRELOAD). It watches the files of one folder and
// interposes the C library calls the engine makes on them, for two purposes:
//
// I/O faults: the Nth call of one kind (read, write, sync, truncate, unlink) on a watched file
// fails once, with EIO, ENOSPC or a short transfer (half the bytes).
//   QMXDAO_SHIM_DIR      the watched folder, ending with '/'
//   QMXDAO_FAULT_OP      read | write | sync | truncate | unlink
//   QMXDAO_FAULT_AT      N, counted from 1 over the calls of that kind
//   QMXDAO_FAULT_ERROR   EIO | ENOSPC | short
//   QMXDAO_SHIM_COUNTS   file that receives "read write sync truncate unlink" counts on disarm
//
// Power cuts: the folder as a power cut would leave it. A file's contents count as of its last
// sync, the folder's entries as of the folder's last sync; the shim keeps both in a shadow folder
// and writes that image on request, or right after the Kth sync, ending the process there.
//   QMXDAO_CUT_SHADOW    the shadow folder (turns the model on)
//   QMXDAO_CUT_IMAGE     the folder that receives the image
//   QMXDAO_CUT_AT        K: after the Kth sync of a watched file or the folder, write the image
//                        and end the process at once (exit status 0)
//
// The process under test calls qmxdao_shim_disarm() and qmxdao_shim_write_image() through
// dlsym; nothing here is linked into the library or the tests.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

enum Kind { kRead, kWrite, kSync, kTruncate, kUnlink, kKinds };
const char* const kKindNames[kKinds] = {"read", "write", "sync", "truncate", "unlink"};

constexpr int kMaxFds = 4096;
constexpr int kMaxEntries = 64;

struct Entry {
  char name[256];
  char shadow[64];  // the shadow file holding the contents as of the last sync
};

// Plain data only: interposed calls may come before any constructor has run.
pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
bool configured = false;
bool armed = false;
char watched[1024];
size_t watchedLength = 0;
bool watchedFds[kMaxFds];
long counts[kKinds];
int faultKind = -1;
long faultAt = 0;
int faultError = 0;  // an errno, or 0 for a short transfer
const char* countsFile = nullptr;
const char* shadowFolder = nullptr;
const char* imageFolder = nullptr;
long cutAt = 0;
long syncs = 0;
long retired = 0;
Entry entries[kMaxEntries];
int entryCount = 0;

template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

#define REAL(name) static auto real_##name = next<decltype(&::name)>(#name)

// The shim's own files bypass the interposed open, which takes the lock the caller holds.
int openQuietly(const char* path, int flags, mode_t mode = 0) {
  REAL(open);
  return real_open(path, flags, mode);
}

bool isWatched(const char* path) {
  return path != nullptr && watchedLength > 0 &&
         (strncmp(path, watched, watchedLength) == 0 ||
          (strncmp(path, watched, watchedLength - 1) == 0 && path[watchedLength - 1] == '\0'));
}

bool watchedFd(int fd) { return fd >= 0 && fd < kMaxFds && watchedFds[fd]; }

void copyFile(int from, const char* to) {
  REAL(pread);
  REAL(write);
  int out = openQuietly(to, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0) return;
  char buffer[65536];
  off_t offset = 0;
  ssize_t got;
  while ((got = real_pread(from, buffer, sizeof buffer, offset)) > 0) {
    real_write(out, buffer, static_cast<size_t>(got));
    offset += got;
  }
  ::close(out);
}

void shadowPath(char* out, size_t size, const char* shadow) {
  snprintf(out, size, "%s/%s", shadowFolder, shadow);
}

// The folder's entries, as its sync makes them durable; each names its file's shadow.
void recordEntries() {
  entryCount = 0;
  DIR* dir = opendir(watched);
  if (dir == nullptr) return;
  while (dirent* entry = readdir(dir)) {
    char path[1400];
    snprintf(path, sizeof path, "%s%s", watched, entry->d_name);
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode) || entryCount == kMaxEntries) continue;
    Entry& e = entries[entryCount++];
    snprintf(e.name, sizeof e.name, "%s", entry->d_name);
    snprintf(e.shadow, sizeof e.shadow, "ino-%lu", static_cast<unsigned long>(info.st_ino));
  }
  closedir(dir);
}

void recordContents(int fd) {
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return;
  char shadow[1200];
  char name[64];
  snprintf(name, sizeof name, "ino-%lu", static_cast<unsigned long>(info.st_ino));
  shadowPath(shadow, sizeof shadow, name);
  copyFile(fd, shadow);
}

// A file about to lose its last name: its inode number may be reused, so the entries that still
// name it keep its shadow under a name of their own.
void retire(const char* path) {
  struct stat info;
  if (shadowFolder == nullptr || stat(path, &info) != 0 || info.st_nlink != 1) return;
  char name[64];
  snprintf(name, sizeof name, "ino-%lu", static_cast<unsigned long>(info.st_ino));
  char dead[64];
  snprintf(dead, sizeof dead, "dead-%ld", ++retired);
  char from[1200];
  char to[1200];
  shadowPath(from, sizeof from, name);
  shadowPath(to, sizeof to, dead);
  rename(from, to);
  for (int i = 0; i < entryCount; ++i) {
    if (strcmp(entries[i].shadow, name) == 0) snprintf(entries[i].shadow, 64, "%s", dead);
  }
}

void writeImage() {
  for (int i = 0; i < entryCount; ++i) {
    char from[1200];
    char to[1400];
    shadowPath(from, sizeof from, entries[i].shadow);
    snprintf(to, sizeof to, "%s/%.255s", imageFolder, entries[i].name);
    int in = openQuietly(from, O_RDONLY);
    if (in >= 0) {
      copyFile(in, to);
      ::close(in);
    } else {
      ::close(openQuietly(to, O_WRONLY | O_CREAT | O_TRUNC, 0644));  // never synced: empty
    }
  }
}

void writeCounts() {
  if (countsFile == nullptr) return;
  FILE* out = fopen(countsFile, "w");
  if (out == nullptr) return;
  for (long count : counts) fprintf(out, "%ld ", count);
  fclose(out);
}

void configure() {
  if (configured) return;
  configured = true;
  const char* dir = getenv("QMXDAO_SHIM_DIR");
  if (dir == nullptr || strlen(dir) + 1 >= sizeof watched) return;
  snprintf(watched, sizeof watched, "%s", dir);
  watchedLength = strlen(watched);
  const char* op = getenv("QMXDAO_FAULT_OP");
  for (int kind = 0; op != nullptr && kind < kKinds; ++kind) {
    if (strcmp(op, kKindNames[kind]) == 0) faultKind = kind;
  }
  const char* at = getenv("QMXDAO_FAULT_AT");
  faultAt = at != nullptr ? atol(at) : 0;
  const char* error = getenv("QMXDAO_FAULT_ERROR");
  faultError = error == nullptr               ? EIO
               : strcmp(error, "ENOSPC") == 0 ? ENOSPC
               : strcmp(error, "short") == 0  ? 0
                                              : EIO;
  countsFile = getenv("QMXDAO_SHIM_COUNTS");
  shadowFolder = getenv("QMXDAO_CUT_SHADOW");
  imageFolder = getenv("QMXDAO_CUT_IMAGE");
  const char* cut = getenv("QMXDAO_CUT_AT");
  cutAt = cut != nullptr ? atol(cut) : 0;
  if (shadowFolder != nullptr) {
    // The folder as it is now counts as synced.
    recordEntries();
    for (int i = 0; i < entryCount; ++i) {
      char path[1400];
      snprintf(path, sizeof path, "%s%.255s", watched, entries[i].name);
      int fd = openQuietly(path, O_RDONLY);
      if (fd >= 0) {
        recordContents(fd);
        ::close(fd);
      }
    }
  }
  armed = true;
}

// Counts a call of kind on a watched file; true when this one is to fail.
bool countAndFail(Kind kind) {
  pthread_mutex_lock(&lock);
  configure();
  bool fail = false;
  if (armed) {
    ++counts[kind];
    fail = kind == faultKind && counts[kind] == faultAt;
  }
  pthread_mutex_unlock(&lock);
  return fail;
}

int failWith(int error) {
  errno = error != 0 ? error : EIO;
  return -1;
}

void track(int fd, const char* path) {
  if (fd < 0 || fd >= kMaxFds) return;
  pthread_mutex_lock(&lock);
  configure();
  watchedFds[fd] = isWatched(path);
  pthread_mutex_unlock(&lock);
}

template <typename Transfer>
ssize_t transfer(Kind kind, int fd, size_t count, Transfer call) {
  if (!watchedFd(fd) || !countAndFail(kind)) return call(count);
  if (faultError != 0) return failWith(faultError);
  return call(count / 2);  // a short transfer
}

// After a sync of a watched file or of the folder itself: the shadow follows it.
void synced(int fd) {
  pthread_mutex_lock(&lock);
  if (armed && shadowFolder != nullptr) {
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
      recordEntries();
    } else {
      recordContents(fd);
    }
    if (cutAt > 0 && ++syncs == cutAt) {
      writeImage();
      _exit(0);
    }
  }
  pthread_mutex_unlock(&lock);
}

int syncCall(int fd, int (*call)(int)) {
  if (watchedFd(fd) && countAndFail(kSync)) return failWith(faultError);
  int rc = call(fd);
  if (rc == 0 && watchedFd(fd)) synced(fd);
  return rc;
}

int openCall(const char* path, int flags, mode_t mode, int (*call)(const char*, int, ...)) {
  int fd = call(path, flags, mode);
  track(fd, path);
  return fd;
}

}  // namespace

extern "C" {

void qmxdao_shim_disarm() {
  pthread_mutex_lock(&lock);
  configure();
  armed = false;
  writeCounts();
  pthread_mutex_unlock(&lock);
}

void qmxdao_shim_write_image() {
  pthread_mutex_lock(&lock);
  configure();
  if (shadowFolder != nullptr && imageFolder != nullptr) writeImage();
  pthread_mutex_unlock(&lock);
}

int open(const char* path, int flags, ...) {
  REAL(open);
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & O_CREAT) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
  va_end(args);
  return openCall(path, flags, mode, real_open);
}

int open64(const char* path, int flags, ...) {
  REAL(open64);
  va_list args;
  va_start(args, flags);
  mode_t mode = (flags & O_CREAT) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
  va_end(args);
  return openCall(path, flags, mode, real_open64);
}

int close(int fd) {
  REAL(close);
  if (fd >= 0 && fd < kMaxFds) watchedFds[fd] = false;
  return real_close(fd);
}

ssize_t read(int fd, void* buffer, size_t count) {
  REAL(read);
  return transfer(kRead, fd, count, [&](size_t n) { return real_read(fd, buffer, n); });
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  REAL(pread);
  return transfer(kRead, fd, count, [&](size_t n) { return real_pread(fd, buffer, n, offset); });
}

ssize_t pread64(int fd, void* buffer, size_t count, off64_t offset) {
  REAL(pread64);
  return transfer(kRead, fd, count, [&](size_t n) { return real_pread64(fd, buffer, n, offset); });
}

ssize_t write(int fd, const void* buffer, size_t count) {
  REAL(write);
  return transfer(kWrite, fd, count, [&](size_t n) { return real_write(fd, buffer, n); });
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  REAL(pwrite);
  return transfer(kWrite, fd, count, [&](size_t n) { return real_pwrite(fd, buffer, n, offset); });
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset) {
  REAL(pwrite64);
  return transfer(kWrite, fd, count,
                  [&](size_t n) { return real_pwrite64(fd, buffer, n, offset); });
}

int fsync(int fd) {
  REAL(fsync);
  return syncCall(fd, real_fsync);
}

int fdatasync(int fd) {
  REAL(fdatasync);
  return syncCall(fd, real_fdatasync);
}

int ftruncate(int fd, off_t length) {
  REAL(ftruncate);
  if (watchedFd(fd) && countAndFail(kTruncate)) return failWith(faultError);
  return real_ftruncate(fd, length);
}

int ftruncate64(int fd, off64_t length) {
  REAL(ftruncate64);
  if (watchedFd(fd) && countAndFail(kTruncate)) return failWith(faultError);
  return real_ftruncate64(fd, length);
}

int unlink(const char* path) {
  REAL(unlink);
  if (isWatched(path)) {
    if (countAndFail(kUnlink)) return failWith(faultError);
    pthread_mutex_lock(&lock);
    if (armed) retire(path);
    pthread_mutex_unlock(&lock);
  }
  return real_unlink(path);
}

int rename(const char* from, const char* to) {
  REAL(rename);
  if (isWatched(to)) {
    pthread_mutex_lock(&lock);
    configure();
    if (armed) retire(to);
    pthread_mutex_unlock(&lock);
  }
  return real_rename(from, to);
}

}  // extern "C"
