// The compound file format (Microsoft's "structured storage", the container of
// .xls and .doc files) checked before a library reads it: the header, the
// sector allocation table with its chains and the directory. A library that
// trusts these structures reads past its buffers when a directory entry names
// more than 64 bytes, and loops or reads nothing when a chain runs in a
// circle; such files are refused here as damaged.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace bw {

// What is wrong with the compound file in `bytes` (German, to follow "Die
// Datei ist beschädigt: "), or nothing when its structures hold together:
// - the header: signature, byte order, sector sizes of version 3 (512 bytes)
//   or 4 (4096 bytes), counts that fit the file;
// - every chain (the allocation table's own sectors, the directory, the short
//   allocation table, the short stream, every stream) ends, stays inside the
//   file and never comes back to a sector it passed, and is long enough for its
//   stream's size;
// - every directory entry: a name of at most 64 bytes and an even count of
//   them; a known type; siblings and child inside the directory; the first
//   entry is the root.
std::optional<QString> compoundFileDamage(const QByteArray& bytes);

} // namespace bw
