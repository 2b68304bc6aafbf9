#include "output/importsources.h"

#include "platform/germantext.h"

namespace bw {

const QStringList& sheetFieldLabels()
{
    static const QStringList labels{QStringLiteral("Nachname"),      QStringLiteral("Vorname"),
                                    QStringLiteral("Verein"),        QStringLiteral("Geburtstag"),
                                    QStringLiteral("Land"),          QStringLiteral("Landesverband"),
                                    QStringLiteral("Bundesverband"), QStringLiteral("Kreisverband")};
    return labels;
}

QString checkSheetMapping(const TextTable& table, const QStringList& order)
{
    if (!order.contains(QStringLiteral("Nachname")) || !order.contains(QStringLiteral("Vorname"))
        || table.columnCount() < 2)
        return kNamesNotMapped;
    if (order.size() > table.columnCount())
        return kTooManyColumns;
    return QString();
}

QList<ImportItem> sheetItems(const TextTable& table, const QStringList& order)
{
    QList<ImportItem> items;
    for (const QStringList& row : table.rows) {
        auto field = [&](const char* label) {
            const qsizetype column = order.indexOf(QLatin1String(label));
            return column >= 0 && column < row.size() ? row[column].trimmed() : QString();
        };
        ImportItem item;
        item.id = kSheetItemId;
        item.nachname = field("Nachname");
        item.vorname = field("Vorname");
        item.verein = order.contains(QStringLiteral("Verein")) ? field("Verein") : QStringLiteral("ohne Verein");
        if (const std::optional<QDate> geb = german::parseDate(field("Geburtstag")))
            item.geb = german::formatDate(*geb);
        item.land = field("Land");
        item.lverband = field("Landesverband");
        item.bverband = field("Bundesverband");
        item.kverband = field("Kreisverband");
        if (!item.nachname.isEmpty() && !item.vorname.isEmpty())
            items.append(item);
    }
    return items;
}

FormImport formImport(const ReturnedForm& form)
{
    FormImport result;
    result.verein = form.verein;
    for (const ReturnedPlayer& player : form.players) {
        ImportItem item;
        item.id = kFormItemId;
        item.nachname = player.nachname;
        item.vorname = player.vorname;
        item.spielklasse = player.spielklasse;
        item.verein = form.verein;
        item.mann = true;
        for (int k : player.classColumns) {
            const int kid = form.classIds.value(k - 1);
            item.classIds.append(kid);
            result.staging.append({player.nachname, player.vorname, kid, form.verein, player.spielklasse});
        }
        result.items.append(item);
    }
    return result;
}

} // namespace bw
