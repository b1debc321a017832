#include "WinReg.h"

namespace spades {

namespace {
QString InvalidType(const QString& name)
{
    return QStringLiteral("Invalid data type for '%1'").arg(name);
}
QString CreateKeyFailed(const QString& key)
{
    return QStringLiteral("Failed to create key %1").arg(key);
}
QString SetDataFailed(const QString& name)
{
    return QStringLiteral("Failed to set data for '%1'").arg(name);
}
QString GetDataFailed(const QString& name)
{
    return QStringLiteral("Failed to get data for '%1'").arg(name);
}
}  // namespace

TWinRegistry::TWinRegistry(const QString& baseKeyPath, TCommitMode mode)
    : FFile(RegFilePathFor(baseKeyPath)),
      FBaseKey(QStringLiteral("HKEY_CURRENT_USER\\") + (baseKeyPath.startsWith(u'\\') ? baseKeyPath.mid(1) : baseKeyPath)),
      FMode(mode)
{
    const auto status = FFile.Load(FStore);
    if (!status.Ok())
        FReadFailure = Where(status.Detail);
    // Like opening the base key with create: it reaches the file with the first
    // write. A base path that is no valid key makes every write fail later.
    FStore.CreateKey(FBaseKey);
}

QString TWinRegistry::SectionKey(const QString& section) const
{
    return section.isEmpty() ? FBaseKey : FBaseKey + u'\\' + section;
}

const TRegValue* TWinRegistry::Find(const QString& section, const QString& name) const
{
    // Defaults in place of values we could not read would be saved over them.
    if (!FReadFailure.isEmpty())
        throw ERegistryException(GetDataFailed(name), FReadFailure);
    return FStore.FindValue(SectionKey(section), name);
}

QString TWinRegistry::ReadString(const QString& section, const QString& name, const QString& defaultValue) const
{
    const TRegValue* value = Find(section, name);
    if (!value)
        return defaultValue;
    if (value->Type != TRegType::Sz && value->Type != TRegType::ExpandSz)
        throw ERegistryException(InvalidType(name));
    return TextFromRegData(value->Data);
}

int TWinRegistry::ReadInteger(const QString& section, const QString& name, int defaultValue) const
{
    const TRegValue* value = Find(section, name);
    if (!value)
        return defaultValue;
    const auto number = value->Type == TRegType::Dword ? DwordFromRegData(value->Data) : std::nullopt;
    if (!number)
        throw ERegistryException(InvalidType(name));
    return *number;
}

bool TWinRegistry::ReadBool(const QString& section, const QString& name, bool defaultValue) const
{
    return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

void TWinRegistry::WriteString(const QString& section, const QString& name, const QString& value)
{
    Write(section, MakeStringValue(name, value));
}

void TWinRegistry::WriteInteger(const QString& section, const QString& name, int value)
{
    Write(section, MakeDwordValue(name, value));
}

void TWinRegistry::WriteBool(const QString& section, const QString& name, bool value)
{
    WriteInteger(section, name, value ? 1 : 0);
}

void TWinRegistry::Write(const QString& section, const TRegValue& value)
{
    const TPendingWrite write{section, value.Name};
    const QString key = SectionKey(section);
    if (!TRegStore::FoldedPath(key))
        throw ERegistryException(CreateKeyFailed(section.isEmpty() ? FBaseKey : section),
                                 Where(QStringLiteral("not a valid key name")));
    if (!TRegStore::IsValidName(value.Name))
        throw ERegistryException(SetDataFailed(value.Name), Where(QStringLiteral("not a valid value name")));
    // Saving over a file we could not read would lose what it holds.
    if (!FReadFailure.isEmpty())
        throw ERegistryException(SetDataFailed(value.Name), FReadFailure);

    if (FMode == TCommitMode::OnCommit) {
        FStore.SetValue(key, value);
        if (!FFirstPending)
            FFirstPending = write;
        return;
    }
    TRegStore next = FStore;
    next.SetValue(key, value);
    const auto status = FFile.Save(next);
    if (!status.Ok())
        Raise(status, write);
    FStore = std::move(next);
}

void TWinRegistry::Commit()
{
    if (!FFirstPending)
        return;
    const auto status = FFile.Save(FStore);
    if (!status.Ok())
        Raise(status, *FFirstPending);
    FFirstPending.reset();
}

void TWinRegistry::Raise(const TRegFile::TStatus& status, const TPendingWrite& write) const
{
    if (status.Error == TRegFile::TError::CannotCreate)
        throw ERegistryException(CreateKeyFailed(write.Section.isEmpty() ? FBaseKey : write.Section),
                                 Where(status.Detail));
    throw ERegistryException(SetDataFailed(write.Name), Where(status.Detail));
}

QString TWinRegistry::Where(const QString& why) const
{
    // The file first, unless the reason already names it.
    if (why.isEmpty())
        return FFile.Path();
    if (why.contains(FFile.Path()))
        return why;
    return FFile.Path() + QStringLiteral(": ") + why;
}

}  // namespace spades
