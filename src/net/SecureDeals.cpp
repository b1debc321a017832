#include "SecureDeals.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace spades::net {

void SecureRandomBytes(void* data, size_t size)
{
    auto* out = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = getrandom(out, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // Without the system's generator no fair or secret deal is possible.
            std::perror("getrandom");
            std::abort();
        }
        out += n;
        size -= static_cast<size_t>(n);
    }
}

uint32_t TSecureDeals::Word()
{
    if (FNext == FWords.size()) {
        SecureRandomBytes(FWords.data(), sizeof FWords);
        FNext = 0;
    }
    return FWords[FNext++];
}

}  // namespace spades::net
