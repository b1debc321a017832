#include "PlayerNames.h"

#include <QList>

#include <array>
#include <utility>

#include "NetMessage.h"

namespace spades::net {

namespace {

bool Refused(QChar::Category c)
{
    switch (c) {
    case QChar::Other_Control:
    case QChar::Other_Format:  // invisible joiners and the direction marks and overrides
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// Lower case letters (after case folding) that pass for Latin ones; not the
// whole of Unicode's confusables, the ones a name is likely to be forged with.
constexpr std::array<std::pair<char32_t, char>, 48> LookAlikes = {{
    {U'0', 'o'}, {U'1', 'l'}, {U'i', 'l'}, {U'|', 'l'},
    // Cyrillic
    {U'\u0430', 'a'}, {U'\u0432', 'b'}, {U'\u0435', 'e'}, {U'\u0451', 'e'}, {U'\u043a', 'k'}, {U'\u043c', 'm'},
    {U'\u043d', 'h'}, {U'\u043e', 'o'}, {U'\u0440', 'p'}, {U'\u0441', 'c'}, {U'\u0442', 't'}, {U'\u0443', 'y'},
    {U'\u0445', 'x'}, {U'\u0455', 's'}, {U'\u0456', 'l'}, {U'\u0457', 'l'}, {U'\u0458', 'j'}, {U'\u04bb', 'h'},
    {U'\u04cf', 'l'}, {U'\u0501', 'd'}, {U'\u051b', 'q'}, {U'\u051d', 'w'}, {U'\u0475', 'v'}, {U'\u0433', 'r'},
    // Greek
    {U'\u03b1', 'a'}, {U'\u03b2', 'b'}, {U'\u03b5', 'e'}, {U'\u03b7', 'h'}, {U'\u03b9', 'l'}, {U'\u03ba', 'k'},
    {U'\u03bc', 'm'}, {U'\u03bd', 'v'}, {U'\u03bf', 'o'}, {U'\u03c1', 'p'}, {U'\u03c4', 't'}, {U'\u03c5', 'u'},
    {U'\u03c7', 'x'}, {U'\u03b3', 'y'}, {U'\u03b6', 'z'}, {U'\u03c9', 'w'}, {U'\u03c3', 'o'}, {U'\u03c2', 'c'},
    // Latin look-alikes of Latin letters
    {U'\u0131', 'l'}, {U'\u0261', 'g'},
}};

}  // namespace

std::optional<std::string> NormalName(std::string_view name, std::string* why)
{
    const auto fail = [&](const char* text) -> std::optional<std::string> {
        if (why)
            *why = text;
        return std::nullopt;
    };
    if (!ValidName(name))
        return fail("a name is 1 to 32 bytes of text without control characters");
    const QString normal =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).normalized(QString::NormalizationForm_KC);
    for (char32_t c : normal.toUcs4())
        if (Refused(QChar::category(c)))
            return fail("a name may not hold invisible or direction-changing characters");
    std::string out = normal.toStdString();
    if (!ValidName(out))
        return fail("a name is 1 to 32 bytes of text without control characters");
    return out;
}

QString NameLook(std::string_view name)
{
    const QString decomposed =
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).normalized(QString::NormalizationForm_KD);
    QString look;
    for (char32_t c : decomposed.toCaseFolded().toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing ||
            category == QChar::Separator_Space || Refused(category))
            continue;
        for (const auto& [from, to] : LookAlikes) {
            if (c == from) {
                c = static_cast<char32_t>(to);
                break;
            }
        }
        look += QString::fromUcs4(&c, 1);
    }
    return look;
}

QString ShownText(std::string_view text)
{
    QString shown;
    for (char32_t c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUcs4())
        if (!Refused(QChar::category(c)))
            shown += QString::fromUcs4(&c, 1);
    return shown;
}

bool LooksLikeSeatName(std::string_view name)
{
    const QString look = NameLook(name);
    for (const char* seat : {"North", "East", "South", "West"})
        if (look == NameLook(seat))
            return true;
    return false;
}

}  // namespace spades::net
