// Renders the first page of a sample registration form as LibreOffice shows it:
// the form is written, converted to PDF by soffice and drawn by pdftoppm.
// Usage: registrationform_picture docs/registration-form.png
#include "formsamples.h"
#include "office.h"

#include "output/registrationformwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: registrationform_picture <out.png>\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const QString form = dir.filePath(QStringLiteral("Anmeldeformular.docx"));
    try {
        bw::RegistrationFormWriter(bw::test::sampleContent(8)).save(form);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    QString error;
    const QString pdf = bw::test::convertWithOffice(form, QStringLiteral("pdf"), QStringLiteral("pdf"), dir.path(), &error);
    if (pdf.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString stem = dir.filePath(QStringLiteral("page"));
    if (QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                                       QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                       QStringLiteral("1"), QStringLiteral("-singlefile"), pdf, stem})
        != 0) {
        std::fprintf(stderr, "pdftoppm failed\n");
        return 1;
    }
    QFile::remove(target);
    if (!QFile::copy(stem + QStringLiteral(".png"), target)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return 1;
    }
    return 0;
}
