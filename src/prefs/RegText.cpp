#include "RegText.h"

#include <QStringDecoder>
#include <QtEndian>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace spades {

namespace {

constexpr std::array<const char*, 5> RootNames = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT",
                                                  "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView s)
{
    while (!s.isEmpty() && IsBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && IsBlank(s.back()))
        s.chop(1);
    return s;
}

bool IsHexNumber(QStringView s, qsizetype maxDigits)
{
    if (s.isEmpty() || s.size() > maxDigits)
        return false;
    for (QChar c : s)
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return false;
    return true;
}

bool StartsWithWord(QStringView s, QLatin1StringView word)
{
    return s.startsWith(word, Qt::CaseInsensitive);
}

// ---- Decoding ---------------------------------------------------------------------

// UTF-16LE as the registry editor writes it; a broken surrogate pair is a fault.
QStringList DecodeUtf16Lines(QByteArrayView bytes, const QString& fileName)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
    QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!lines[i].isValidUtf16())
            throw ERegFileDamaged(fileName, int(i + 1), QStringLiteral("the text is not valid UTF-16"));
    if (bytes.size() % 2 != 0)
        throw ERegFileDamaged(fileName, int(lines.size()), QStringLiteral("the file ends inside a character"));
    return lines;
}

QStringList DecodeUtf8Lines(QByteArrayView bytes, const QString& fileName)
{
    QStringList lines;
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        // A stateless decoder per line: a sequence cut by the line end is a fault,
        // and a U+FEFF inside the text stays a character.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        QString line = decoder.decode(bytes.sliced(start, end - start));
        if (decoder.hasError())
            throw ERegFileDamaged(fileName, int(lines.size() + 1), QStringLiteral("the text is not valid UTF-8"));
        lines.append(std::move(line));
        start = end + 1;
    }
    return lines;
}

QStringList DecodeLines(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.size() > MaxRegFileSize)
        throw ERegFileDamaged(fileName, 0, QStringLiteral("the file is larger than %1 bytes").arg(MaxRegFileSize));
    QByteArrayView view(bytes);
    QStringList lines;
    if (view.startsWith("\xFF\xFE"))
        lines = DecodeUtf16Lines(view.sliced(2), fileName);
    else
        lines = DecodeUtf8Lines(view.startsWith("\xEF\xBB\xBF") ? view.sliced(3) : view, fileName);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        for (QChar c : line)
            if (c.unicode() < 0x20 && c != u'\t')
                throw ERegFileDamaged(fileName, int(i + 1),
                                      QStringLiteral("the line holds the control character 0x%1")
                                          .arg(c.unicode(), 2, 16, QLatin1Char('0')));
    }
    return lines;
}

// ---- Parsing ----------------------------------------------------------------------

class TRegTextParser {
public:
    TRegTextParser(const QString& fileName, QStringList lines) : FFileName(fileName), FLines(std::move(lines)) {}

    TRegStore Parse()
    {
        const bool blank = std::all_of(FLines.begin(), FLines.end(), [](const QString& l) { return TrimBlanks(l).isEmpty(); });
        if (blank)
            return {};
        if (TrimBlanks(FLines[0]) != QLatin1StringView(RegFileHeader))
            Fail(0, QStringLiteral("the first line must be \"%1\"").arg(QLatin1StringView(RegFileHeader)));
        for (FIndex = 1; FIndex < FLines.size(); ++FIndex) {
            const QStringView line = TrimBlanks(FLines[FIndex]);
            if (line.isEmpty() || line.startsWith(u';'))
                continue;
            if (line.startsWith(u'['))
                KeyLine(line);
            else
                ValueLine(line);
        }
        return std::move(FStore);
    }

private:
    [[noreturn]] void Fail(qsizetype lineIndex, const QString& reason) const
    {
        throw ERegFileDamaged(FFileName, int(lineIndex + 1), reason);
    }
    [[noreturn]] void Fail(const QString& reason) const { Fail(FIndex, reason); }

