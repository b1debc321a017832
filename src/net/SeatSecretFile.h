// Where a joining program keeps its seat's secret while a game is on, so a
// program started again after a crash takes its seat back. One small file per
// table (host, port and the table's salt) and player name, readable by its user alone.
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "NetMessage.h"
#include "TableKey.h"

namespace spades::net {

// The folder the programs keep seat secrets in, under the user's data folder.
QString DefaultSeatFolder();

class TSeatSecretFile {
public:
    // folder empty: nothing is kept.
    TSeatSecretFile(QString folder, const QString& host, quint16 port, const TTableSalt& salt,
                    const std::string& name);

    std::optional<TSeatSecret> Load() const;
    // Written beside its name and renamed over it, mode 0600.
    bool Save(const TSeatSecret& secret) const;
    void Remove() const;
    const QString& Path() const { return FPath; }

private:
    QString FFolder;
    QString FPath;
};

}  // namespace spades::net
