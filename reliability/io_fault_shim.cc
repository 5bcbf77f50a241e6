// The fault tests' preloaded file layer (LD_PRELOAD). It counts by kind (0 read, 1 write, 2 sync,
// 3 unlink; the saves truncate nothing) the calls on the folder QMXDAO_SHIM_DIR and its files; call
// number QMXDAO_FAULT_AT of kind QMXDAO_FAULT_KIND fails with errno QMXDAO_FAULT_ERRNO (a short
// transfer is no fault: the engine asks for the rest). Power cuts: each sync of a file copies it to
// the folder QMXDAO_CUT_SHADOW as "ino-N" (by inode number), each sync of the folder lists its
// entries in "entries" there ("name ino-N"); an unlinked file moves there, so that no new file
// takes its inode number. After sync number QMXDAO_CUT_AT the process ends. The process calls
// qmxdao_shim_disarm(countsFile) from one thread.
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/sendfile.h>
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
  return watchedLength > 0 && strncmp(path, watched, watchedLength) == 0 &&
         (path[watchedLength] == '/' || path[watchedLength] == '\0');
}

// The folder or one of its files open as fd (one unlinked since counts too).
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

void recordContents(int fd, const struct stat& info) {
  char path[1400];
  snprintf(path, sizeof path, "%s/ino-%lu", shadow, static_cast<unsigned long>(info.st_ino));
  int out = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  off_t from = 0;
  if (out >= 0) sendfile(out, fd, &from, static_cast<size_t>(info.st_size));
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
    snprintf(path, sizeof path, "%s/%s", watched, entry->d_name);
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

void qmxdao_shim_disarm(const char* countsFile) {
  faultAt = 0;
  shadow = nullptr;
  if (FILE* out = fopen(countsFile, "w")) {
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
  S_ISDIR(info.st_mode) ? recordEntries(false) : recordContents(fd, info);
  if (++syncs == cutAt) _exit(0);
  return rc;
}

int unlink(const char* path) {
  REAL(unlink);
  if (fails(kUnlink, isWatched(path))) return -1;
  if (shadow == nullptr || !isWatched(path)) return real_unlink(path);
  char grave[1400];
  snprintf(grave, sizeof grave, "%s/grave-%lu", shadow, ++graves);
  return rename(path, grave);
}

}  // extern "C"
