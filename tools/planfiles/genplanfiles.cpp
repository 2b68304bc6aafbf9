// Writes the plan-definition files system.txt and ko_system.txt into the given
// folder (normally resources/Files), after checking them with the validators.
//
//   genplanfiles <folder>
#include "planfilecheck.h"
#include "plangen.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool write(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        std::fprintf(stderr, "genplanfiles: cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: genplanfiles <folder>\n");
        return 2;
    }
    const QDir folder(args[1]);
    const QByteArray groups = bw::plangen::groupOrderFileText();
    const QByteArray brackets = bw::plangen::doubleKoFileText();

    // Check what would be written before anything is replaced.
    QTemporaryDir scratch;
    if (!write(scratch.filePath("system.txt"), groups) || !write(scratch.filePath("ko_system.txt"), brackets))
        return 1;
    QStringList faults = bw::planfilecheck::checkGroupOrderFile(scratch.filePath("system.txt"));
    faults += bw::planfilecheck::checkDoubleKoFile(scratch.filePath("ko_system.txt"));
    for (const QString& fault : faults)
        std::fprintf(stderr, "genplanfiles: %s\n", qPrintable(fault));
    if (!faults.isEmpty())
        return 1;

    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;
    return write(folder.filePath("system.txt"), groups) && write(folder.filePath("ko_system.txt"), brackets) ? 0 : 1;
}
