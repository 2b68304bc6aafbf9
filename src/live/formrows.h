// Helpers of the live link dialog's rows made at run time: a row's controls
// are named by a prefix and the row number and found again by name; their
// "Tag" property holds the number a row stands for.
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>

namespace bw::formrows {

inline constexpr const char* kTag = "Tag";

inline QString rowName(const char* prefix, int row)
{
    return QLatin1String(prefix) + QString::number(row);
}

// A label that shows its text as it is, never as markup.
inline QLabel* plainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

inline QFont boldFont(QFont font)
{
    font.setBold(true);
    return font;
}

} // namespace bw::formrows