    // "[path]" opens a key, "[-path]" deletes it with everything below.
    void KeyLine(QStringView line)
    {
        if (!line.endsWith(u']'))
            Fail(QStringLiteral("a key line must end with ]"));
        QStringView inner = line.sliced(1, line.size() - 2);
        const bool remove = inner.startsWith(u'-');
        if (remove)
            inner = inner.sliced(1);
        const QString path = inner.toString();
        if (!TRegStore::FoldedPath(path))
            Fail(QStringLiteral("the key name [%1] has an empty part").arg(path));
        if (!IsRegRootName(path.section(u'\\', 0, 0)))
            Fail(QStringLiteral("the key [%1] does not start at a known root such as HKEY_CURRENT_USER").arg(path));
        if (remove) {
            FStore.DeleteKey(path);
            FKey.reset();
        } else {
            FStore.CreateKey(path);
            FKey = path;
        }
    }

    void ValueLine(QStringView line)
    {
        if (!FKey)
            Fail(QStringLiteral("a value line must follow a key line"));
        qsizetype pos = 0;
        QString name;
        if (line.front() == u'@')
            pos = 1;
        else if (line.front() == u'"')
            name = Quoted(line, pos);
        else
            Fail(QStringLiteral("a value name must be @ or a quoted text"));
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != u'=')
            Fail(QStringLiteral("expected = after the value name"));
        const QStringView data = TrimBlanks(line.sliced(pos + 1));

        if (data.startsWith(u'"')) {
            qsizetype end = 0;
            const QString text = Quoted(data, end);
            if (end != data.size())
                Fail(QStringLiteral("unexpected text after the quoted value"));
            Store(MakeStringValue(name, text));
        } else if (data == u"-") {
            FStore.DeleteValue(*FKey, name);
        } else if (StartsWithWord(data, QLatin1StringView("dword:"))) {
            const QStringView digits = TrimBlanks(data.sliced(6));
            if (!IsHexNumber(digits, 8))
                Fail(QStringLiteral("a dword value needs one to eight hex digits"));
            Store(MakeDwordValue(name, static_cast<qint32>(digits.toUInt(nullptr, 16))));
        } else if (StartsWithWord(data, QLatin1StringView("hex"))) {
            HexValue(name, data.sliced(3));
        } else {
            Fail(QStringLiteral("unknown value type in \"%1\"").arg(data.left(40)));
        }
    }

    // "hex:" is REG_BINARY; "hex(n):" any type n.
    void HexValue(const QString& name, QStringView rest)
    {
        quint32 type = quint32(TRegType::Binary);
        if (rest.startsWith(u'(')) {
            const qsizetype close = rest.indexOf(u')');
            const QStringView digits = close < 0 ? QStringView() : rest.sliced(1, close - 1);
            if (!IsHexNumber(digits, 8))
                Fail(QStringLiteral("hex( must be followed by a hex type number and )"));
            type = digits.toUInt(nullptr, 16);
            rest = rest.sliced(close + 1);
        }
        if (!rest.startsWith(u':'))
            Fail(QStringLiteral("unknown value type: expected hex: or hex(n):"));
        Store({name, static_cast<TRegType>(type), HexBytes(rest.sliced(1))});
    }

    // Comma-separated bytes; a line ending in a backslash goes on in the next line.
    QByteArray HexBytes(QStringView first)
    {
        QString joined;
        std::vector<std::pair<qsizetype, qsizetype>> lineStarts;  // offset in joined, line index
        QStringView segment = first;
        for (;;) {
            lineStarts.emplace_back(joined.size(), FIndex);
            segment = TrimBlanks(segment);
            if (!segment.endsWith(u'\\')) {
                joined += segment;
                break;
            }
            joined += segment.chopped(1);
            if (++FIndex >= FLines.size())
                Fail(FIndex - 1, QStringLiteral("the file ends inside a continued value"));
            segment = FLines[FIndex];
        }
        QByteArray bytes;
        if (TrimBlanks(joined).isEmpty())
            return bytes;
        qsizetype offset = 0;
        while (offset <= joined.size()) {
            qsizetype comma = joined.indexOf(u',', offset);
            if (comma < 0)
                comma = joined.size();
            const QStringView token = TrimBlanks(QStringView(joined).sliced(offset, comma - offset));
            if (!IsHexNumber(token, 2))
                Fail(LineAt(lineStarts, offset), token.isEmpty() ? QStringLiteral("a hex byte is missing")
                                                                 : QStringLiteral("bad hex byte \"%1\"").arg(token.left(20)));
            bytes.append(static_cast<char>(token.toUInt(nullptr, 16)));
            offset = comma + 1;
        }
        return bytes;
    }

    static qsizetype LineAt(const std::vector<std::pair<qsizetype, qsizetype>>& starts, qsizetype offset)
    {
        qsizetype line = starts.front().second;
        for (const auto& [start, index] : starts)
            if (start <= offset)
                line = index;
        return line;
    }

    // pos at the opening quote; leaves it past the closing one.
    QString Quoted(QStringView line, qsizetype& pos) const
    {
        QString text;
        ++pos;
        while (pos < line.size()) {
            const QChar c = line[pos++];
            if (c == u'"')
                return text;
            if (c == u'\\') {
                if (pos >= line.size())
                    break;
                const QChar escaped = line[pos++];
                if (escaped != u'\\' && escaped != u'"')
                    Fail(QStringLiteral("unknown escape \\%1 in a quoted text (a backslash is written \\\\)").arg(escaped));
                text += escaped;
                continue;
            }
            text += c;
        }
        Fail(QStringLiteral("unterminated quoted text"));
    }

    void Store(const TRegValue& value)
    {
        if (!FStore.SetValue(*FKey, value))
            Fail(QStringLiteral("the value name is not valid"));
    }

    const QString FFileName;
    const QStringList FLines;
    qsizetype FIndex = 0;
    std::optional<QString> FKey;  // none before the first key line and after a deleted key
    TRegStore FStore;
};

