#include "RegStore.h"

#include <QtEndian>
#include <algorithm>

namespace spades {

QByteArray Utf16LeBytes(const QString& text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}

QString TextFromRegData(const QByteArray& data)
{
    QString text;
    text.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = qFromLittleEndian<quint16>(data.constData() + i);
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

std::optional<qint32> DwordFromRegData(const QByteArray& data)
{
    if (data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(data.constData());
}

TRegValue MakeStringValue(const QString& name, const QString& text)
{
    return {name, TRegType::Sz, Utf16LeBytes(text)};
}

TRegValue MakeDwordValue(const QString& name, qint32 number)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian<qint32>(number, bytes.data());
    return {name, TRegType::Dword, bytes};
}

namespace {
bool SameName(const QString& a, const QString& b)
{
    return a.toCaseFolded() == b.toCaseFolded();
}

bool StartsWith(const QStringList& path, const QStringList& prefix)
{
    return path.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}
}  // namespace

bool TRegStore::IsValidName(const QString& name)
{
    const bool hasControl = std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
    return !hasControl && name.isValidUtf16();
}

std::optional<QStringList> TRegStore::FoldedPath(const QString& path)
{
    QStringList parts = path.split(u'\\');
    for (QString& part : parts) {
        if (part.isEmpty() || !IsValidName(part))
            return std::nullopt;
        part = part.toCaseFolded();
    }
    return parts;
}

bool TRegStore::HasKey(const QString& path) const
{
    const auto folded = FoldedPath(path);
    return folded && FKeys.count(*folded) > 0;
}

bool TRegStore::CreateKey(const QString& path)
{
    const auto folded = FoldedPath(path);
    if (!folded)
        return false;
    FKeys.try_emplace(*folded, TKey{path, {}});
    return true;
}

void TRegStore::DeleteKey(const QString& path)
{
    const auto folded = FoldedPath(path);
    if (!folded)
        return;
    std::erase_if(FKeys, [&](const auto& entry) { return StartsWith(entry.first, *folded); });
}

const TRegValue* TRegStore::FindValue(const QString& keyPath, const QString& name) const
{
    const auto folded = FoldedPath(keyPath);
    if (!folded)
        return nullptr;
    const auto key = FKeys.find(*folded);
    if (key == FKeys.end())
        return nullptr;
    const auto& values = key->second.Values;
    const auto found = std::find_if(values.begin(), values.end(), [&](const TRegValue& v) { return SameName(v.Name, name); });
    return found == values.end() ? nullptr : &*found;
}

bool TRegStore::SetValue(const QString& keyPath, const TRegValue& value)
{
    const auto folded = FoldedPath(keyPath);
    if (!folded || !IsValidName(value.Name))
        return false;
    auto& values = FKeys.try_emplace(*folded, TKey{keyPath, {}}).first->second.Values;
    const auto found = std::find_if(values.begin(), values.end(), [&](const TRegValue& v) { return SameName(v.Name, value.Name); });
    if (found == values.end()) {
        values.append(value);
    } else {
        // The first spelling of the name stays, as in the registry.
        found->Type = value.Type;
        found->Data = value.Data;
    }
    return true;
}

void TRegStore::DeleteValue(const QString& keyPath, const QString& name)
{
    const auto folded = FoldedPath(keyPath);
    if (!folded)
        return;
    const auto key = FKeys.find(*folded);
    if (key != FKeys.end())
        key->second.Values.removeIf([&](const TRegValue& v) { return SameName(v.Name, name); });
}

}  // namespace spades
