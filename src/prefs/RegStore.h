// Registry keys and their typed values, held in memory the way the Windows
// registry holds them: key and value names compare without regard to letter
// case, strings are UTF-16LE bytes, a DWORD is four little-endian bytes.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace spades {

// Any 32-bit type number can occur in a file; these are the ones we read and write.
enum class TRegType : quint32 { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4 };

struct TRegValue {
    QString Name;  // empty for the key's default value
    TRegType Type = TRegType::None;
    QByteArray Data;

    friend bool operator==(const TRegValue&, const TRegValue&) = default;
};

QByteArray Utf16LeBytes(const QString& text);
// The text of REG_SZ data, cut at its first zero character; an odd last byte is ignored.
QString TextFromRegData(const QByteArray& data);
// The DWORD in four bytes; none for any other size.
std::optional<qint32> DwordFromRegData(const QByteArray& data);

TRegValue MakeStringValue(const QString& name, const QString& text);
TRegValue MakeDwordValue(const QString& name, qint32 number);

class TRegStore {
public:
    struct TKey {
        QString Path;  // as first spelt, components joined by '\'
        QList<TRegValue> Values;  // in the order they were first set

        friend bool operator==(const TKey&, const TKey&) = default;
    };
    using TKeyMap = std::map<QStringList, TKey>;  // by case-folded components

    // Names must be writable as one line of text: no control character but tab,
    // no broken surrogate pair.
    static bool IsValidName(const QString& name);
    // The case-folded components of a key path, none if a component is empty or invalid.
    static std::optional<QStringList> FoldedPath(const QString& path);

    bool HasKey(const QString& path) const;
    bool CreateKey(const QString& path);  // false when the path is not valid
    void DeleteKey(const QString& path);  // and every key below it

    // Null when the key or the value does not exist.
    const TRegValue* FindValue(const QString& keyPath, const QString& name) const;
    // Creates the key when needed; replaces a value of the same name in place.
    bool SetValue(const QString& keyPath, const TRegValue& value);
    void DeleteValue(const QString& keyPath, const QString& name);

    const TKeyMap& Keys() const { return FKeys; }
    bool IsEmpty() const { return FKeys.empty(); }

    friend bool operator==(const TRegStore&, const TRegStore&) = default;

private:
    TKeyMap FKeys;
};

}  // namespace spades
