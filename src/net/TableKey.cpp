#include "TableKey.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include "SecureDeals.h"

namespace spades::net {

std::optional<TTableKey> DeriveTableKey(std::string_view code, const TTableSalt& salt, TKeyCost cost)
{
    TTableKey key{};
    const uint64_t memory = 128 * cost.R * cost.N * 2;  // with room for the library's own
    if (EVP_PBE_scrypt(code.data(), code.size(), salt.data(), salt.size(), cost.N, cost.R, cost.P, memory,
                       key.data(), key.size()) != 1)
        return std::nullopt;
    return key;
}

std::optional<TTableKey> DeriveTableKeyOnWorker(std::string_view code, const TTableSalt& salt)
{
    std::optional<TTableKey> key = DeriveTableKey(code, salt);
    // The pool thread lives on: the library's state for it would outlive its only use.
    OPENSSL_thread_stop();
    return key;
}

TTableSalt FreshSalt()
{
    TTableSalt salt{};
    SecureRandomBytes(salt.data(), salt.size());
    return salt;
}

}  // namespace spades::net
