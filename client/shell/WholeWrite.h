// Writing a whole buffer to a file descriptor, whatever the number of write calls it takes.
#pragma once

#include <cstddef>

namespace kvt {

// False when a write failed (a signal's interruption is retried).
bool WriteWhole(int fd, const void* data, std::size_t size);

}  // namespace kvt
