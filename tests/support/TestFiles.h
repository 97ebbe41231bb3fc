#pragma once

#include <QByteArray>
#include <QString>

// Small file helpers for tests.
namespace TestFiles {

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& data);
// A path in the test's scratch directory.
QString scratchPath(const QString& name);
// The directory of committed test fixtures.
QString fixturePath(const QString& name);

} // namespace TestFiles
