// The text of a registry editor export ("Windows Registry Editor Version 5.00"),
// read into a TRegStore and written back from one. We write UTF-8 with LF line
// ends; we read UTF-8 (with or without a BOM), UTF-16LE with its BOM as the
// editor itself writes it, and CR LF line ends.
#pragma once

#include "RegErrors.h"
#include "RegStore.h"

#include <QByteArray>
#include <QString>

namespace spades {

inline constexpr char RegFileHeader[] = "Windows Registry Editor Version 5.00";
// Far more than a settings file ever needs; larger files are refused unread.
inline constexpr qsizetype MaxRegFileSize = 4 * 1024 * 1024;

// Keys must start at one of these roots.
bool IsRegRootName(const QString& name);

// An empty (or blank) text is an empty store. Throws ERegFileDamaged naming
// fileName and the line of the first fault.
TRegStore ParseRegText(const QByteArray& bytes, const QString& fileName);

QByteArray FormatRegText(const TRegStore& store);

}  // namespace spades
