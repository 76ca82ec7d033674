#include "core/file_reader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "core/prefault.h"

namespace {

struct Fd {
    int fd;
    ~Fd()
    {
        if (fd >= 0) close(fd);
    }
};

std::string why_not_regular(const struct stat& st, size_t max_bytes)
{
    if (S_ISDIR(st.st_mode)) return "it is a folder";
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
    if (static_cast<uint64_t>(st.st_size) > max_bytes)
        return "it is larger than the " + std::to_string(max_bytes) + " bytes its format can need";
    return "";
}

std::string read_all(int fd, size_t max_bytes, std::vector<uint8_t>& bytes)
{
    uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n == 0) return "";
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::strerror(errno);
        }
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() + static_cast<size_t>(n) > max_bytes)
            return "it is larger than the " + std::to_string(max_bytes) + " bytes its format can need";
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
}

}  // namespace

Result read_whole_file(const std::string& path, size_t max_bytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    // Non-blocking, so that opening a FIFO with no writer returns at once.
    const Fd file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) return failed(std::strerror(errno));
    struct stat st {};
    if (fstat(file.fd, &st) != 0) return failed(std::strerror(errno));
    std::string reason = why_not_regular(st, max_bytes);
    try {
        if (reason.empty()) {
            reserve_prefaulted(bytes, static_cast<size_t>(st.st_size));
            reason = read_all(file.fd, max_bytes, bytes);
        }
    } catch (const std::bad_alloc&) {
        reason = "there is not enough memory to read it";
    }
    if (reason.empty()) return {};
    bytes.clear();
    return failed(reason);
}
