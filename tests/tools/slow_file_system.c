// A file system of one file, a copy of a real one, read at a set number of bytes a second:
// a slow disk (a network share, a sleeping drive) for tests of what waits on a read.
//   slow_file_system SOURCE BYTES_PER_SECOND MOUNT_POINT
// serves SOURCE as MOUNT_POINT/<its name> until unmounted (fusermount3 -u MOUNT_POINT).
#define FUSE_USE_VERSION 31

#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <libgen.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static int source = -1;
static struct stat sourceStat;
static char servedPath[4096];
static double bytesPerSecond;

static int getAttributes(const char* path, struct stat* into, struct fuse_file_info* file) {
    (void)file;
    memset(into, 0, sizeof(*into));
    if (strcmp(path, "/") == 0) {
        into->st_mode = S_IFDIR | 0755;
        into->st_nlink = 2;
        return 0;
    }
    if (strcmp(path, servedPath) != 0) {
        return -ENOENT;
    }
    into->st_mode = S_IFREG | 0444;
    into->st_nlink = 1;
    into->st_size = sourceStat.st_size;
    into->st_mtim = sourceStat.st_mtim;
    return 0;
}

static int readFolder(const char* path, void* into, fuse_fill_dir_t fill, off_t offset,
                      struct fuse_file_info* file, enum fuse_readdir_flags flags) {
    (void)offset, (void)file, (void)flags;
    if (strcmp(path, "/") != 0) {
        return -ENOENT;
    }
    fill(into, ".", NULL, 0, 0);
    fill(into, "..", NULL, 0, 0);
    fill(into, servedPath + 1, NULL, 0, 0);
    return 0;
}

static int openFile(const char* path, struct fuse_file_info* file) {
    if (strcmp(path, servedPath) != 0) {
        return -ENOENT;
    }
    if ((file->flags & O_ACCMODE) != O_RDONLY) {
        return -EACCES;
    }
    file->direct_io = 1; // every read comes here, none from the page cache
    return 0;
}

// Reads as the source does, then takes as long as the set speed says.
static int readFile(const char* path, char* into, size_t count, off_t offset,
                    struct fuse_file_info* file) {
    (void)path, (void)file;
    const ssize_t read = pread(source, into, count, offset);
    if (read < 0) {
        return -errno;
    }
    const double seconds = (double)read / bytesPerSecond;
    struct timespec pause = {(time_t)seconds, (long)((seconds - (double)(time_t)seconds) * 1e9)};
    nanosleep(&pause, NULL);
    return (int)read;
}

int main(int argc, char** argv) {
    if (argc != 4 || (bytesPerSecond = atof(argv[2])) <= 0) {
        return 2;
    }
    source = open(argv[1], O_RDONLY);
    if (source < 0 || fstat(source, &sourceStat) != 0) {
        return 1;
    }
    servedPath[0] = '/';
    strncpy(servedPath + 1, basename(argv[1]), sizeof(servedPath) - 2);
    static const struct fuse_operations operations = {
        .getattr = getAttributes,
        .readdir = readFolder,
        .open = openFile,
        .read = readFile,
    };
    // In the foreground and on one thread, so that reads queue behind each other as on a
    // slow disk; readable by every user.
    char* arguments[] = {argv[0], "-f", "-s", "-o", "allow_other", argv[3], NULL};
    return fuse_main(6, arguments, &operations, NULL);
}
