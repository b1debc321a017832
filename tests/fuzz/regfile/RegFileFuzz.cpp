// The .reg parser on arbitrary bytes: it refuses cleanly or gives a store that
// survives writing and reading back unchanged.
#include "RegText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace spades;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TRegStore store;
    try {
        store = ParseRegText(bytes, QStringLiteral("fuzz.reg"));
    } catch (const ERegFileDamaged& e) {
        if (e.Line() < 0 || e.Line() > bytes.count('\n') + 1) {
            std::fprintf(stderr, "line out of range: %s\n", e.what());
            std::abort();
        }
        return 0;
    }
    const QByteArray text = FormatRegText(store);
    try {
        const TRegStore again = ParseRegText(text, QStringLiteral("written.reg"));
        if (!(again == store) || FormatRegText(again) != text) {
            std::fprintf(stderr, "round trip changed the store:\n%s\n", text.constData());
            std::abort();
        }
    } catch (const ERegFileDamaged& e) {
        std::fprintf(stderr, "cannot read back what was written: %s\n%s\n", e.what(), text.constData());
        std::abort();
    }
    return 0;
}
