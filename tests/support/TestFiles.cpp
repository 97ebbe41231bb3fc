#include "TestFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace TestFiles {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size());
}

QString scratchPath(const QString& name)
{
    return QDir::tempPath() + QLatin1Char('/') + name;
}

QString scratchFile(const QString& name, const QByteArray& data)
{
    const QString path = scratchPath(name);
    writeAll(path, data);
    return path;
}

QString fixturePath(const QString& name)
{
    return QStringLiteral(VARNEX_SOURCE_DIR "/tests/fixtures/") + name;
}

} // namespace TestFiles
