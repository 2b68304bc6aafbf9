// LibreOffice as the real reader of the registration form: it renders the form
// (pdftotext reads the page) and saves it again as .docx, empty and filled in,
// and our reader finds every field of what it saved.
#include "formsamples.h"
#include "office.h"

#include "output/ooxmlpackage.h"
#include "output/registrationformreader.h"
#include "output/registrationformwriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using namespace bw;

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("(%1 failed: %2)").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList expectedFieldNames(int classes)
{
    QStringList names{QStringLiteral("verein"), QStringLiteral("ansprechpartner"), QStringLiteral("telefon")};
    for (int n = 1; n <= 17; ++n) {
        names << regform::surnameField(n) << regform::firstNameField(n);
        for (int k = 1; k <= classes; ++k)
            names << regform::classBoxField(n, k);
        names << regform::playingClassField(n);
    }
    return names << QStringLiteral("anzahl");
}

} // namespace

class TestRegistrationFormOffice : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pdfShowsTheForm();
    void savedAgainEveryFieldFound();
    void filledAndSavedAgainReadsTheSame();

private:
    // Saves the form into the temporary folder and starts LibreOffice on it in a
    // thread of its own; the future gives the converted file, empty on failure.
    std::future<QString> convert(const QByteArray& docx, const QString& name, const QString& filter,
                                 const QString& extension);
    QTemporaryDir m_dir;
    const regform::Content m_ten = test::sampleContent(10);
    // The three conversions run at once, each soffice with its own profile.
    std::future<QString> m_pdf;
    std::future<QString> m_empty;
    std::future<QString> m_filled;
};

void TestRegistrationFormOffice::initTestCase()
{
    if (test::sofficeProgram().isEmpty()) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("LibreOffice (libreoffice-writer-nogui) is required under CI");
        QSKIP("LibreOffice is not installed");
    }
    QVERIFY(m_dir.isValid());
    const QString docx = QStringLiteral("docx:MS Word 2007 XML");
    m_pdf = convert(RegistrationFormWriter(m_ten).document(), QStringLiteral("ten"), QStringLiteral("pdf"),
                    QStringLiteral("pdf"));
    m_empty = convert(RegistrationFormWriter(m_ten).document(), QStringLiteral("empty"), docx, QStringLiteral("docx"));
    m_filled = convert(test::fillLikeWord(RegistrationFormWriter(test::sampleContent(3)).document(),
                                          test::sampleFilling()),
                       QStringLiteral("filled"), docx, QStringLiteral("docx"));
}

std::future<QString> TestRegistrationFormOffice::convert(const QByteArray& docx, const QString& name,
                                                         const QString& filter, const QString& extension)
{
    const QString input = m_dir.filePath(name + QStringLiteral(".docx"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(docx) != docx.size())
        qFatal("cannot write %s", qPrintable(input));
    file.close();
    const QString outDir = m_dir.filePath(name + QLatin1Char('-') + extension);
    QDir().mkpath(outDir);
    return std::async(std::launch::async, [=] {
        QString error;
        const QString output = test::convertWithOffice(input, filter, extension, outDir, &error);
        if (output.isEmpty())
            qWarning("%s", qPrintable(error));
        return output;
    });
}

void TestRegistrationFormOffice::pdfShowsTheForm()
{
    const regform::Content& content = m_ten;
    const QString pdf = m_pdf.get();
    QVERIFY(!pdf.isEmpty());
    const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QStringList expected{QStringLiteral("Meldeformular"), content.turniername, content.zusatz,
                         QStringLiteral("Spieler / Spielerinnen"), QStringLiteral("(laut Mannschaftsaufstellung)")};
    for (const ClassEntry& entry : content.classes)
        expected << regform::classTitle(entry);
    for (const QString& line : expected)
        QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + text));
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size: +841\\.[0-9]+ x 595\\.[0-9]+ pts \\(A4\\)"))),
             qPrintable(info));
}

void TestRegistrationFormOffice::savedAgainEveryFieldFound()
{
    const QString saved = m_empty.get();
    QVERIFY(!saved.isEmpty());
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray docx = file.readAll();
    const OoxmlPackageReader package(docx);
    QStringList names;
    for (const FormField& field : RegistrationFormReader::formFields(package.part(QStringLiteral("word/document.xml"))))
        names << field.name;
    QCOMPARE(names, expectedFieldNames(10));
    const ReturnedForm form = RegistrationFormReader::read(docx);
    QList<int> keys;
    for (const ClassEntry& entry : m_ten.classes)
        keys << entry.kid;
    QCOMPARE(form.classIds, keys);
    QVERIFY(form.players.isEmpty());
}

void TestRegistrationFormOffice::filledAndSavedAgainReadsTheSame()
{
    const QString saved = m_filled.get();
    QVERIFY(!saved.isEmpty());
    QCOMPARE(RegistrationFormReader::readFile(saved), test::sampleFillingRead());
}

QTEST_GUILESS_MAIN(TestRegistrationFormOffice)
#include "test_registrationform_office.moc"
