// The tables of the history file and the steps that bring an older file up to
// date. The file's user_version is its schema version; 0 is an empty file.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <stdexcept>

namespace spades {

// A failure of the history file, with SQLite's own words.
class EHistoryError : public std::runtime_error {
public:
    explicit EHistoryError(const QString& text) : std::runtime_error(text.toUtf8().toStdString()) {}
    QString Text() const { return QString::fromUtf8(what()); }
};

constexpr int FirstSchemaVersion = 1;
constexpr int CurrentSchemaVersion = 4;

// Runs a prepared (or the given) statement; throws EHistoryError when it fails.
void Run(QSqlQuery& query);
void Run(QSqlQuery& query, const QString& sql);
void Run(const QSqlDatabase& db, const QString& sql);

int SchemaVersion(const QSqlDatabase& db);

// The first version's tables, as files written then still hold them.
void CreateFirstVersion(const QSqlDatabase& db);

// Brings the file from whatever version it has to the current one, inside the
// caller's transaction. A file from a newer program is refused.
void UpgradeSchema(const QSqlDatabase& db);

}  // namespace spades
