// The card deck index parser on arbitrary bytes: it refuses, or gives a name
// fit to show and an SVG file that stays inside the deck's folder.
#include "InstalledDecks.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* why, const QString& value)
{
    std::fprintf(stderr, "%s: %s\n", why, qPrintable(value));
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace spades;
    // The first byte picks the locale the name is asked in.
    static const std::array<QString, 4> locales = {QString(), QStringLiteral("de_AT"),
                                                   QStringLiteral("sr@latin"), QStringLiteral("pt_BR")};
    if (size == 0)
        return 0;
    const QString& locale = locales[data[0] % locales.size()];
    const QByteArray text(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const std::optional<TDeckIndex> index = ParseDeckIndex(text, locale);
    if (!index)
        return 0;
    if (text.size() > MaxDeckIndexBytes)
        Fail("accepted an index past the bound", QString::number(text.size()));
    if (index->Name.isEmpty() || index->Name.size() > 80 || index->Name != index->Name.trimmed())
        Fail("name not fit to show", index->Name);
    for (const QChar c : index->Name)
        if (!c.isPrint())
            Fail("control character in the name", index->Name);
    const QString& svg = index->SvgFile;
    if (svg.isEmpty() || svg == u"." || svg == u".." || svg.contains(u'/') || svg.contains(u'\\') ||
        svg.contains(QChar(0)))
        Fail("SVG file outside the deck's folder", svg);
    return 0;
}
