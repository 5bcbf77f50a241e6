// The fault tests' preloaded file layer (LD_PRELOAD). It counts the calls by kind (0 read, 1 write,
// 2 sync, 3 unlink) made on the files of the folder QMXDAO_SHIM_DIR (ending with '/'). The saves
// never truncate a file there.
// Call number QMXDAO_FAULT_AT of kind QMXDAO_FAULT_KIND fails with errno QMXDAO_FAULT_ERRNO (a
// short transfer is no fault: the engine asks again for the rest). Power cuts: each sync of a file
// copies it to the folder QMXDAO_CUT_SHADOW as "ino-N" (its inode number), each sync of the folder
// lists its entries in "entries" there ("name ino-N"): the shadow holds what a power cut leaves. An
// unlinked file moves into the shadow, so that no new file takes its inode number. After sync
// number QMXDAO_CUT_AT the process ends. qmxdao_shim_disarm() ends faults and shadow, and writes
// the counts to QMXDAO_SHIM_COUNTS. The process calls from one thread.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Kind { kRead, kWrite, kSync, kUnlink, kKinds };

char watched[1024];
size_t watchedLength = 0;
long counts[kKinds];
long faultKind = 0;
int faultError = 0;
long faultAt = 0;
const char* shadow = nullptr;
long cutAt = 0;
long syncs = 0;
unsigned long graves = 0;

#define REAL(name) \
  static auto real_##name = reinterpret_cast<decltype(&::name)>(dlsym(RTLD_NEXT, #name))

long number(const char* name) {
  const char* text = getenv(name);
  return text != nullptr ? atol(text) : 0;
}

// The folder itself or a file in it.
bool isWatched(const char* path) {
  return watchedLength > 0 && strncmp(path, watched, watchedLength - 1) == 0 &&
         (path[watchedLength - 1] == '/' || path[watchedLength - 1] == '\0');
}

// A file of the folder, or the folder, open as fd (a file unlinked since counts too).
bool watchedFd(int fd) {
  char link[64];
  char path[1400] = "";
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  return readlink(link, path, sizeof path - 1) > 0 && isWatched(path);
}

// Counts a call of kind; true when it is the one to fail, with errno set.
bool fails(Kind kind, bool onWatched) {
  if (!onWatched || ++counts[kind] != faultAt || kind != faultKind) return false;
  errno = faultError;
  return true;
}

// A file of the shadow folder; the text lasts until the next call.
const char* inShadow(const char* prefix, unsigned long number) {
  static char path[1400];
  snprintf(path, sizeof path, "%s/%s%lu", shadow, prefix, number);
  return path;
}

void recordContents(int fd, const struct stat& info) {
  REAL(pread64);
  int out = open(inShadow("ino-", info.st_ino), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  char buffer[65536];
  ssize_t got = 0;
  for (off64_t at = 0; (got = real_pread64(fd, buffer, sizeof buffer, at)) > 0; at += got) {
    if (write(out, buffer, static_cast<size_t>(got)) != got) break;
  }
  close(out);
}

// The folder's entries; with contents, each file's contents too (the folder as first seen).
void recordEntries(bool contents) {
  char path[1400];
  snprintf(path, sizeof path, "%s/entries", shadow);
  DIR* dir = opendir(watched);
  FILE* out = fopen(path, "w");
  for (dirent* entry; dir != nullptr && out != nullptr && (entry = readdir(dir)) != nullptr;) {
    struct stat info;
    snprintf(path, sizeof path, "%s%s", watched, entry->d_name);
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) continue;
    fprintf(out, "%s ino-%lu\n", entry->d_name, static_cast<unsigned long>(info.st_ino));
    int fd = contents ? open(path, O_RDONLY) : -1;
    if (fd >= 0) recordContents(fd, info);
    if (fd >= 0) close(fd);
  }
  if (out != nullptr) fclose(out);
  if (dir != nullptr) closedir(dir);
}

__attribute__((constructor)) void configure() {
  const char* folder = getenv("QMXDAO_SHIM_DIR");
  if (folder == nullptr || strlen(folder) >= sizeof watched) return;
  watchedLength = strlen(strcpy(watched, folder));
  faultKind = number("QMXDAO_FAULT_KIND");
  faultAt = number("QMXDAO_FAULT_AT");
  faultError = static_cast<int>(number("QMXDAO_FAULT_ERRNO"));
  shadow = getenv("QMXDAO_CUT_SHADOW");
  cutAt = number("QMXDAO_CUT_AT");
  if (shadow != nullptr) recordEntries(true);  // the folder as laid counts as synced
}

}  // namespace

extern "C" {

void qmxdao_shim_disarm() {
  faultAt = 0;
  shadow = nullptr;
  const char* file = getenv("QMXDAO_SHIM_COUNTS");
  if (FILE* out = file != nullptr ? fopen(file, "w") : nullptr) {
    for (long count : counts) fprintf(out, "%ld ", count);
    fclose(out);
  }
}

ssize_t pread64(int fd, void* data, size_t size, off64_t at) {
  REAL(pread64);
  return fails(kRead, watchedFd(fd)) ? -1 : real_pread64(fd, data, size, at);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t at) {
  REAL(pwrite64);
  return fails(kWrite, watchedFd(fd)) ? -1 : real_pwrite64(fd, data, size, at);
}

int fsync(int fd) {
  REAL(fsync);
  if (fails(kSync, watchedFd(fd))) return -1;
  int rc = real_fsync(fd);
  struct stat info;
  if (rc != 0 || shadow == nullptr || !watchedFd(fd) || fstat(fd, &info) != 0) return rc;
  if (S_ISDIR(info.st_mode)) recordEntries(false);
  if (!S_ISDIR(info.st_mode)) recordContents(fd, info);
  if (++syncs == cutAt) _exit(0);
  return rc;
}

int unlink(const char* path) {
  REAL(unlink);
  if (fails(kUnlink, isWatched(path))) return -1;
  if (shadow == nullptr || !isWatched(path)) return real_unlink(path);
  return rename(path, inShadow("grave-", ++graves));
}

}  // extern "C"
