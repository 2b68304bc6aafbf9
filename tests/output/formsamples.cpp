#include "formsamples.h"

#include "output/ooxmlpackage.h"

namespace bw::test {

regform::Content sampleContent(int classCount)
{
    static const char* const names[] = {"Herren A", "Damen", "Jugend U18", "Schüler U15", "Ältere Herren",
                                        "Mädchen U13", "Herren B", "Senioren 60", "Mixed offen", "Hobby"};
    QList<ClassEntry> classes;
    for (int i = 0; i < classCount; ++i) {
        ClassEntry entry;
        entry.kid = 100 - 3 * i; // falls while the names go their own way
        entry.name = QString::fromUtf8(names[i % 10]);
        if (i >= 10)
            entry.name += QStringLiteral(" %1").arg(i / 10 + 1);
        entry.kind = ClassKind(i % 4);
        classes << entry;
    }
    return contentWith(classes);
}

regform::Content contentWith(const QList<ClassEntry>& classes)
{
    regform::Content content;
    content.turniername = QStringLiteral("Stadtmeisterschaft Brackwell 2024");
    content.zusatz = QStringLiteral("Jugend & Erwachsene");
    content.classes = regform::classColumns(classes);
    return content;
}

Filling sampleFilling()
{
    Filling filling;
    filling.verein = QStringLiteral("\u00a0TTC Rabenweiß\u2002");
    filling.ansprechpartner = QStringLiteral("Eva Beispiel");
    filling.rows[1] = {QStringLiteral("Meier"), QStringLiteral("Anna"), QStringLiteral("Bezirksliga"), {1, 3}};
    filling.rows[2] = {QStringLiteral("Schmidt"), QString(), QString(), {2}};
    filling.rows[3] = {QString(), QStringLiteral("Paul"), QString(), {1}};
    filling.rows[9] = {QStringLiteral("O'Brien"), QStringLiteral("Seán"), QStringLiteral("Kreisliga <B> & mehr"), {2}};
    filling.rows[17] = {QStringLiteral("Zeller"), QStringLiteral("Zoë"), QString(), {3}};
    return filling;
}

ReturnedForm sampleFillingRead()
{
    ReturnedForm form;
    form.verein = QStringLiteral("TTC Rabenweiß");
    form.classIds = {97, 100, 94}; // Damen, Herren A, Jugend U18
    form.players = {{1, QStringLiteral("Meier"), QStringLiteral("Anna"), QStringLiteral("Bezirksliga"), {1, 3}},
                    {9, QStringLiteral("O'Brien"), QStringLiteral("Seán"), QStringLiteral("Kreisliga <B> & mehr"), {2}},
                    {17, QStringLiteral("Zeller"), QStringLiteral("Zoë"), QString(), {3}}};
    return form;
}

namespace {

// Our writer's XML is regular: the field's name comes first in its begin mark,
// then (text fields) the result run, or (check boxes) the default.
qsizetype fieldStart(const QString& xml, const QString& name)
{
    const qsizetype at = xml.indexOf(QStringLiteral("<w:name w:val=\"%1\"/>").arg(name));
    Q_ASSERT_X(at >= 0, "fillLikeWord", qPrintable(name));
    return at;
}

void fillText(QString& xml, const QString& name, const QString& value)
{
    if (value.isEmpty())
        return;
    const QString empty = QStringLiteral("<w:t xml:space=\"preserve\">") + QString(5, QChar(0x2002))
                          + QStringLiteral("</w:t></w:r>");
    const qsizetype at = xml.indexOf(empty, fieldStart(xml, name));
    // Word splits a typed result over runs; here in the middle.
    const qsizetype half = value.size() / 2;
    const QString runs = QStringLiteral("<w:t xml:space=\"preserve\">%1</w:t></w:r><w:r><w:rPr><w:noProof/></w:rPr>"
                                        "<w:t xml:space=\"preserve\">%2</w:t></w:r>")
                             .arg(value.left(half).toHtmlEscaped(), value.mid(half).toHtmlEscaped());
    xml.replace(at, empty.size(), runs);
}

void tick(QString& xml, const QString& name)
{
    const QString unticked = QStringLiteral("<w:default w:val=\"0\"/>");
    const qsizetype at = xml.indexOf(unticked, fieldStart(xml, name));
    xml.insert(at + unticked.size(), QStringLiteral("<w:checked/>"));
}

} // namespace

QByteArray fillLikeWord(const QByteArray& docx, const Filling& filling)
{
    const OoxmlPackageReader package(docx);
    QString xml = QString::fromUtf8(package.part(QStringLiteral("word/document.xml")));
    fillText(xml, regform::kClubField, filling.verein);
    fillText(xml, regform::kContactField, filling.ansprechpartner);
    for (auto it = filling.rows.begin(); it != filling.rows.end(); ++it) {
        const int n = it.key();
        fillText(xml, regform::surnameField(n), it->nachname);
        fillText(xml, regform::firstNameField(n), it->vorname);
        fillText(xml, regform::playingClassField(n), it->spielklasse);
        for (int k : it->ticked)
            tick(xml, regform::classBoxField(n, k));
    }
    if (!filling.entries.isEmpty()) {
        const qsizetype list = xml.indexOf(QStringLiteral("<w:ddList>"));
        const qsizetype listEnd = xml.indexOf(QStringLiteral("</w:ddList>"), list);
        QString entries = QStringLiteral("<w:ddList>");
        for (const QString& entry : filling.entries)
            entries += QStringLiteral("<w:listEntry w:val=\"%1\"/>").arg(entry.toHtmlEscaped());
        xml.replace(list, listEnd - list, entries);
    }
    return replacePart(docx, QStringLiteral("word/document.xml"), xml.toUtf8());
}

QByteArray replacePart(const QByteArray& docx, const QString& part, const QByteArray& content)
{
    const OoxmlPackageReader package(docx);
    OoxmlPackageWriter out;
    for (const QString& name : package.partNames())
        out.addPart(name, name == part ? content : package.part(name));
    return out.finish();
}

} // namespace bw::test
