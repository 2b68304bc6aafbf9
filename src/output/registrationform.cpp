#include "output/registrationform.h"

#include "platform/germantext.h"

#include <algorithm>
#include <cmath>

namespace bw::regform {

int nameColumnWidth(int classCount)
{
    // In tenths of a centimetre: (250 - 8 m) / 30, rounded; never exactly a half.
    const int tenths = 250 - 8 * classCount;
    return tenths >= 0 ? (tenths + 15) / 30 : -((-tenths + 15) / 30);
}

double centimetersToPoints(double cm)
{
    return cm * 72.0 / 2.54;
}

float pagePoints(float cm)
{
    return std::nearbyint(cm * 10.0f / 0.35f);
}

int centimetersToTwips(double cm)
{
    return int(std::lround(centimetersToPoints(cm) * 20.0));
}

QString surnameField(int row)
{
    return QStringLiteral("nname%1").arg(row);
}

QString firstNameField(int row)
{
    return QStringLiteral("vname%1").arg(row);
}

QString playingClassField(int row)
{
    return QStringLiteral("sklasse%1").arg(row);
}

QString classBoxField(int row, int column)
{
    return QStringLiteral("klasse%1_%2").arg(row).arg(column);
}

QList<ClassEntry> classColumns(QList<ClassEntry> classes)
{
    const QCollator collator = german::collator();
    std::stable_sort(classes.begin(), classes.end(), [&](const ClassEntry& a, const ClassEntry& b) {
        if (const int c = collator.compare(a.name, b.name))
            return c < 0;
        if (a.kind != b.kind)
            return a.kind < b.kind;
        return a.kid < b.kid;
    });
    return classes;
}

QString classTitle(const ClassEntry& entry)
{
    return classCaption(entry.name, entry.kind);
}

} // namespace bw::regform
