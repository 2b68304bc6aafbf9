// Draws the first page of a sample registration form as LibreOffice shows it,
// for docs/registration-form.png (target docs-pictures): the form is written,
// converted to PDF by soffice and rendered by pdftoppm at 80 dpi.
#include "formsamples.h"
#include "office.h"

#include "docpictures/docpicture.h"
#include "output/registrationformwriter.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QImage drawForm()
{
    QTemporaryDir dir;
    const QString form = dir.filePath(QStringLiteral("Anmeldeformular.docx"));
    QString error;
    try {
        bw::RegistrationFormWriter(bw::test::sampleContent(8)).save(form);
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    const QString pdf =
        error.isEmpty() ? bw::test::convertWithOffice(form, QStringLiteral("pdf"), QStringLiteral("pdf"), dir.path(), &error)
                        : QString();
    if (pdf.isEmpty()) {
        QTextStream(stderr) << error << "\n";
        return {};
    }
    const QString stem = dir.filePath(QStringLiteral("page"));
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-f"),
                       QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
                       pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return bw::docs::writePicture(argc, argv, drawForm);
}
