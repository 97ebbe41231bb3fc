// Runs a fuzz target's input function over files, without libFuzzer: the
// test suite replays every seed and every input a fuzzer once failed on.
// usage: replay_TARGET FILE|DIRECTORY...
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int ReplayFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    int failures = 0;
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo given(QString::fromLocal8Bit(argv[i]));
        // A target without findings has no folder of them.
        if (!given.exists())
            continue;
        const QStringList files = given.isDir()
            ? QDir(given.filePath()).entryList(QDir::Files | QDir::Hidden)
            : QStringList{given.fileName()};
        const QDir folder = given.isDir() ? QDir(given.filePath()) : given.dir();
        for (const QString& name : files) {
            failures += ReplayFile(folder.filePath(name));
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return failures == 0 ? 0 : 1;
}
