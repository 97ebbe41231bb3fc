#include "document/ArchiveException.h"
#include "document/CNetDoc.h"
#include "support/TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Inputs the loader fuzzer once crashed on. Each must either fail to load
// with an archive error or load, save and load again to the same bytes.
TEST(FuzzRegression, EveryKeptInputLoadsOrFailsCleanly)
{
    const QDir dir(TestFiles::fixturePath("fuzz"));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray input = TestFiles::readAll(dir.filePath(name));
        CNetDoc doc;
        try {
            doc.LoadContents(input);
        } catch (const ArchiveException&) {
            continue;
        }
        EXPECT_FALSE(doc.m_objects.contains(nullptr));
        const QByteArray saved = doc.SaveContents();
        CNetDoc again;
        again.LoadContents(saved);
        EXPECT_EQ(again.SaveContents(), saved);
    }
}

} // namespace