// ---- Writing ----------------------------------------------------------------------

QString QuotedText(QString text)
{
    text.replace(u'\\', QLatin1StringView("\\\\"));
    text.replace(u'"', QLatin1StringView("\\\""));
    return u'"' + text + u'"';
}

// REG_SZ data that the quoted form carries exactly; anything else is written as hex(1).
std::optional<QString> QuotableText(const QByteArray& data)
{
    if (data.size() % 2 != 0)
        return std::nullopt;
    QString text = TextFromRegData(data);
    if (text.size() * 2 != data.size() || !TRegStore::IsValidName(text))
        return std::nullopt;
    return text;
}

// Lines stay within 80 columns, each continued one indented by two blanks.
void AppendHexLines(QString& out, QString line, const QByteArray& data)
{
    for (qsizetype i = 0; i < data.size(); ++i) {
        line += QStringLiteral("%1").arg(static_cast<uchar>(data[i]), 2, 16, QLatin1Char('0'));
        if (i + 1 < data.size()) {
            line += u',';
            if (line.size() >= 77) {
                out += line + QLatin1StringView("\\\n");
                line = QStringLiteral("  ");
            }
        }
    }
    out += line + u'\n';
}

void AppendValue(QString& out, const TRegValue& value)
{
    const QString name = (value.Name.isEmpty() ? QStringLiteral("@") : QuotedText(value.Name)) + u'=';
    if (value.Type == TRegType::Sz) {
        if (const auto text = QuotableText(value.Data)) {
            out += name + QuotedText(*text) + u'\n';
            return;
        }
    }
    if (value.Type == TRegType::Dword) {
        if (const auto number = DwordFromRegData(value.Data)) {
            out += name + QStringLiteral("dword:%1\n").arg(static_cast<quint32>(*number), 8, 16, QLatin1Char('0'));
            return;
        }
    }
    const QString prefix = value.Type == TRegType::Binary
                               ? QStringLiteral("hex:")
                               : QStringLiteral("hex(%1):").arg(static_cast<quint32>(value.Type), 0, 16);
    AppendHexLines(out, name + prefix, value.Data);
}

}  // namespace

bool IsRegRootName(const QString& name)
{
    return std::any_of(RootNames.begin(), RootNames.end(),
                       [&](const char* root) { return name.compare(QLatin1StringView(root), Qt::CaseInsensitive) == 0; });
}

TRegStore ParseRegText(const QByteArray& bytes, const QString& fileName)
{
    return TRegTextParser(fileName, DecodeLines(bytes, fileName)).Parse();
}

QByteArray FormatRegText(const TRegStore& store)
{
    QString out = QLatin1StringView(RegFileHeader) + QLatin1StringView("\n\n");
    for (const auto& [folded, key] : store.Keys()) {
        out += u'[' + key.Path + QLatin1StringView("]\n");
        for (const TRegValue& value : key.Values)
            AppendValue(out, value);
        out += u'\n';
    }
    return out.toUtf8();
}

}  // namespace spades
