#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Runs every test with settings, temporary files and snapshots in a
// directory of its own, so that tests never read or write the user's configuration.
int main(int argc, char** argv)
{
    QTemporaryDir scratch;
    qputenv("VARNEX_SETTINGS", (scratch.path() + QStringLiteral("/Varnex.ini")).toLocal8Bit());
    qputenv("TMPDIR", scratch.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (scratch.path() + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Widget tests need the full application; the model tests do not mind.
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
