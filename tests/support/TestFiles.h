#pragma once

#include <QByteArray>
#include <QString>

// Small file helpers for tests.
namespace TestFiles {

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& data);
// A path in the test's scratch directory.
QString scratchPath(const QString& name);
// A file of these bytes in the scratch directory; its path.
QString scratchFile(const QString& name, const QByteArray& data);
// The directory of committed test fixtures.
QString fixturePath(const QString& name);

} // namespace TestFiles
