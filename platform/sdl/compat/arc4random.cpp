// arc4random for programs that must run on glibc older than 2.36, which lacks it. The link maps
// every call to arc4random onto this function (--wrap=arc4random). getrandom draws from the
// same kernel source as glibc's arc4random and, like it, never fails once the pool is ready.
#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

extern "C" std::uint32_t __wrap_arc4random() {
  std::uint32_t value = 0;
  auto* out = reinterpret_cast<unsigned char*>(&value);
  std::size_t filled = 0;
  while (filled < sizeof value) {
    const ssize_t got = getrandom(out + filled, sizeof value - filled, 0);
    if (got > 0) {
      filled += static_cast<std::size_t>(got);
    } else if (got < 0 && errno != EINTR) {
      std::abort();  // glibc's arc4random, too, aborts when it finds no randomness
    }
  }
  return value;
}
