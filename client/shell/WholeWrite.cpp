// WriteWhole: write(2) until everything is out.
#include "client/shell/WholeWrite.h"

#include <unistd.h>

#include <cerrno>

namespace kvt {

bool WriteWhole(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t put = 0;
    while (put < size) {
        const ssize_t n = ::write(fd, bytes + put, size - put);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        put += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kvt
